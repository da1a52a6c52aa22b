#include "qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace app {

QStringList ItalianQtCatalogues() {
  // qt_help: the texts of the help window's contents and search.
  return {QStringLiteral("qtbase"), QStringLiteral("qt_help")};
}

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

QStringList InstallItalianQtTexts() { return InstallItalianQtTexts(QtTranslationsFolder()); }

QStringList InstallItalianQtTexts(const QString& translationsFolder) {
  QCoreApplication* const application = QCoreApplication::instance();
  if (application == nullptr) return {};
  const QLocale italian(QLocale::Italian, QLocale::Italy);
  QStringList installed;
  for (const QString& catalogue : ItalianQtCatalogues()) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(italian, catalogue, QStringLiteral("_"), translationsFolder)) continue;
    if (!QCoreApplication::installTranslator(translator.get())) continue;
    installed << translator->filePath();
    translator.release()->setParent(application);  // lives as long as the application
  }
  return installed;
}

}  // namespace app
