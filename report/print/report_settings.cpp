#include "report/print/report_settings.h"

#include <QSettings>
#include <QStringList>

namespace report {

std::unique_ptr<QSettings> OpenReportSettings(const QString& iniFile) {
  QStringList parts = QString(iniFile).replace(QLatin1Char('/'), QLatin1Char('\\')).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\") + parts.join(QLatin1Char('\\')),
                                     QSettings::NativeFormat);
#else
  if (!parts.isEmpty() && parts.front().compare(QStringLiteral("Software"), Qt::CaseInsensitive) == 0) {
    parts.removeFirst();
  }
  if (parts.isEmpty()) parts.append(QStringLiteral("Versanto Reports"));
  const QString organisation = parts.takeFirst();
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                     parts.join(QLatin1Char('/')));
#endif
}

SizeUnits ReadSizeUnits(const QString& iniFile) {
  const std::unique_ptr<QSettings> settings = OpenReportSettings(iniFile);
  bool ok = false;
  const int units = settings->value(QStringLiteral("Form.TRepDesignerForm/Units")).toInt(&ok);
  return ok && units == 1 ? SizeUnits::kInches : SizeUnits::kCentimetres;
}

}  // namespace report
