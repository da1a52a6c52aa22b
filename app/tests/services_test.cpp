#include <QAbstractItemModel>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeView>

#include <filesystem>

#include "application.h"
#include "help_context.h"
#include "help_window.h"
#include "picture_box.h"
#include "program_folder.h"
#include "window_fixture.h"
#include "window_image.h"

// Receives the documents the program hands to the desktop.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened << url; }
};

namespace app {
namespace {

using testing::WhenModal;
using testing::WindowTest;
using testing::Kind;

const QString kHelpReminder = QStringLiteral("message: Accedi alla GUIDA dal Menu Programmi");

QString InstalledHelpFile() { return BesideProgram(QStringLiteral("versanto713.qch")); }

class ServicesTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    SetHelpFile(InstalledHelpFile());
    Help().hide();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
  }
  void TearDown() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    Help().hide();
    SetHelpFile(InstalledHelpFile());
  }

  QString HelpPage() const { return Help().isVisible() ? Help().Source().fileName() : QStringLiteral("<closed>"); }

  // Keeps the mouse off the tool bar, where F1 would ask about the button under it.
  void MouseToPictureArea() { QTest::mouseMove(form->PictureArea(), QPoint(20, 20)); }

  // The help window, opened by the last request, has come to the front.
  void BackToTheMainWindow() {
    Help().hide();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  UrlCatcher catcher;
};

TEST_F(ServicesTest, EveryAuxiliaryCommandOpensWhatItShouldFromEveryPlace) {
  Make();
  enum class Opens { AboutBox, ExamplePrices, HelpContents, DonationPage, MusicDialog };
  const struct {
    const char* place;
    Kind kind;
    Opens opens;
  } rows[] = {
      {"About1", Kind::MenuEntry, Opens::AboutBox},
      {"AboutTool", Kind::ToolButton, Opens::AboutBox},
      {"SearchforHelpOn1", Kind::MenuEntry, Opens::ExamplePrices},
      {"PrezziTool", Kind::ToolButton, Opens::ExamplePrices},
      {"BitH", Kind::Button, Opens::HelpContents},
      {"Sommario1", Kind::MenuEntry, Opens::HelpContents},
      {"HelpTool", Kind::ToolButton, Opens::HelpContents},
      {"BitDonate", Kind::Button, Opens::DonationPage},
      {"BitBtn5", Kind::Button, Opens::MusicDialog},
      {"CaricaFileMusicale1", Kind::MenuEntry, Opens::MusicDialog},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.place);
    prompter.log.clear();
    catcher.opened.clear();
    Help().hide();
    QWidget* shown = nullptr;
    QString modalTitle;
    QStringList filters;
    QString initialName;
    bool modal = false;
    const WhenModal watch([&](QWidget* window) {
      shown = window;
      modalTitle = window->windowTitle();
      modal = window->isModal();
      if (auto* dialog = qobject_cast<QFileDialog*>(window)) {
        filters = dialog->nameFilters();
        initialName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
      }
      window->close();
    });
    Activate(row.place, row.kind);

    switch (row.opens) {
      case Opens::AboutBox:
        EXPECT_EQ(shown, about.get());
        EXPECT_TRUE(modal);
        EXPECT_EQ(modalTitle, QStringLiteral("About"));
        break;
      case Opens::ExamplePrices:
        EXPECT_EQ(shown, prices.get());
        EXPECT_TRUE(modal);
        EXPECT_EQ(modalTitle, QStringLiteral("Esempi Prezzi"));
        break;
      case Opens::HelpContents:
        EXPECT_EQ(shown, nullptr);
        EXPECT_EQ(HelpPage(), QStringLiteral("index.html"));
        EXPECT_EQ(prompter.log, QStringList{kHelpReminder});
        break;
      case Opens::DonationPage: {
        const QString page = QDir(ProgramFolder()).filePath(QStringLiteral("donate.htm"));
        EXPECT_EQ(catcher.opened, QList<QUrl>{QUrl::fromLocalFile(page)});
        EXPECT_TRUE(QFile::exists(page));
        break;
      }
      case Opens::MusicDialog:
        ASSERT_NE(qobject_cast<QFileDialog*>(shown), nullptr);
        EXPECT_TRUE(modal);
        EXPECT_EQ(filters, (QStringList{QStringLiteral("files Musicali (*.mid *.mp3)"),
                                        QStringLiteral("files MP3 (*.mp3)"),
                                        QStringLiteral("files MIDI (*.mid)"),
                                        QStringLiteral("Tutti i files (*)")}));
        EXPECT_EQ(initialName, QStringLiteral("prova.MID"));
        EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
        break;
    }
    if (row.opens != Opens::HelpContents) {
      EXPECT_FALSE(Help().isVisible());
    }
    EXPECT_FALSE(about->isVisible());
    EXPECT_FALSE(prices->isVisible());
  }
}

