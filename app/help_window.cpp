#include "help_window.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpLink>
#include <QSplitter>
#include <QTextBrowser>

#include <memory>

#include "application.h"
#include "help_context.h"
#include "prompter.h"

namespace app {

namespace {

constexpr int kWidth = 820;          // pixels
constexpr int kHeight = 600;         // pixels
constexpr int kContentsWidth = 230;  // pixels
const QString kContentsPage = QStringLiteral("index.html");

QString ContextId(int context) { return QStringLiteral("context-%1").arg(context); }

}  // namespace

// A text browser that reads the pages from the help engine and leaves the
// web to the desktop's browser.
class HelpBrowser : public QTextBrowser {
 public:
  HelpBrowser(QHelpEngine& engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine) {}

  QVariant loadResource(int type, const QUrl& name) override {
    if (name.scheme() == QLatin1String("qthelp")) return m_engine.fileData(name);
    return QTextBrowser::loadResource(type, name);
  }

 protected:
  void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
    if (name.scheme() == QLatin1String("qthelp") || name.isRelative()) {
      QTextBrowser::doSetSource(name, type);
      return;
    }
    QDesktopServices::openUrl(name);
  }

 private:
  QHelpEngine& m_engine;
};

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(Title() + QStringLiteral(" - Guida"));
  resize(kWidth, kHeight);

  // The splitter is made before the engine so that, being destroyed first,
  // it takes the views away while the engine they show is still there.
  m_splitter = new QSplitter(this);
  m_engine = new QHelpEngine(m_collectionFolder.filePath(QStringLiteral("guida.qhc")), this);
  m_engine->setReadOnly(false);
  m_engine->setUsesFilterEngine(true);
  m_engine->setupData();

  QHelpContentWidget* contents = m_engine->contentWidget();
  contents->setObjectName(QStringLiteral("HelpContents"));
  m_splitter->addWidget(contents);
  m_browser = new HelpBrowser(*m_engine, m_splitter);
  m_browser->setObjectName(QStringLiteral("HelpPage"));
  m_splitter->addWidget(m_browser);
  m_splitter->setSizes({kContentsWidth, kWidth - kContentsWidth});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_splitter);

  connect(contents, &QHelpContentWidget::linkActivated, this, &HelpWindow::ShowPage);
  connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, contents,
          [contents] { contents->expandToDepth(0); });
  connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
    setWindowTitle(Title() + QStringLiteral(" - Guida: ") + PageTitle());
  });
}

HelpWindow::~HelpWindow() = default;

QUrl HelpWindow::Source() const { return m_browser->source(); }

QString HelpWindow::PageTitle() const { return m_browser->documentTitle(); }

// The engine keeps one help file registered: the one asked for last.
bool HelpWindow::UseHelpFile(const QString& helpFile) {
  const QString file = helpFile.isEmpty() ? HelpFile() : helpFile;
  if (!QFileInfo(file).isFile()) {
    Prompts().Message(QStringLiteral("Guida non disponibile: il file \"%1\" non esiste.").arg(file));
    return false;
  }
  if (file == m_helpFile) return true;

  if (!m_namespace.isEmpty()) m_engine->unregisterDocumentation(m_namespace);
  m_helpFile.clear();
  m_namespace.clear();
  const QString name = QHelpEngineCore::namespaceName(file);
  if (name.isEmpty() || !m_engine->registerDocumentation(file)) {
    Prompts().Message(QStringLiteral("Guida non disponibile: il file \"%1\" non è una guida leggibile.")
                          .arg(file));
    return false;
  }
  m_helpFile = file;
  m_namespace = name;
  m_engine->contentModel()->createContents(QString());
  return true;
}

bool HelpWindow::ShowContext(int context, const QString& helpFile) {
  if (!UseHelpFile(helpFile)) return false;
  const QList<QHelpLink> pages = m_engine->documentsForIdentifier(ContextId(context));
  if (pages.isEmpty()) {
    Prompts().Message(
        QStringLiteral("La guida non contiene l'argomento richiesto (contesto %1).").arg(context));
    return false;
  }
  ShowPage(pages.first().url);
  return true;
}

bool HelpWindow::ShowContents(const QString& helpFile) {
  if (!UseHelpFile(helpFile)) return false;
  for (const QUrl& page : m_engine->files(m_namespace, QString(), QStringLiteral("html"))) {
    if (page.fileName() == kContentsPage) {
      ShowPage(page);
      return true;
    }
  }
  Prompts().Message(QStringLiteral("La guida non contiene il sommario."));
  return false;
}

void HelpWindow::ShowPage(const QUrl& page) {
  m_browser->setSource(page);
  show();
  raise();
  activateWindow();
}

namespace {
std::unique_ptr<HelpWindow> g_help;
}  // namespace

HelpWindow& Help() {
  if (!g_help) {
    g_help = std::make_unique<HelpWindow>();
    // Widgets must go before the application object does.
    qAddPostRoutine([] { g_help.reset(); });
  }
  return *g_help;
}

int HelpContextFor(const QObject* object) {
  for (const QObject* o = object; o != nullptr; o = o->parent()) {
    if (const int context = HelpContextOf(o); context != 0) return context;
    if (const auto* widget = qobject_cast<const QWidget*>(o); widget != nullptr && widget->isWindow()) {
      break;
    }
  }
  return 0;
}

}  // namespace app
