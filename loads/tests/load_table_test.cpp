#include "loads/load_table.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSignalSpy>

#include <filesystem>
#include <unistd.h>

#include <gtest/gtest.h>

#include "loads/data_folder.h"
#include "testing/test_support.h"

namespace loads {
namespace {

using testing_support::FreshDir;
using testing_support::ReadFileBytes;
using testing_support::TestDataDir;

regional::Regional Italian() {
  regional::Regional r;
  r.decimalSeparator = ",";
  r.thousandSeparator = ".";
  return r;
}

QString PathIn(const std::filesystem::path& dir, const char* name) {
  return QString::fromStdString((dir / name).string());
}

// Runs one statement on a file through a connection of its own.
void Execute(const QString& file, const QString& sql) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
    db.setDatabaseName(file);
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
}

class LoadTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    file = PathIn(dir, kPistolFileName);
  }

  std::unique_ptr<LoadTable> Opened() {
    auto table = std::make_unique<LoadTable>(file, SampleSet::Pistol);
    table->SetRegional(Italian());
    const Status status = table->Open();
    EXPECT_TRUE(status.ok()) << status.Message().toStdString();
    return table;
  }

  std::filesystem::path dir;
  QString file;
};

TEST_F(LoadTableTest, FirstStartCreatesSeededFileInLocaleForm) {
  auto table = Opened();
  EXPECT_TRUE(QFile::exists(file));
  EXPECT_GE(table->RecordCount(), 8);
  EXPECT_EQ(table->RecNo(), 0);
  EXPECT_TRUE(table->Bof());
  EXPECT_FALSE(table->Eof());
  EXPECT_EQ(table->FieldText(u"tipologia"), QStringLiteral("9x21 IMI FMJ 124 grs"));
  EXPECT_EQ(table->FieldText(u"copalle"), QStringLiteral("16,5"));
  EXPECT_EQ(table->FieldText(u"COBOSS"), QStringLiteral("0,25"));
  EXPECT_EQ(table->FieldText(u"Bossoli"), QStringLiteral("10"));
  // Opening again changes nothing, not even the position.
  ASSERT_TRUE(table->Next().ok());
  EXPECT_TRUE(table->Open().ok());
  EXPECT_EQ(table->RecNo(), 1);
}

TEST_F(LoadTableTest, FieldsByNameWithKindsAndNulls) {
  auto table = Opened();
  const auto& fields = table->Fields();
  ASSERT_EQ(fields.size(), 11u);
  EXPECT_EQ(fields[0].name, QStringLiteral("tipologia"));
  EXPECT_EQ(table->Value(u"CoPalle").kind, FieldKind::Real);
  EXPECT_DOUBLE_EQ(table->Value(u"CoPalle").value.toDouble(), 16.5);
  EXPECT_EQ(table->Value(u"palle").kind, FieldKind::Integer);
  EXPECT_EQ(table->Value(u"Palle").value.toLongLong(), 100);
  EXPECT_EQ(table->Value(u"tipologia").kind, FieldKind::Text);
  ASSERT_TRUE(table->Edit().ok());
  ASSERT_TRUE(table->SetFieldText(u"Minima", QString()).ok());
  ASSERT_TRUE(table->Post().ok());
  EXPECT_TRUE(table->Value(u"Minima").IsNull());
  EXPECT_EQ(table->FieldText(u"Minima"), QString());
  EXPECT_TRUE(table->Value(u"nessuno").IsNull());
}

TEST_F(LoadTableTest, WalkVisitsEveryRecordOnce) {
  auto table = Opened();
  QSignalSpy moved(table.get(), &LoadTable::DataChanged);
  ASSERT_TRUE(table->First().ok());
  int visited = 0;
  while (!table->Eof()) {
    ++visited;
    ASSERT_TRUE(table->Next().ok());
  }
  EXPECT_EQ(visited, table->RecordCount());
  EXPECT_EQ(table->RecNo(), table->RecordCount() - 1);
  EXPECT_GE(moved.count(), visited);  // bound controls follow a report run
  ASSERT_TRUE(table->Prior().ok());
  EXPECT_FALSE(table->Eof());
}

TEST_F(LoadTableTest, PendingChangeIsPostedOnMoveAndSurvivesReopen) {
  {
    auto table = Opened();
    ASSERT_TRUE(table->Edit().ok());
    ASSERT_TRUE(table->SetFieldText(u"copalle", QStringLiteral("17,25")).ok());
    ASSERT_TRUE(table->SetFieldText(u"Bossoli", QStringLiteral("12")).ok());
    EXPECT_EQ(table->State(), TableState::Edit);
    EXPECT_EQ(table->FieldText(u"copalle"), QStringLiteral("17,25"));
    ASSERT_TRUE(table->Next().ok());
    EXPECT_EQ(table->State(), TableState::Browse);
    EXPECT_EQ(table->RecNo(), 1);
  }
  auto table = Opened();
  EXPECT_DOUBLE_EQ(table->Value(u"copalle").value.toDouble(), 17.25);
  EXPECT_EQ(table->FieldText(u"Bossoli"), QStringLiteral("12"));
  table->SetRegional(regional::Neutral());
  EXPECT_EQ(table->FieldText(u"copalle"), QStringLiteral("17.25"));
}

