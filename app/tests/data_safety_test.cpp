// The data commands of the main window through its menu and their dialogs:
// export, import, restore, and the backup at exit.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

#include <gtest/gtest.h>

#include "export_dialog.h"
#include "file_chooser.h"
#include "import_preview_dialog.h"
#include "loads/backup_store.h"
#include "loads/data_folder.h"
#include "main_form.h"
#include "recording_prompter.h"
#include "restore_dialog.h"
#include "testing/test_support.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace app {
namespace {

using testing::RecordingPrompter;

class FixedFileChooser : public FileChooser {
 public:
  QString SaveCsvFile(QWidget*, const QString& caption, const QString&) override {
    asked << caption;
    return save;
  }
  QString OpenCsvFile(QWidget*, const QString& caption) override {
    asked << caption;
    return open;
  }
  QString save;
  QString open;
  QStringList asked;
};

// Runs `act` on the dialog of type D as soon as it is shown, inside its own
// event loop; `act` must close it. Counts in `shown` how often that happened.
template <class D>
void WhenShown(int& shown, std::function<void(D&)> act) {
  auto* poll = new QTimer(qApp);
  poll->setInterval(5);  // ms
  QObject::connect(poll, &QTimer::timeout, [poll, act, &shown] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    poll->stop();
    poll->deleteLater();
    ++shown;
    act(*dialog);
  });
  poll->start();
}

template <class T>
T* In(const QWidget& owner, const char* name) {
  T* found = owner.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// Near the left end: a radio button stretched across a wide dialog takes
// clicks only on its indicator and its text.
void Click(const QWidget& owner, const char* button) {
  QAbstractButton* b = In<QAbstractButton>(owner, button);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(qMin(8, b->width() / 2), b->height() / 2));
}

QString Fixture(const char* name) {
  return QDir(qEnvironmentVariable("VERSANTO_SOURCE_DIR")).filePath(QStringLiteral("loads/tests/data/import/") + QLatin1String(name));
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DataSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = QString::fromStdString(
        testing_support::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name()).string());
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  void Make() {
    form = std::make_unique<MainForm>(dir);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  void Trigger(const char* action) { In<QAction>(*form, action)->trigger(); }

  void Type(const char* box, const QString& text) {
    auto* edit = In<QLineEdit>(*form, box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  int GridRows() const { return In<QTableView>(*form, "DBGrid1")->model()->rowCount(); }
  QString PistolFile() const { return QDir(dir).filePath(QString::fromLatin1(loads::kPistolFileName)); }
  QStringList BackupNames() const {
    return QDir(QDir(dir).filePath(QStringLiteral("backups"))).entryList(QDir::Files, QDir::Name);
  }

  QString dir;
  RecordingPrompter prompter;
  ScopedPrompter scopedPrompter{prompter};
  FixedFileChooser chooser;
  ScopedFileChooser scopedChooser{chooser};
  std::unique_ptr<MainForm> form;
  int shown = 0;
};

TEST_F(DataSafetyTest, ExportWritesTheTableShownInTheChosenForm) {
  const struct {
    const char* name;
    bool rifle;
    const char* radio;
    const char* header;
    const char* firstRecord;
  } cases[] = {
      {"pistol, Italian form", false, "rbNumeriLocali",
       "tipologia;copalle;Palle;coinn;Inneschi;CoPol;Polvere;CoBoss;Bossoli;Minima;Massima",
       "\"9x21 IMI FMJ 124 grs\";17,25;100;9;100;88;4,3;0,25;10;4;4,6"},
      {"rifle, C form", true, "rbNumeriC",
       "tipologia,copalle,Palle,coinn,Inneschi,CoPol,Polvere,CoBoss,Bossoli,Minima,Massima", nullptr},
  };
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  Make();
  Type("copalle", QStringLiteral("17,25"));  // still being edited: the export writes it first
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.rifle) Click(*form, "RBtabella2");
    chooser.save = QDir(dir).filePath(QString::fromLatin1(c.name) + QStringLiteral(".csv"));
    WhenShown<ExportDialog>(shown, [&](ExportDialog& d) {
      EXPECT_TRUE(In<QRadioButton>(d, "rbNumeriLocali")->isChecked());
      EXPECT_EQ(In<QRadioButton>(d, "rbNumeriLocali")->text(),
                QStringLiteral("Come nelle impostazioni del sistema: 16,5 (campi separati da \";\")"));
      Click(d, c.radio);
      Click(d, "btnEsporta");
    });
    Trigger("EsportaCSV1");
    const QList<QByteArray> lines = Bytes(chooser.save).mid(3).split('\n');
    EXPECT_EQ(lines.value(0).toStdString(), std::string(c.header) + '\r');
    if (c.firstRecord != nullptr) {
      EXPECT_EQ(lines.value(1).toStdString(), std::string(c.firstRecord) + '\r');
    }
    const loads::LoadTable& table = c.rifle ? form->RifleTable() : form->PistolTable();
    EXPECT_EQ(lines.size(), table.RecordCount() + 2);  // the header, and nothing after the last line end
    EXPECT_EQ(prompter.log.last(), QStringLiteral("message: Tabella %1 esportata: %2 record nel file \"%3\".")
                                       .arg(c.rifle ? QStringLiteral("Fucile") : QStringLiteral("Pistola"))
                                       .arg(table.RecordCount())
                                       .arg(chooser.save));
  }
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(form->PistolTable().State(), loads::TableState::Browse);
  EXPECT_EQ(chooser.asked, (QStringList{"Esporta la Tabella Pistola", "Esporta la Tabella Fucile"}));
}