TEST_F(ServicesTest, AboutBoxAndExamplePricesLookAsLaidOut) {
  Make();
  EXPECT_EQ(FormaboutWindow(), about.get());
  EXPECT_EQ(PrezziWindow(), prices.get());

  const QString shots = qEnvironmentVariable("VERSANTO_BINARY_DIR");
  {  // the about box
    const WhenModal watchAbout([&](QWidget* window) {
      EXPECT_EQ(window->size(), QSize(250, 233));
      EXPECT_EQ(HelpContextOf(window), 120);
      EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::red));
      const auto* panel = window->findChild<QWidget*>(QStringLiteral("Panel1"));
      EXPECT_EQ(panel->geometry(), QRect(20, 20, 215, 182));
      EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(0xC0, 0xDC, 0xC0));
      const struct {
        const char* name;
        QRect rect;  // pixels, inside the panel
      } parts[] = {{"ProductName", {7, 18, 202, 24}},
                   {"ProgramIcon", {59, 35, 104, 50}},
                   {"ProgrammerPicture", {49, 121, 49, 49}},
                   {"Button1", {121, 124, 41, 39}}};
      for (const auto& part : parts) {
        EXPECT_EQ(window->findChild<QWidget*>(QString::fromLatin1(part.name))->geometry(), part.rect)
            << part.name;
      }
      EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("Copyright"))->pos(), QPoint(51, 101));
      for (const PictureBox* picture : window->findChildren<PictureBox*>()) EXPECT_TRUE(picture->IsValid());
      WindowImage(*window).save(shots + QStringLiteral("/formabout.png"));
      QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    Find<QAction>("About1")->trigger();
    EXPECT_FALSE(about->isVisible());
  }

  int result = -1;
  const WhenModal watchPrices([&](QWidget* window) {
    EXPECT_EQ(window->size(), QSize(658, 611));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());  // a fixed dialog frame
    EXPECT_EQ(HelpContextOf(window), 50);
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("Image1"))->geometry(), QRect(32, 40, 594, 504));
    auto* ok = window->findChild<QPushButton*>(QStringLiteral("Button1"));
    EXPECT_EQ(ok->geometry(), QRect(294, 569, 75, 25));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(window->findChild<PictureBox*>(QStringLiteral("Image1"))->IsValid());
    const QPoint middle = window->frameGeometry().center();
    EXPECT_LE((middle - window->screen()->availableGeometry().center()).manhattanLength(), 2);
    WindowImage(*window).save(shots + QStringLiteral("/prezzi.png"));
    QTest::keyClick(window, Qt::Key_Return);  // the default button
  });
  QObject::connect(prices.get(), &QDialog::finished, [&](int r) { result = r; });
  Find<QAction>("SearchforHelpOn1")->trigger();
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(ServicesTest, EveryHelpContextOpensItsPage) {
  const struct {
    int context;
    const char* page;
    const char* title;
  } rows[] = {
      {0, "index.html", "Sommario"},
      {30, "dati.html", "Dati di ricarica e calcolo"},
      {40, "stampa.html", "Stampe: liste dei dati e schermata"},
      {50, "finestre.html", "Le finestre About ed Esempi Prezzi"},
      {60, "musica.html", "Il lettore musicale"},
      {70, "navigatore.html", "Il navigatore dei dati"},
      {80, "griglia.html", "La griglia e la scelta della tabella"},
      {90, "aiuto.html", "Come usare la guida"},
      {120, "finestre.html", "Le finestre About ed Esempi Prezzi"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.context);
    Help().hide();
    EXPECT_TRUE(Help().ShowContext(row.context));
    EXPECT_EQ(HelpPage(), QString::fromLatin1(row.page));
    EXPECT_EQ(Help().PageTitle(), QString::fromUtf8(row.title));
    EXPECT_GT(Help().findChild<QTextBrowser*>()->toPlainText().size(), 300);
  }
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
  WindowImage(Help()).save(qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/help_window.png"));

  // And a context the help does not know is said so, not shown as something else.
  Help().hide();
  EXPECT_FALSE(Help().ShowContext(777));
  EXPECT_FALSE(Help().isVisible());
  ASSERT_EQ(prompter.log.size(), 1);
  EXPECT_TRUE(prompter.log.first().contains(QStringLiteral("777")));
}

TEST_F(ServicesTest, EveryContextTheWindowsCarryHasAPage) {
  Make();
  QList<const QObject*> carriers;
  for (const QObject* root : {static_cast<QObject*>(form.get()), static_cast<QObject*>(about.get()),
                              static_cast<QObject*>(prices.get())}) {
    carriers << root;
    for (const QObject* child : root->findChildren<QObject*>()) carriers << child;
  }
  int withContext = 0;
  for (const QObject* carrier : carriers) {
    if (!carrier->property(kHelpContextProperty).isValid()) continue;
    ++withContext;
    EXPECT_TRUE(Help().ShowContext(HelpContextOf(carrier))) << carrier->objectName().toStdString();
  }
  EXPECT_GT(withContext, 30);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ServicesTest, F1OnAControlOpensItsPageOrThatOfItsWindow) {
  Make();
  const struct {
    const char* control;
    const char* page;
  } rows[] = {
      {"copalle", "dati.html"},      {"Massima", "dati.html"},       {"BitCalcola", "dati.html"},
      {"BitSalva", "dati.html"},     {"BitBtn4", "stampa.html"},     {"BitstpDati", "stampa.html"},
      {"BitBtn5", "musica.html"},    {"DBNavigator1", "navigatore.html"},
      {"DBGrid1", "griglia.html"},   {"BitH", "aiuto.html"},
      {"BitDonate", "index.html"},   // no context of its own: the window's
      {"Editlibbre1", "index.html"}, {"RBtabella2", "index.html"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.control);
    BackToTheMainWindow();
    MouseToPictureArea();
    auto* control = Find<QWidget>(row.control);
    control->setFocus(Qt::OtherFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), control);
    QTest::keyClick(control, Qt::Key_F1);
    EXPECT_EQ(HelpPage(), QString::fromLatin1(row.page));
  }

  // A button of the navigator has no context of its own: the navigator's.
  BackToTheMainWindow();
  QAbstractButton* navigatorButton = nullptr;
  for (QAbstractButton* b : Find<QWidget>("DBNavigator1")->findChildren<QAbstractButton*>()) {
    if (b->isVisible() && b->isEnabled()) navigatorButton = b;
  }
  ASSERT_NE(navigatorButton, nullptr);
  EXPECT_EQ(HelpContextOf(navigatorButton), 0);
  navigatorButton->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(navigatorButton, Qt::Key_F1);
  EXPECT_EQ(HelpPage(), QStringLiteral("navigatore.html"));
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ServicesTest, F1OnAMenuEntryOrAToolButtonOpensItsPage) {
  Make();
  const struct {
    const char* menu;
    const char* entry;
    const char* page;
  } entries[] = {
      {"File1", "CaricaFileMusicale1", "navigatore.html"},
      {"File1", "Esci1", "index.html"},  // no context: the window's
      {"Stampa1", "ListaDatiPistola1", "griglia.html"},
      {"Stampa1", "Schermata1", "griglia.html"},
      {"Aiuto1", "Sommario1", "aiuto.html"},
      {"Aiuto1", "SearchforHelpOn1", "finestre.html"},
      {"Aiuto1", "About1", "finestre.html"},
  };
  for (const auto& row : entries) {
    SCOPED_TRACE(row.entry);
    BackToTheMainWindow();
    auto* menu = Find<QMenu>(row.menu);
    menu->popup(form->mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(Find<QAction>(row.entry));
    QTest::keyClick(menu, Qt::Key_F1);
    EXPECT_EQ(HelpPage(), QString::fromLatin1(row.page));
    EXPECT_FALSE(menu->isVisible());
  }

  const struct {
    const char* action;
    const char* page;
  } tools[] = {
      {"DataTool", "griglia.html"}, {"PrintSCRTool", "griglia.html"}, {"HelpTool", "aiuto.html"},
      {"PrezziTool", "index.html"},  // no context: the window's
      {"AboutTool", "finestre.html"}, {"StopTool", "navigatore.html"},
  };
  for (const auto& row : tools) {
    SCOPED_TRACE(row.action);
    BackToTheMainWindow();
    auto* box = Find<QWidget>("copalle");
    box->setFocus(Qt::OtherFocusReason);
    QWidget* button = ToolButton(row.action);
    QTest::mouseMove(button);
    ASSERT_TRUE(button->underMouse());
    QTest::keyClick(box, Qt::Key_F1);
    EXPECT_EQ(HelpPage(), QString::fromLatin1(row.page));
  }
  MouseToPictureArea();
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ServicesTest, F1InTheSmallWindowsOpensTheirPages) {
  Make();
  MouseToPictureArea();
  for (const char* entry : {"About1", "SearchforHelpOn1"}) {
    SCOPED_TRACE(entry);
    Help().hide();
    QString page;
    const WhenModal watch([&](QWidget* window) {
      auto* ok = window->findChild<QPushButton*>(QStringLiteral("Button1"));
      ok->setFocus(Qt::OtherFocusReason);
      QTest::keyClick(ok, Qt::Key_F1);
      page = HelpPage();
      window->close();
    });
    Find<QAction>(entry)->trigger();
    EXPECT_EQ(page, QStringLiteral("finestre.html"));
  }
}

TEST_F(ServicesTest, TheContentsListTheTopicsAndOpenTheOneChosen) {
  ASSERT_TRUE(Help().ShowContents());
  EXPECT_EQ(HelpPage(), QStringLiteral("index.html"));
  auto* contents = Help().findChild<QTreeView*>(QStringLiteral("HelpContents"));
  ASSERT_NE(contents, nullptr);
  QAbstractItemModel* model = contents->model();
  for (int i = 0; i < 500 && model->rowCount() == 0; ++i) QTest::qWait(10);
  ASSERT_EQ(model->rowCount(), 1);
  const QModelIndex top = model->index(0, 0);
  EXPECT_EQ(model->data(top).toString(), QStringLiteral("Sommario"));
  EXPECT_EQ(model->rowCount(top), 10);

  const QModelIndex music = model->index(4, 0, top);
  EXPECT_EQ(model->data(music).toString(), QStringLiteral("Il lettore musicale"));
  contents->expand(top);
  contents->setCurrentIndex(music);
  emit contents->activated(music);
  EXPECT_EQ(HelpPage(), QStringLiteral("musica.html"));
}

TEST_F(ServicesTest, AHelpFileThatCannotBeUsedIsSaidSoAndNothingBreaks) {
  Make();
  const QString garbage = QDir(dir).filePath(QStringLiteral("rovinata.qch"));
  {
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("questa non e' una guida");
  }
  const QString vanishing = QDir(dir).filePath(QStringLiteral("sparita.qch"));
  ASSERT_TRUE(QFile::copy(InstalledHelpFile(), vanishing));
  ASSERT_TRUE(Help().ShowContext(0, vanishing));  // in use, then taken away
  ASSERT_TRUE(QFile::remove(vanishing));

  const struct {
    QString file;
    const char* says;
  } rows[] = {
      {QDir(dir).filePath(QStringLiteral("assente.qch")), "non esiste"},
      {garbage, "non è una guida leggibile"},
      {vanishing, "non esiste"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file.toStdString());
    SetHelpFile(row.file);
    Help().hide();
    prompter.log.clear();
    QTest::mouseClick(Find<QAbstractButton>("BitH"), Qt::LeftButton);
    ASSERT_EQ(prompter.log.size(), 2);
    EXPECT_TRUE(prompter.log[0].contains(QString::fromUtf8(row.says)));
    EXPECT_TRUE(prompter.log[0].contains(row.file));
    EXPECT_EQ(prompter.log[1], kHelpReminder);  // the reminder follows whatever help did
    EXPECT_FALSE(Help().isVisible());

    prompter.log.clear();
    auto* box = Find<QWidget>("copalle");
    box->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(box, Qt::Key_F1);
    ASSERT_EQ(prompter.log.size(), 1);
    EXPECT_TRUE(prompter.log[0].contains(QString::fromUtf8(row.says)));
  }

  // With the file back, help works again.
  SetHelpFile(InstalledHelpFile());
  prompter.log.clear();
  QTest::mouseClick(Find<QAbstractButton>("BitH"), Qt::LeftButton);
  EXPECT_EQ(HelpPage(), QStringLiteral("index.html"));
  EXPECT_EQ(prompter.log, QStringList{kHelpReminder});
}

}  // namespace
}  // namespace app

#include "services_test.moc"