TEST_F(LoadTableTest, CancelDropsTheChange) {
  {
    auto table = Opened();
    ASSERT_TRUE(table->Edit().ok());
    ASSERT_TRUE(table->SetFieldText(u"tipologia", QStringLiteral("cambiato")).ok());
    table->Cancel();
    EXPECT_EQ(table->State(), TableState::Browse);
    EXPECT_EQ(table->FieldText(u"tipologia"), QStringLiteral("9x21 IMI FMJ 124 grs"));
    ASSERT_TRUE(table->Next().ok());
  }
  auto table = Opened();
  EXPECT_EQ(table->FieldText(u"tipologia"), QStringLiteral("9x21 IMI FMJ 124 grs"));
}

TEST_F(LoadTableTest, InsertPostsANewRecordAndAnUntouchedOneIsDropped) {
  int count = 0;
  {
    auto table = Opened();
    count = table->RecordCount();
    ASSERT_TRUE(table->Next().ok());
    ASSERT_TRUE(table->Insert().ok());
    EXPECT_EQ(table->State(), TableState::Insert);
    EXPECT_EQ(table->RecNo(), 1);
    EXPECT_EQ(table->RecordCount(), count + 1);
    EXPECT_EQ(table->FieldText(u"copalle"), QString());
    ASSERT_TRUE(table->Prior().ok());  // nothing typed: nothing written
    EXPECT_EQ(table->RecordCount(), count);

    ASSERT_TRUE(table->Insert().ok());
    ASSERT_TRUE(table->SetFieldText(u"tipologia", QStringLiteral(".22 LR")).ok());
    ASSERT_TRUE(table->SetFieldText(u"copalle", QStringLiteral("4,5")).ok());
    ASSERT_TRUE(table->Post().ok());
    EXPECT_EQ(table->RecordCount(), count + 1);
  }
  auto table = Opened();
  EXPECT_EQ(table->RecordCount(), count + 1);
  ASSERT_TRUE(table->Last().ok());
  EXPECT_EQ(table->FieldText(u"tipologia"), QStringLiteral(".22 LR"));
  EXPECT_EQ(table->FieldText(u"copalle"), QStringLiteral("4,5"));
}

TEST_F(LoadTableTest, DeleteRemovesTheRecordFromTheFile) {
  int count = 0;
  QString second;
  {
    auto table = Opened();
    count = table->RecordCount();
    ASSERT_TRUE(table->Next().ok());
    second = table->FieldText(u"tipologia");
    ASSERT_TRUE(table->Prior().ok());
    ASSERT_TRUE(table->Delete().ok());
    EXPECT_EQ(table->RecordCount(), count - 1);
    EXPECT_EQ(table->FieldText(u"tipologia"), second);
  }
  auto table = Opened();
  EXPECT_EQ(table->RecordCount(), count - 1);
  EXPECT_EQ(table->FieldText(u"tipologia"), second);
}

TEST_F(LoadTableTest, TextThatDoesNotConvertKeepsTheRecordInEdit) {
  auto table = Opened();
  ASSERT_TRUE(table->Edit().ok());
  ASSERT_TRUE(table->SetFieldText(u"Palle", QStringLiteral("cento")).ok());
  const Status posted = table->Post();
  EXPECT_EQ(posted.Message(), QStringLiteral("'cento' is not a valid integer value"));
  const Status moved = table->Next();
  EXPECT_FALSE(moved.ok());
  EXPECT_EQ(table->RecNo(), 0);
  EXPECT_EQ(table->State(), TableState::Edit);
  EXPECT_EQ(table->FieldText(u"Palle"), QStringLiteral("cento"));
  ASSERT_TRUE(table->SetFieldText(u"CoPol", QStringLiteral("9.5")).ok());
  ASSERT_TRUE(table->SetFieldText(u"Palle", QStringLiteral("50")).ok());
  EXPECT_EQ(table->Post().Message(), QStringLiteral("'9.5' is not a valid floating point value"));
}

