#pragma once

#include <QApplication>
#include <QString>

namespace app {

inline constexpr char kApplicationTitle[] = "Versanto8.0";
// The name of the program's desktop entry (it.calvenor.Versanto.desktop) and
// its AppStream id; window systems match the windows to the entry by it.
inline constexpr char kDesktopEntryId[] = "it.calvenor.Versanto";

// The application title (captions of the program's message boxes) and the
// help file in use. Process-wide, so that windows made without the
// Application object (tests, tools) see the same values.
QString Title();
QString HelpFile();

// The application object: holds the title and help path, and is the one
// place where an error that no command caught ends up: it is shown in the
// standard error box and the program goes on.
class Application : public QApplication {
  Q_OBJECT

 public:
  Application(int& argc, char** argv);

  QString Title() const { return app::Title(); }
  void SetTitle(const QString& title);
  QString HelpFile() const { return app::HelpFile(); }
  void SetHelpFile(const QString& path);

  bool notify(QObject* receiver, QEvent* event) override;
};

// The standard error box: the error's text, OK, the application title.
void ShowStandardError(const QString& text);

// Also reachable without an Application object (tests and tools).
void SetHelpFile(const QString& path);

}  // namespace app
