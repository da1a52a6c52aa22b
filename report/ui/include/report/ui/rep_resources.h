#pragma once

// The one table of user-interface texts of the report subsystem, shared by
// the preview window, the find dialog, the print dialog and page settings.
//
// The table is a list of key=value lines. Keys are numbers (100 is
// "Preview") or mnemonics (clPageOf is "Page %d of %d"). A value that begins
// with "!" is shown without it, so that a value may itself start with a
// character the table would otherwise take for something else (a blank, an
// "=", a "!"). A key the table does not hold yields the key itself: a missing
// text shows up on screen as its key instead of as an empty control.

#include <QHash>
#include <QString>
#include <QStringView>

namespace report {

class RepResources {
 public:
  // The subsystem's built-in table.
  static const RepResources& Instance();

  // A table made from key=value lines; blank lines and lines without "=" are
  // skipped; the last of several lines with one key wins.
  explicit RepResources(QStringView lines);

  QString Get(const QString& key) const;
  QString Get(int key) const;

  // Get(key) on the built-in table.
  static QString Text(int key) { return Instance().Get(key); }
  static QString Text(const char* key) { return Instance().Get(QString::fromLatin1(key)); }

  qsizetype Count() const { return m_values.size(); }

 private:
  QHash<QString, QString> m_values;  // values as written, "!" still on
};

}  // namespace report