TEST_F(DataSafetyTest, ExportGivenUpAtEitherStepWritesNothing) {
  Make();
  chooser.save = QDir(dir).filePath(QStringLiteral("mai.csv"));
  WhenShown<ExportDialog>(shown, [](ExportDialog& d) { Click(d, "btnAnnulla"); });
  Trigger("EsportaCSV1");
  EXPECT_TRUE(chooser.asked.isEmpty());

  chooser.save.clear();  // the file dialog closed without a name
  WhenShown<ExportDialog>(shown, [](ExportDialog& d) { Click(d, "btnEsporta"); });
  Trigger("EsportaCSV1");
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(chooser.asked.size(), 1);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join('\n').toStdString();
  EXPECT_FALSE(QFile::exists(QDir(dir).filePath(QStringLiteral("mai.csv"))));
}

TEST_F(DataSafetyTest, ImportShowsWhatItWouldAddAndWritesOnlyWhenConfirmed) {
  Make();
  const int before = form->PistolTable().RecordCount();
  const QByteArray stored = Bytes(PistolFile());
  chooser.open = Fixture("bad_numbers.csv");
  const auto check = [&](ImportPreviewDialog& d) {
    const QAbstractItemModel* rows = In<QTableView>(d, "tvAnteprima")->model();
    EXPECT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->headerData(0, Qt::Vertical).toString(), QStringLiteral("Riga 2"));
    EXPECT_EQ(rows->headerData(1, Qt::Vertical).toString(), QStringLiteral("Riga 9"));
    EXPECT_EQ(rows->data(rows->index(1, 0)).toString(), QStringLiteral("40 S&W"));
    const auto* problems = In<QListWidget>(d, "lbScartate");
    ASSERT_EQ(problems->count(), 6);
    EXPECT_EQ(problems->item(0)->text(), QStringLiteral("Riga 3: Palle: \"12.5\" non è un numero intero"));
    EXPECT_EQ(problems->item(2)->text(), QStringLiteral("Riga 5: 9 valori invece di 11"));
    EXPECT_EQ(In<QLabel>(d, "lblRiepilogo")->text(),
              QStringLiteral("2 record da aggiungere, 6 righe scartate. Niente sarà scritto finché non si preme Importa."));
    EXPECT_TRUE(In<QPushButton>(d, "btnImporta")->isEnabled());
  };
  WhenShown<ImportPreviewDialog>(shown, [&](ImportPreviewDialog& d) {
    check(d);
    Click(d, "btnAnnulla");
  });
  Trigger("ImportaCSV1");
  EXPECT_EQ(form->PistolTable().RecordCount(), before);
  EXPECT_EQ(Bytes(PistolFile()), stored);

  WhenShown<ImportPreviewDialog>(shown, [&](ImportPreviewDialog& d) {
    check(d);
    Click(d, "btnImporta");
  });
  Trigger("ImportaCSV1");
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(form->PistolTable().RecordCount(), before + 2);
  EXPECT_EQ(GridRows(), before + 2);
  EXPECT_EQ(form->PistolTable().RecNo(), before);
  EXPECT_EQ(In<QLineEdit>(*form, "copalle")->text(), QStringLiteral("16.5"));
  EXPECT_EQ(prompter.log.last(), QStringLiteral("message: Aggiunti 2 record alla Tabella Pistola."));
  loads::LoadTable reread(PistolFile(), loads::SampleSet::None);
  ASSERT_TRUE(reread.Open().ok());
  EXPECT_EQ(reread.RecordCount(), before + 2);
  EXPECT_EQ(reread.FieldText(before + 1, 0), QStringLiteral("40 S&W"));
}

