#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace report {

// The report's settings key, a registry path such as "\Software\Versanto
// Reports" (the report's IniFile), as QSettings in its native format. On
// Windows that is the very key under the current user; elsewhere the leading
// "Software" goes, as Qt does for organisation names, so the example lives
// in ~/.config/Versanto Reports.conf.
std::unique_ptr<QSettings> OpenReportSettings(const QString& iniFile);

inline const QString kDefaultIniFile = QStringLiteral("\\Software\\Versanto Reports");

// The unit of the page settings dialog: "Units" in the section
// "Form.TRepDesignerForm"; 1 means inches, anything else centimetres.
enum class SizeUnits { kCentimetres, kInches };
SizeUnits ReadSizeUnits(const QString& iniFile);

}  // namespace report
