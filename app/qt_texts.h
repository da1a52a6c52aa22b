#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Qt's own texts (standard buttons such as "Annulla", the file and colour
// dialogs, the context menu of an edit box) in Italian for the whole
// process, from the distribution's Qt translations: the program speaks
// Italian whatever language the desktop is set to.
//
// Install them once, before the first window is made: a catalogue installed
// later makes Qt retranslate every window already open.
//
// Windows that stay English (the report preview and its print dialogs) do
// not rely on Qt's default texts: they give each of their buttons an
// explicit English text (for example button(QDialogButtonBox::Cancel)
// ->setText("Cancel")), which this translation never changes.
//
// Returns the catalogue files installed; when there are none (translations
// not installed) Qt's texts simply stay English.
QStringList InstallItalianQtTexts();
QStringList InstallItalianQtTexts(const QString& translationsFolder);

// The catalogues installed, by base name ("qtbase", "qt_help").
QStringList ItalianQtCatalogues();

// Where the distribution keeps Qt's translations (/usr/share/qt6/translations
// on Debian).
QString QtTranslationsFolder();

}  // namespace app
