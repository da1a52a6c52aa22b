#include "main_form.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QDir>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "application.h"
#include "help_context.h"
#include "loads/data_grid.h"
#include "loads/navigator.h"
#include "program_folder.h"
#include "recording_prompter.h"
#include "slideshow/diorama.h"
#include "testing/test_support.h"
#include "window_image.h"

QT_BEGIN_NAMESPACE
// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height();
}
QT_END_NAMESPACE

namespace app {
namespace {

using testing::RecordingPrompter;

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = QString::fromStdString(
        testing_support::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name())
            .string());
  }

  void Make() {
    form = std::make_unique<MainForm>(dir);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  template <class T>
  T* Find(const char* name) const {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void Type(const char* box, const QString& text) {
    auto* edit = Find<QLineEdit>(box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  void Click(const char* button) { QTest::mouseClick(Find<QAbstractButton>(button), Qt::LeftButton); }

  QString Text(const char* name) const {
    if (auto* edit = form->findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->text();
    return Find<QLabel>(name)->text();
  }

  // The values a file holds, read without the window.
  QString Stored(const char* file, const char* field, int row = 0) const {
    loads::LoadTable table(QDir(dir).filePath(QString::fromLatin1(file)), loads::SampleSet::None);
    if (!table.Open().ok() || !table.MoveTo(row).ok()) return QStringLiteral("<unreadable>");
    return table.FieldText(QString::fromLatin1(field));
  }

  QString dir;
  RecordingPrompter prompter;
  ScopedPrompter scoped{prompter};
  std::unique_ptr<MainForm> form;
};

// Position and size in the client area: below the menu bar, the tool bar included.
QRect ClientRect(const MainForm& form, const QWidget* widget) {
  const QPoint origin = widget->mapTo(&form, QPoint(0, 0)) - QPoint(0, form.menuBar()->height());
  return {origin, widget->size()};
}

TEST_F(MainFormTest, CaptionClientSizeAndRegions) {
  Make();
  EXPECT_EQ(form->windowTitle(),
            QString(38, QLatin1Char(' ')) +
                QStringLiteral("Versanto 8.0  Calcola il Costo della tua Munizione - Grazie a "
                               "Ludovar per l'utilizzo del Diorama"));
  EXPECT_EQ(form->width(), 968);
  EXPECT_EQ(form->height() - form->menuBar()->height(), 655);
  EXPECT_FALSE(form->windowIcon().isNull());

  const struct {
    const char* name;
    QRect client;  // pixels
  } regions[] = {
      {"ToolBar1", {0, 0, 968, 29}},           {"gbCostoComponenti", {8, 31, 340, 312}},
      {"gbDosiRicarica", {354, 35, 240, 158}}, {"gbCostiRicarica", {353, 199, 240, 330}},
      {"DBNavigator1", {7, 349, 340, 28}},     {"DBGrid1", {8, 383, 339, 146}},
      {"gbTabellaScelta", {23, 535, 313, 52}}, {"Editlibbre1", {350, 563, 73, 21}},
      {"Bitconverti", {429, 554, 88, 33}},     {"Editchili2", {529, 563, 65, 21}},
      {"Diorama", {602, 97, 358, 385}},        {"MediaPlayer1", {630, 45, 197, 28}},
      {"BitBtn5", {873, 45, 49, 29}},          {"BitBtn4", {599, 512, 81, 32}},
      {"BitstpDati", {686, 511, 85, 33}},      {"BitStpFucile", {784, 512, 75, 32}},
      {"BitH", {865, 512, 39, 32}},            {"Bitesci", {910, 512, 41, 32}},
      {"BitDonate", {704, 550, 137, 40}},      {"PageControl", {976, 512, 76, 278}},
      {"StatusBar1", {0, 636, 968, 19}},
  };
  for (const auto& region : regions) {
    const auto* widget = Find<QWidget>(region.name);
    if (widget == nullptr) continue;
    EXPECT_EQ(ClientRect(*form, widget), region.client) << region.name;
  }
  EXPECT_EQ(ClientRect(*form, Find<QLabel>("lblPrezzoLibbra")).topLeft(), QPoint(353, 544));
  EXPECT_EQ(ClientRect(*form, Find<QLabel>("lblPrezzoKg")).topLeft(), QPoint(531, 544));
  // The grid's one column is wider than the grid: it scrolls sideways.
  EXPECT_GT(Find<loads::DataGrid>("DBGrid1")->horizontalScrollBar()->maximum(), 0);
  // The slideshow settings lie beyond the client width.
  EXPECT_GT(Find<QWidget>("PageControl")->x(), 968);

  for (QAction* action : Find<QToolBar>("ToolBar1")->actions()) {
    EXPECT_EQ(Find<QToolBar>("ToolBar1")->widgetForAction(action)->width(), 145)
        << action->objectName().toStdString();
  }
  const int widths[] = {150, 150, 100};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(form->StatusPanel(i)->width(), widths[i]) << i;
  // The last panel gets what the size grip leaves of its 568 pixels.
  EXPECT_GT(form->StatusPanel(3)->width(), 500);
  EXPECT_LE(form->StatusPanel(3)->width(), 568);
  EXPECT_EQ(form->StatusPanel(2)->alignment(), Qt::AlignCenter);

  EXPECT_EQ(form->font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(QFontInfo(form->font()).pixelSize(), 11);
  EXPECT_EQ(Find<QGroupBox>("gbCostoComponenti")->font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(Find<QWidget>("DBNavigator1")->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(form->PictureArea()->toolTip(), QStringLiteral("Double click for FULL SCREEN"));
  // The picture show, on black behind its pictures.
  const auto* show = qobject_cast<slideshow::Diorama*>(form->PictureArea());
  ASSERT_NE(show, nullptr);
  EXPECT_EQ(show->Color(), QColor(Qt::black));
}

TEST_F(MainFormTest, RowsOfComponentCostsInOrder) {
  Make();
  const char* rows[][3] = {{"copalle", "Palle", "Lblresult1"},
                           {"coinn", "Inneschi", "Lblresult2"},
                           {"CoPol", "Polvere", "lblresult3"},
                           {"CoBoss", "Bossoli", "lblresult4"}};
  int previousTop = -1;
  for (const auto& row : rows) {
    const auto* price = Find<QLineEdit>(row[0]);
    const auto* count = Find<QLineEdit>(row[1]);
    EXPECT_EQ(price->parentWidget()->objectName(), QStringLiteral("gbCostoComponenti"));
    EXPECT_GT(price->y(), previousTop);
    EXPECT_EQ(price->y(), count->y());
    EXPECT_LT(price->x(), count->x());
    previousTop = price->y();
  }
  EXPECT_EQ(Text("Lblresult1"), QStringLiteral("Costo Singola Palla"));
  EXPECT_EQ(Text("Lblresult2"), QStringLiteral("Costo Singolo Innesco"));
  EXPECT_EQ(Text("lblresult3"), QStringLiteral("Costo Dose di Polvere"));
  EXPECT_EQ(Text("lblresult4"), QStringLiteral("Costo del Bossolo"));
  EXPECT_EQ(Text("risultatoCent"), QStringLiteral("Costo in Centesimi"));
  EXPECT_EQ(Text("risultatoLire"), QStringLiteral("Costo in £ire"));
  EXPECT_EQ(Text("euro50"), QStringLiteral("Costo in Euro"));
  EXPECT_EQ(Text("lire50"), QStringLiteral("Costo in £ire"));
  EXPECT_EQ(Text("Editlibbre1"), QStringLiteral("30"));
  EXPECT_EQ(Text("Editchili2"), QStringLiteral("Euro/chilo"));
}

TEST_F(MainFormTest, HintsAndHelpContexts) {
  Make();
  const struct {
    const char* name;
    int context;
    const char* hint;  // nullptr: none
  } controls[] = {
      {"copalle", 30, "Costo in Euro dei Proiettili"}, {"Palle", 30, "Numero di Proiettili in Confezione"},
      {"coinn", 30, "Costo Inneschi a Confezione"},     {"Inneschi", 30, "Numero inneschi a Confezione"},
      {"CoPol", 30, "Prezzo in Euro della Polvere"},    {"Polvere", 30, "Dose per ogni Cartuccia"},
      {"CoBoss", 30, "Prezzo in Euro di 1 Bossolo"},    {"Bossoli", 30, "Ipotetici Riutilizzi"},
      {"Minima", 30, nullptr},                          {"Massima", 30, nullptr},
      {"BitCalcola", 30, "Costo della munizione"},      {"BitModifica", 30, "Modifica i Dati"},
      {"BitSalva", 30, "Salva i dati Correnti"},        {"BitBtn4", 40, "Stampa Schermata"},
      {"BitstpDati", 40, "Stampa la Lista Dati Pistola"}, {"BitStpFucile", 0, nullptr},
      {"BitH", 90, "Help"},                             {"Bitesci", 0, "Abbandona"},
      {"BitBtn5", 60, "Carica Midi-MP3"},               {"MediaPlayer1", 60, nullptr},
      {"Bitconverti", 0, nullptr},                      {"BitDonate", 0, nullptr},
      {"DBNavigator1", 70, nullptr},                    {"DBGrid1", 80, nullptr},
      {"RBtabella1", 0, "seleziona la tabella"},        {"RBtabella2", 0, "seleziona la tabella"},
  };
  for (const auto& c : controls) {
    const QWidget* widget = Find<QWidget>(c.name);
    if (widget == nullptr) continue;
    EXPECT_EQ(HelpContextOf(widget), c.context) << c.name;
    EXPECT_EQ(widget->toolTip(), c.hint ? QString::fromUtf8(c.hint) : QString()) << c.name;
  }
  EXPECT_EQ(HelpContextOf(form.get()), 0);

  const struct {
    const char* name;
    int context;
  } actions[] = {{"CaricaFileMusicale1", 70}, {"Esci1", 0},      {"ListaDatiFucile1", 0},
                 {"ListaDatiPistola1", 80},   {"Schermata1", 80}, {"Sommario1", 90},
                 {"SearchforHelpOn1", 120},   {"About1", 50},    {"DataTool", 80},
                 {"PrintSCRTool", 80},        {"HelpTool", 90},   {"PrezziTool", 0},
                 {"AboutTool", 50},           {"StopTool", 70}};
  for (const auto& a : actions) {
    const auto* action = Find<QAction>(a.name);
    if (action != nullptr) {
      EXPECT_EQ(HelpContextOf(action), a.context) << a.name;
    }
  }
  // F1 over a tool button finds the same context as its action.
  const QToolBar* bar = Find<QToolBar>("ToolBar1");
  EXPECT_EQ(HelpContextOf(bar->widgetForAction(Find<QAction>("StopTool"))), 70);
}

TEST_F(MainFormTest, MenuAndToolBarInTheirOrder) {
  Make();
  auto entries = [](const QWidget* owner) {
    QStringList texts;
    for (const QAction* a : owner->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
  };
  EXPECT_EQ(entries(form->menuBar()),
            (QStringList{QStringLiteral("&File"), QStringLiteral("Stampa"), QStringLiteral("&Aiuto")}));
  EXPECT_EQ(entries(Find<QMenu>("File1")),
            (QStringList{"&Esporta Tabella CSV...", "&Importa Tabella CSV...", "-",
                         "&Ripristina Copia di Sicurezza...", "-", "Carica FileMusicale", "-", "E&sci"}));
  EXPECT_EQ(entries(Find<QMenu>("Stampa1")),
            (QStringList{"Lista Dati Fucile", "Lista Dati Pistola", "Schermata"}));
  EXPECT_EQ(entries(Find<QMenu>("Aiuto1")), (QStringList{"Sommario", "PrezziEsempio", "&About..."}));
  QStringList hints;
  for (const QAction* a : Find<QToolBar>("ToolBar1")->actions()) {
    hints << a->toolTip();
    EXPECT_FALSE(a->icon().isNull());
  }
  EXPECT_EQ(hints, (QStringList{"Stampa Lista Dati Pistola", "Stampa Dati Fucile", "Aiuto",
                                "Prezzi Esempio", "About", "Ferma il Diorama"}));
  EXPECT_EQ(Find<QToolBar>("ToolBar1")->toolButtonStyle(), Qt::ToolButtonIconOnly);
}

TEST_F(MainFormTest, CommandMapReachesItsHandlers) {
  Make();
  const QString exitQuestion =
      QStringLiteral("question: Termina il Programma / Sicuro di voler uscire ? !");
  const struct {
    const char* place;
    std::function<void()> trigger;
    std::function<void()> check;
  } commands[] = {
      {"button &Esci (Cancel)", [&] { prompter.answers = {false}; Click("Bitesci"); },
       [&] {
         EXPECT_EQ(prompter.log.value(0), exitQuestion);
         EXPECT_TRUE(form->isVisible());
       }},
      {"menu E&sci (Cancel)", [&] { prompter.answers = {false}; Find<QAction>("Esci1")->trigger(); },
       [&] {
         EXPECT_EQ(prompter.log.value(0), exitQuestion);
         EXPECT_TRUE(form->isVisible());
       }},
      {"button &Calcola", [&] { Click("BitCalcola"); },
       [&] { EXPECT_EQ(Text("Lblresult1"), QStringLiteral("La Palla Costa  0.17")); }},
      {"button converti", [&] { Click("Bitconverti"); },
       [&] { EXPECT_EQ(Text("Editchili2"), QStringLiteral("66")); }},
      {"button &Modifica", [&] { Click("BitModifica"); },
       [&] { EXPECT_EQ(form->PistolTable().State(), loads::TableState::Edit); }},
      {"button &Salva", [&] { Click("BitSalva"); },
       [&] { EXPECT_EQ(form->PistolTable().State(), loads::TableState::Browse); }},
      {"radio Per Fucile", [&] { Click("RBtabella2"); },
       [&] { EXPECT_EQ(&form->ActiveDataSource(), &form->RifleDataSource()); }},
      {"radio Per Pistola", [&] { Click("RBtabella1"); },
       [&] { EXPECT_EQ(&form->ActiveDataSource(), &form->PistolDataSource()); }},
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command.place);
    prompter.log.clear();
    command.trigger();
    command.check();
  }
}

TEST_F(MainFormTest, ChooserSwitchesTablesAndKeepsPendingEdits) {
  Make();
  EXPECT_TRUE(Find<QRadioButton>("RBtabella1")->isChecked());
  EXPECT_TRUE(form->PistolTable().Active());
  EXPECT_FALSE(form->RifleTable().Active());
  Type("copalle", QStringLiteral("99"));
  EXPECT_EQ(form->PistolTable().State(), loads::TableState::Edit);

  Click("RBtabella2");
  ASSERT_TRUE(form->RifleTable().Active());
  EXPECT_EQ(Text("copalle"), form->RifleTable().FieldText(u"copalle"));
  EXPECT_EQ(Text("Massima"), form->RifleTable().FieldText(u"Massima"));
  EXPECT_EQ(Find<loads::DataGrid>("DBGrid1")->Source(), &form->RifleDataSource());
  EXPECT_EQ(Find<loads::Navigator>("DBNavigator1")->Source(), &form->RifleDataSource());
  EXPECT_EQ(Find<loads::DataGrid>("DBGrid1")->columnWidth(0), 400);
  EXPECT_EQ(form->PistolTable().State(), loads::TableState::Edit);  // neither written nor lost
  EXPECT_EQ(Stored("Versanto.sqlite", "copalle"), QStringLiteral("16.5"));
  const auto* rifle = Find<QRadioButton>("RBtabella2");
  const auto* pistol = Find<QRadioButton>("RBtabella1");
  EXPECT_EQ(rifle->font().pointSize(), 10);
  EXPECT_EQ(pistol->font().pointSize(), 6);
  EXPECT_EQ(rifle->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_EQ(pistol->palette().color(QPalette::WindowText), QColor(Qt::black));

  Type("Bossoli", QStringLiteral("7"));
  Click("RBtabella1");
  EXPECT_EQ(Text("copalle"), QStringLiteral("99"));
  EXPECT_EQ(form->RifleTable().State(), loads::TableState::Edit);
  EXPECT_EQ(pistol->font().pointSize(), 10);
  EXPECT_EQ(rifle->font().pointSize(), 6);
}

TEST_F(MainFormTest, NavigatorMovesPostTheEdits) {
  Make();
  auto* navigator = Find<loads::Navigator>("DBNavigator1");
  Type("Bossoli", QStringLiteral("20"));
  QTest::mouseClick(navigator->Button(loads::NavButton::Next), Qt::LeftButton);
  EXPECT_EQ(form->PistolTable().RecNo(), 1);
  EXPECT_EQ(Stored("Versanto.sqlite", "Bossoli", 0), QStringLiteral("20"));
  EXPECT_EQ(Find<loads::DataGrid>("DBGrid1")->currentIndex().row(), 1);

  Type("Polvere", QStringLiteral("4.4"));
  QTest::mouseClick(navigator->Button(loads::NavButton::Prior), Qt::LeftButton);
  EXPECT_EQ(Stored("Versanto.sqlite", "Polvere", 1), QStringLiteral("4.4"));
  EXPECT_EQ(Text("Bossoli"), QStringLiteral("20"));

  // Insert, then Delete answered both ways.
  const int count = form->PistolTable().RecordCount();
  QTest::mouseClick(navigator->Button(loads::NavButton::Insert), Qt::LeftButton);
  EXPECT_EQ(Text("copalle"), QString());
  Type("copalle", QStringLiteral("5"));
  QTest::mouseClick(navigator->Button(loads::NavButton::Next), Qt::LeftButton);
  EXPECT_EQ(form->PistolTable().RecordCount(), count + 1);
  prompter.answers = {false, true};
  QTest::mouseClick(navigator->Button(loads::NavButton::Delete), Qt::LeftButton);
  EXPECT_EQ(form->PistolTable().RecordCount(), count + 1);
  QTest::mouseClick(navigator->Button(loads::NavButton::Delete), Qt::LeftButton);
  EXPECT_EQ(form->PistolTable().RecordCount(), count);
  EXPECT_EQ(prompter.log, (QStringList{"confirm: Delete record?", "confirm: Delete record?"}));
}

TEST_F(MainFormTest, ModificaEditsAndSalvaPostsOrSaysWhy) {
  Make();
  Click("BitModifica");
  EXPECT_EQ(form->PistolTable().State(), loads::TableState::Edit);
  Type("CoBoss", QStringLiteral("0.33"));
  Click("BitSalva");
  EXPECT_EQ(form->PistolTable().State(), loads::TableState::Browse);
  EXPECT_EQ(Stored("Versanto.sqlite", "CoBoss"), QStringLiteral("0.33"));

  Type("Palle", QStringLiteral("tante"));
  Click("BitSalva");
  EXPECT_EQ(prompter.log, QStringList{"error: 'tante' is not a valid integer value"});
  EXPECT_EQ(form->PistolTable().State(), loads::TableState::Edit);
  EXPECT_EQ(Text("Palle"), QStringLiteral("tante"));
  EXPECT_EQ(Stored("Versanto.sqlite", "Palle"), QStringLiteral("100"));
}

TEST_F(MainFormTest, ConfirmedExitPostsPendingEditsFirst) {
  Make();
  Type("coinn", QStringLiteral("8.75"));
  Click("Bitesci");
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(Stored("Versanto.sqlite", "coinn"), QStringLiteral("8.75"));
}

TEST_F(MainFormTest, ClosingThroughTheFramePostsBothTables) {
  Make();
  Type("coinn", QStringLiteral("8.5"));
  Click("RBtabella2");
  Type("coinn", QStringLiteral("12"));
  form->close();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(Stored("Versanto.sqlite", "coinn"), QStringLiteral("8.5"));
  EXPECT_EQ(Stored("Tabella2.sqlite", "coinn"), QStringLiteral("12"));
}

TEST_F(MainFormTest, ExitWithAnEditThatCannotBePostedKeepsTheWindow) {
  Make();
  Type("Inneschi", QStringLiteral("cento"));
  Click("Bitesci");
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(prompter.log.value(1), QStringLiteral("error: 'cento' is not a valid integer value"));
  EXPECT_EQ(form->PistolTable().State(), loads::TableState::Edit);
  EXPECT_EQ(Text("Inneschi"), QStringLiteral("cento"));
}

TEST_F(MainFormTest, StartUpWithoutTheDefaultMusicFile) {
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir));
  ASSERT_FALSE(QFile::exists(QStringLiteral("prova.mp3")));
  Make();
  QDir::setCurrent(previous);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join('\n').toStdString();
  EXPECT_TRUE(form->PistolTable().Active());
  EXPECT_EQ(Text("copalle"), QStringLiteral("16.5"));
  EXPECT_EQ(MainFormWindow(), form.get());
  EXPECT_EQ(HelpFile(), BesideProgram(QStringLiteral("versanto713.qch")));
  EXPECT_TRUE(HelpFile().endsWith(QStringLiteral("/versanto713.qch")));
}

TEST_F(MainFormTest, PistolFileThatIsNotADatabaseIsReportedAndStartUpGoesOn) {
  QFile bad(QDir(dir).filePath(QStringLiteral("Versanto.sqlite")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("non un database");
  bad.close();
  Make();
  ASSERT_EQ(prompter.log.size(), 1);
  EXPECT_TRUE(prompter.log[0].startsWith(QStringLiteral("error: Il file")));
  EXPECT_TRUE(prompter.log[0].contains(QStringLiteral("Versanto.sqlite")));
  EXPECT_FALSE(form->PistolTable().Active());
  EXPECT_EQ(Text("copalle"), QString());
  EXPECT_TRUE(HelpFile().endsWith(QStringLiteral("versanto713.qch")));
  // An empty table: the calculator fails on its first conversion.
  Click("BitCalcola");
  EXPECT_EQ(prompter.log.value(1), QStringLiteral("error: '' is not a valid floating point value"));
  EXPECT_EQ(Text("Lblresult1"), QStringLiteral("Costo Singola Palla"));
}

TEST_F(MainFormTest, CalculatorAndConverterInTheUsersLocale) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  Make();
  EXPECT_EQ(Text("CoBoss"), QStringLiteral("0,25"));
  Type("copalle", QStringLiteral("10"));
  Type("Palle", QStringLiteral("100"));
  Type("coinn", QStringLiteral("5"));
  Type("Inneschi", QStringLiteral("100"));
  Type("CoPol", QStringLiteral("50"));
  Type("Polvere", QStringLiteral("5"));
  Type("CoBoss", QStringLiteral("0,5"));
  Type("Bossoli", QStringLiteral("0"));
  Click("BitCalcola");
  Type("Editlibbre1", QStringLiteral("12,5"));
  Click("Bitconverti");
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(prompter.log, QStringList{"message: Divisione per zero non consentita"});
  EXPECT_EQ(Text("Lblresult1"), QStringLiteral("La Palla Costa  0,10\u00A0€"));
  EXPECT_EQ(Text("lblresult4"), QStringLiteral("Il Bossolo Costa  0,00\u00A0€"));
  EXPECT_EQ(Text("risultatoLire"), QStringLiteral("  Vecchie Lire  321,76 "));
  EXPECT_EQ(Text("euro50"), QStringLiteral("      8,31\u00A0€     "));
  EXPECT_EQ(Text("Editchili2"), QStringLiteral("27,5"));
  // The calculator never writes to the table.
  EXPECT_EQ(Stored("Versanto.sqlite", "copalle"), QStringLiteral("16.5"));
}

TEST_F(MainFormTest, SlideshowSettingsAndPlayerRowAreLaidOut) {
  Make();
  const auto* pages = Find<QTabWidget>("PageControl");
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), QStringLiteral("Transition"));
  EXPECT_EQ(pages->tabText(1), QStringLiteral("Layout"));
  EXPECT_EQ(pages->tabText(2), QStringLiteral("Images"));
  const struct {
    const char* name;
    int minimum, maximum, step, value;
  } ranges[] = {{"edtProgressStep", 1, 25, 1, 3},
                {"edtProgressDelay", 5, 1000, 5, 30},
                {"edtFrameWidth", 0, 10, 1, 1}};
  for (const auto& r : ranges) {
    const auto* spin = Find<QSpinBox>(r.name);
    EXPECT_EQ(spin->minimum(), r.minimum) << r.name;
    EXPECT_EQ(spin->maximum(), r.maximum) << r.name;
    EXPECT_EQ(spin->singleStep(), r.step) << r.name;
    EXPECT_EQ(spin->value(), r.value) << r.name;
  }
  const auto* progress = Find<QSlider>("tbProgress");
  EXPECT_EQ(progress->maximum(), 100);
  EXPECT_EQ(progress->tickInterval(), 10);
  EXPECT_EQ(progress->pageStep(), 5);
  EXPECT_FALSE(progress->isEnabled());
  const auto* interval = Find<QSlider>("tbDisplayInterval");
  EXPECT_EQ(interval->minimum(), 500);
  EXPECT_EQ(interval->maximum(), 9500);
  EXPECT_EQ(interval->pageStep(), 500);
  EXPECT_EQ(interval->value(), 1000);
  EXPECT_EQ(Text("lblStyleNumber"), QStringLiteral("[ #0 ]"));
  EXPECT_EQ(Text("lblDisplayIntervalValue"), QStringLiteral("[ 1.0 Seconds ]"));
  EXPECT_TRUE(Find<QRadioButton>("rbStyleSequential")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("rbProgressAuto")->isChecked());
  for (const char* name : {"cbStyle", "cbBackgroundMode", "ckExactTiming", "ckThreaded", "ckOverDraw",
                           "ckCenter", "ckStretch", "ckProportional", "rbProgressManual",
                           "btnChangeBackground", "btnChangeFrameColor", "btnChangePath",
                           "rbStyleRandom", "rbStyleDisabled"}) {
    Find<QWidget>(name);
  }
  EXPECT_EQ(Find<QComboBox>("cbBackgroundMode")->currentIndex(), 1);
  EXPECT_EQ(Find<QWidget>("MediaPlayer1")->findChildren<QToolButton*>().size(), 7);
}

TEST_F(MainFormTest, ScreenshotOfTheWindowForAPerson) {
  Make();
  const QImage picture = WindowImage(*form);
  EXPECT_EQ(picture.width(), 968);
  EXPECT_EQ(picture.height(), form->menuBar()->height() + 655);
  const QPoint inPicture = QPoint(700, 200 + form->menuBar()->height());
  // The picture show's dark background cloth, before its first picture.
  EXPECT_LT(qGray(picture.pixel(inPicture)), 64);
  const QString out = qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/main_form.png");
  EXPECT_TRUE(picture.save(out)) << out.toStdString();
}

}  // namespace
}  // namespace app
