#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QSplitter;

namespace app {

class HelpBrowser;

// The program's help window: the table of contents of a compiled help file
// (.qch, made by qhelpgenerator) on the left, the page on the right. A help
// context is a number carried by a window, control or menu entry
// (kHelpContextProperty); the help file names its page with a keyword whose
// id is "context-<number>".
//
// Every request tells the user, with a plain message, when the help file is
// missing or unreadable or has no page for the context, and then leaves the
// window as it was; nothing is thrown.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  ~HelpWindow() override;

  // Shows the page of `context` from `helpFile` (by default the help file in
  // use, app::HelpFile()) and brings the window to the front. False when it
  // could not, after the user has been told why.
  bool ShowContext(int context, const QString& helpFile = QString());
  // Shows the contents page (index.html) of `helpFile`.
  bool ShowContents(const QString& helpFile = QString());

  // The page shown; empty before the first page.
  QUrl Source() const;
  // The title of the page shown.
  QString PageTitle() const;

 private:
  bool UseHelpFile(const QString& helpFile);
  void ShowPage(const QUrl& page);

  QTemporaryDir m_collectionFolder;  // the engine's collection, private to this window
  QHelpEngine* m_engine = nullptr;
  HelpBrowser* m_browser = nullptr;
  QSplitter* m_splitter = nullptr;
  QString m_helpFile;   // registered with the engine
  QString m_namespace;  // of m_helpFile
};

// The program's one help window, made on first use; it lives until the
// application object ends. Other windows (dialogs with help files of their
// own too) show their help through it.
HelpWindow& Help();

// The help context of `object`: its own, else that of the nearest parent
// widget with one, up to its window; 0 when none has one.
int HelpContextFor(const QObject* object);

}  // namespace app