TEST_F(DataSafetyTest, AFileThatCannotBeImportedCannotBeConfirmed) {
  Make();
  chooser.open = Fixture("picture.png");
  WhenShown<ImportPreviewDialog>(shown, [](ImportPreviewDialog& d) {
    EXPECT_FALSE(In<QPushButton>(d, "btnImporta")->isEnabled());
    EXPECT_EQ(In<QLabel>(d, "lblRiepilogo")->text(),
              QStringLiteral("Il file non può essere importato. Riga 2: il file non è un file di testo "
                             "(contiene dati binari)."));
    EXPECT_EQ(In<QTableView>(d, "tvAnteprima")->model()->rowCount(), 0);
    Click(d, "btnAnnulla");
  });
  Trigger("ImportaCSV1");
  EXPECT_EQ(shown, 1);

  chooser.open = dir;  // a folder
  Trigger("ImportaCSV1");
  EXPECT_TRUE(prompter.log.last().startsWith(QStringLiteral("error: Impossibile leggere il file"))) << prompter.log.last().toStdString();
}

TEST_F(DataSafetyTest, TheOtherNumberFormReadsTheFileAgain) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  Make();
  Click(*form, "RBtabella2");
  const int pistol = form->PistolTable().RecordCount();
  const int rifle = form->RifleTable().RecordCount();
  chooser.open = Fixture("good_plain.csv");
  WhenShown<ImportPreviewDialog>(shown, [](ImportPreviewDialog& d) {
    const QAbstractItemModel* rows = In<QTableView>(d, "tvAnteprima")->model();
    EXPECT_TRUE(In<QRadioButton>(d, "rbNumeriC")->isChecked()) << "a comma between fields: C numbers";
    EXPECT_EQ(rows->rowCount(), 3);
    EXPECT_EQ(rows->data(rows->index(0, 1)).toString(), QStringLiteral("16,5")) << "shown the user's way";
    Click(d, "rbNumeriLocali");
    EXPECT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(In<QListWidget>(d, "lbScartate")->count(), 2);
    Click(d, "rbNumeriC");
    EXPECT_TRUE(In<QRadioButton>(d, "rbNumeriC")->isChecked());
    EXPECT_EQ(rows->rowCount(), 3);
    Click(d, "btnImporta");
  });
  Trigger("ImportaCSV1");
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(form->RifleTable().RecordCount(), rifle + 3);
  EXPECT_EQ(form->PistolTable().RecordCount(), pistol);
  EXPECT_EQ(prompter.log.last(), QStringLiteral("message: Aggiunti 3 record alla Tabella Fucile."));
}