TEST_F(LoadTableTest, RefusedWriteSaysWhyAndKeepsTheText) {
  { auto first = Opened(); }
  Execute(file, QStringLiteral("CREATE TRIGGER guard BEFORE UPDATE ON DatiSpese BEGIN "
                               "SELECT RAISE(ABORT, 'archivio protetto'); END"));
  auto table = Opened();
  ASSERT_TRUE(table->Edit().ok());
  ASSERT_TRUE(table->SetFieldText(u"coinn", QStringLiteral("9,9")).ok());
  const Status posted = table->Post();
  ASSERT_FALSE(posted.ok());
  EXPECT_TRUE(posted.Message().contains(QStringLiteral("archivio protetto")));
  EXPECT_TRUE(posted.Message().contains(file));
  EXPECT_EQ(table->State(), TableState::Edit);
  EXPECT_EQ(table->FieldText(u"coinn"), QStringLiteral("9,9"));
}

TEST_F(LoadTableTest, NotADatabaseIsReportedAndLeftByteForByte) {
  std::filesystem::copy_file(TestDataDir() / "not_a_database.sqlite", dir / kPistolFileName);
  const std::string before = ReadFileBytes(dir / kPistolFileName);
  ASSERT_FALSE(before.empty());
  LoadTable table(file, SampleSet::Pistol);
  const Status status = table.Open();
  ASSERT_FALSE(status.ok());
  EXPECT_TRUE(status.Message().contains(file));
  EXPECT_TRUE(status.Message().contains(QStringLiteral("non è un database")));
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(ReadFileBytes(dir / kPistolFileName), before);
  EXPECT_FALSE(table.Open().ok());  // asked again: still refused, still untouched
  EXPECT_EQ(ReadFileBytes(dir / kPistolFileName), before);
}

TEST_F(LoadTableTest, EmptyFileIsNotTakenForANewDatabase) {
  QFile empty(file);
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  LoadTable table(file, SampleSet::Pistol);
  EXPECT_FALSE(table.Open().ok());
  EXPECT_EQ(QFileInfo(file).size(), 0);
}

TEST_F(LoadTableTest, DatabaseWithoutTheTableIsReportedAndLeftAlone) {
  Execute(file, QStringLiteral("CREATE TABLE Altro (x INTEGER)"));
  const std::string before = ReadFileBytes(dir / kPistolFileName);
  LoadTable table(file, SampleSet::Pistol);
  const Status status = table.Open();
  ASSERT_FALSE(status.ok());
  EXPECT_TRUE(status.Message().contains(file));
  EXPECT_TRUE(status.Message().contains(QStringLiteral("DatiSpese")));
  EXPECT_EQ(ReadFileBytes(dir / kPistolFileName), before);
}

TEST_F(LoadTableTest, TableWithoutAFieldIsReported) {
  Execute(file, QStringLiteral("CREATE TABLE DatiSpese (Id INTEGER PRIMARY KEY, tipologia TEXT)"));
  LoadTable table(file, SampleSet::Pistol);
  const Status status = table.Open();
  ASSERT_FALSE(status.ok());
  EXPECT_TRUE(status.Message().contains(QStringLiteral("\"copalle\"")));
}

TEST_F(LoadTableTest, FolderThatCannotBeMadeIsReported) {
  QFile blocker(PathIn(dir, "un-file"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QString inside = PathIn(dir / "un-file" / "Versanto", kPistolFileName);
  LoadTable table(inside, SampleSet::Pistol);
  const Status status = table.Open();
  ASSERT_FALSE(status.ok());
  EXPECT_TRUE(status.Message().startsWith(QStringLiteral("Impossibile creare la cartella dei dati")));
}

// A folder no one may create files in, whoever runs the test (root included).
TEST_F(LoadTableTest, ExistingFolderWithoutWriteAccessIsReported) {
  LoadTable table(QStringLiteral("/proc/self/") + QString::fromLatin1(kPistolFileName),
                  SampleSet::Pistol);
  const Status status = table.Open();
  ASSERT_FALSE(status.ok());
  EXPECT_TRUE(status.Message().startsWith(QStringLiteral("La cartella dei dati \"/proc/self\" non è scrivibile")))
      << status.Message().toStdString();
}

TEST_F(LoadTableTest, ReadOnlyFolderIsReportedAndNothingIsLeftThere) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  const auto folder = dir / "sola-lettura";
  std::filesystem::create_directories(folder);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_exec);
  LoadTable table(PathIn(folder, kPistolFileName), SampleSet::Pistol);
  const Status status = table.Open();
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  ASSERT_FALSE(status.ok());
  EXPECT_TRUE(status.Message().contains(QStringLiteral("non è scrivibile")));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(DataFolder, FollowsXdgDataHome) {
  const QString home = qEnvironmentVariable("XDG_DATA_HOME");
  ASSERT_FALSE(home.isEmpty());
  EXPECT_EQ(DefaultDataFolder(), QDir(home).filePath(QStringLiteral("Calvenor/Versanto")));
}

}  // namespace
}  // namespace loads
