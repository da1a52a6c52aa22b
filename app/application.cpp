#include "application.h"

#include <exception>

#include "prompter.h"

namespace app {

namespace {

struct State {
  QString title = QString::fromLatin1(kApplicationTitle);
  QString helpFile;
};

State& Shared() {
  static State state;
  return state;
}

}  // namespace

QString Title() { return Shared().title; }
QString HelpFile() { return Shared().helpFile; }
void SetHelpFile(const QString& path) { Shared().helpFile = path; }

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // These two name the per-user folders (data, settings); the title is ours.
  setOrganizationName(QStringLiteral("Calvenor"));
  setApplicationName(QStringLiteral("Versanto"));
  setDesktopFileName(QString::fromLatin1(kDesktopEntryId));
}

void Application::SetTitle(const QString& title) { Shared().title = title; }

void Application::SetHelpFile(const QString& path) { app::SetHelpFile(path); }

void ShowStandardError(const QString& text) { Prompts().Error(text); }

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowStandardError(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowStandardError(QStringLiteral("Errore imprevisto."));
  }
  return false;
}

}  // namespace app