TEST_F(DataSafetyTest, RestoreAsksFirstAndSavesThePresentStateBeforeIt) {
  Make();
  const int full = form->PistolTable().RecordCount();
  loads::BackupStore store(dir);
  ASSERT_TRUE(store.TakeBackup(PistolFile()).ok());
  ASSERT_TRUE(form->PistolTable().Delete().ok());
  ASSERT_EQ(GridRows(), full - 1);

  const auto choose = [&](RestoreDialog& d) {
    auto* list = In<QTreeWidget>(d, "lvCopie");
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("Pistola"));
    EXPECT_EQ(list->topLevelItem(0)->text(2), QString::number(full));
    EXPECT_FALSE(In<QPushButton>(d, "btnRipristina")->isEnabled());
    list->setCurrentItem(list->topLevelItem(0));
    Click(d, "btnRipristina");
  };
  prompter.answers = {false};
  WhenShown<RestoreDialog>(shown, choose);
  Trigger("RipristinaCopia1");
  ASSERT_EQ(prompter.log.size(), 1);
  EXPECT_TRUE(prompter.log[0].startsWith(
      QStringLiteral("question: Ripristina Copia di Sicurezza / Ripristinare la Tabella Pistola com'era il ")));
  EXPECT_EQ(form->PistolTable().RecordCount(), full - 1);
  EXPECT_EQ(store.List(QString::fromLatin1(loads::kPistolFileName)).size(), 1U);

  prompter.answers = {true};
  WhenShown<RestoreDialog>(shown, choose);
  Trigger("RipristinaCopia1");
  EXPECT_EQ(shown, 2);
  EXPECT_TRUE(form->PistolTable().Active());
  EXPECT_EQ(form->PistolTable().RecordCount(), full);
  EXPECT_EQ(GridRows(), full);
  EXPECT_EQ(In<QLineEdit>(*form, "copalle")->text(), QStringLiteral("16.5"));
  const auto backups = store.List(QString::fromLatin1(loads::kPistolFileName));
  ASSERT_EQ(backups.size(), 2U);
  EXPECT_EQ(loads::RecordCountOf(backups.front().path), full - 1) << "the state before the restore";
  EXPECT_TRUE(prompter.log.last().startsWith(QStringLiteral("message: Tabella Pistola ripristinata dalla copia del ")));
}

TEST_F(DataSafetyTest, RestoreWithoutBackupsSaysSo) {
  Make();
  Trigger("RipristinaCopia1");
  ASSERT_EQ(prompter.log.size(), 1);
  EXPECT_TRUE(prompter.log[0].startsWith(QStringLiteral("message: Non c'è ancora nessuna copia di sicurezza")));
}

TEST_F(DataSafetyTest, ExitBacksUpTheFilesThatChangedWithThePendingEditInThem) {
  Make();  // the first start makes the pistol file: a change
  Type("coinn", QStringLiteral("8.75"));
  form->close();
  ASSERT_FALSE(form->isVisible());
  QStringList names = BackupNames();
  ASSERT_EQ(names.size(), 1) << names.join(' ').toStdString();
  EXPECT_TRUE(names[0].startsWith(QStringLiteral("Versanto-")));
  loads::LoadTable backup(QDir(dir).filePath(QStringLiteral("backups/") + names[0]), loads::SampleSet::None);
  ASSERT_TRUE(backup.Open().ok());
  EXPECT_EQ(backup.FieldText(u"coinn"), QStringLiteral("8.75"));

  // Started again and left without a change: nothing new.
  form.reset();
  Make();
  Click(*form, "RBtabella2");  // opening the rifle table makes its file
  form->close();
  names = BackupNames();
  EXPECT_EQ(names.size(), 2);
  EXPECT_EQ(names.filter(QStringLiteral("Versanto-")).size(), 1);
  EXPECT_EQ(names.filter(QStringLiteral("Tabella2-")).size(), 1);
  form.reset();
  Make();
  form->close();
  EXPECT_EQ(BackupNames().size(), 2);
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join('\n').toStdString();
}

TEST_F(DataSafetyTest, ExitWithABackupFolderThatCannotBeMadeAsksAndLeavesTheDataAlone) {
  QFile blocker(QDir(dir).filePath(QStringLiteral("backups")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  Make();
  Type("coinn", QStringLiteral("8.75"));
  Click(*form, "BitSalva");
  const QByteArray stored = Bytes(PistolFile());

  prompter.answers = {true, false};  // exit: yes; end without a backup: no
  Click(*form, "Bitesci");
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(prompter.log.size(), 2);
  EXPECT_EQ(prompter.log[0], QStringLiteral("question: Termina il Programma / Sicuro di voler uscire ? !"));
  EXPECT_TRUE(prompter.log[1].startsWith(QStringLiteral(
      "question: Copia di Sicurezza / Non è stato possibile fare la copia di sicurezza dei dati:\n"
      "La cartella delle copie di sicurezza")))
      << prompter.log[1].toStdString();
  EXPECT_TRUE(prompter.log[1].endsWith(QStringLiteral("I file dei dati non sono stati toccati. Uscire comunque?")));
  EXPECT_EQ(Bytes(PistolFile()), stored);

  prompter.answers = {true, true};
  Click(*form, "Bitesci");
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(Bytes(PistolFile()), stored);
  EXPECT_FALSE(QFileInfo(blocker.fileName()).isDir());
}

}  // namespace
}  // namespace app
