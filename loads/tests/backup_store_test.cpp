#include "loads/backup_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "loads/changed_files_backup.h"
#include "loads/data_folder.h"
#include "safety_fixtures.h"
#include "testing/test_support.h"

namespace loads {
namespace {

using fixtures::PathIn;
using fixtures::StoredRows;
using testing_support::FreshDir;
using testing_support::ReadFileBytes;

// A connection of another reader or writer of the file, as a second program
// would hold it.
class OtherConnection {
 public:
  explicit OtherConnection(const QString& file) {
    EXPECT_EQ(sqlite3_open(file.toUtf8().constData(), &m_db), SQLITE_OK);
  }
  ~OtherConnection() { sqlite3_close(m_db); }
  OtherConnection(const OtherConnection&) = delete;
  OtherConnection& operator=(const OtherConnection&) = delete;

  void Run(const char* sql) {
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(m_db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
  }

 private:
  sqlite3* m_db = nullptr;
};

class BackupStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    folder = QString::fromStdString(dir.string());
    pistol = PathIn(dir, kPistolFileName);
    rifle = PathIn(dir, kRifleFileName);
  }

  // A seeded load file, closed again.
  void MakeFile(const QString& file, SampleSet seed = SampleSet::Pistol) {
    LoadTable table(file, seed);
    ASSERT_TRUE(table.Open().ok());
  }

  void DeleteFirstRecord(const QString& file) {
    LoadTable table(file, SampleSet::None);
    ASSERT_TRUE(table.Open().ok());
    ASSERT_TRUE(table.Delete().ok());
  }

  std::filesystem::path dir;
  QString folder;
  QString pistol;
  QString rifle;
};

TEST_F(BackupStoreTest, BackupOfAFileInUseIsSoundAndHoldsWhatWasCommitted) {
  LoadTable table(pistol, SampleSet::Pistol);
  ASSERT_TRUE(table.Open().ok());
  ASSERT_TRUE(table.Edit().ok());
  ASSERT_TRUE(table.SetFieldText(u"tipologia", QStringLiteral("cambiato")).ok());
  ASSERT_TRUE(table.Post().ok());
  const auto committed = fixtures::ValuesOf(table);

  // One program reads inside a transaction it has not ended; another has
  // written a record it has not committed.
  OtherConnection reader(pistol);
  reader.Run("BEGIN; SELECT count(*) FROM DatiSpese;");
  OtherConnection writer(pistol);
  writer.Run("BEGIN IMMEDIATE; INSERT INTO DatiSpese (tipologia) VALUES ('non confermato');");

  BackupStore store(folder);
  QString made;
  const Status taken = store.TakeBackup(pistol, &made);
  ASSERT_TRUE(taken.ok()) << taken.Message().toStdString();
  EXPECT_TRUE(CheckIntegrity(made).ok());
  EXPECT_EQ(StoredRows(made), committed);
  EXPECT_EQ(QFileInfo(made).dir().dirName(), QStringLiteral("backups"));
  EXPECT_TRUE(QFileInfo(made).fileName().startsWith(QStringLiteral("Versanto-")));
  writer.Run("ROLLBACK;");
  reader.Run("COMMIT;");
  // The table itself goes on working.
  EXPECT_TRUE(table.Edit().ok());
  EXPECT_TRUE(table.SetFieldText(u"Palle", QStringLiteral("50")).ok());
  EXPECT_TRUE(table.Post().ok());
}

TEST_F(BackupStoreTest, RotationKeepsTheNewestTenOfEachFileAndNothingElse) {
  MakeFile(pistol);
  MakeFile(rifle, SampleSet::Rifle);
  BackupStore store(folder);
  ASSERT_TRUE(store.TakeBackup(rifle).ok());
  std::vector<QString> made;
  for (int i = 0; i < 12; ++i) {
    QString path;
    ASSERT_TRUE(store.TakeBackup(pistol, &path).ok());
    made.push_back(path);
  }
  QFile note(QDir(store.Folder()).filePath(QStringLiteral("Versanto-nota.txt")));
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.close();
  ASSERT_TRUE(store.TakeBackup(pistol).ok());  // the note must survive a rotation

  const auto kept = store.List(QString::fromLatin1(kPistolFileName));
  ASSERT_EQ(kept.size(), 10U);
  EXPECT_EQ(kept.front().sequence, 13);
  EXPECT_EQ(kept.back().sequence, 4);
  EXPECT_FALSE(QFile::exists(made[0]));
  EXPECT_FALSE(QFile::exists(made[2]));
  EXPECT_TRUE(QFile::exists(made[3]));
  EXPECT_EQ(store.List(QString::fromLatin1(kRifleFileName)).size(), 1U);
  EXPECT_TRUE(note.exists());
  EXPECT_LE(qAbs(kept.front().taken.secsTo(QDateTime::currentDateTimeUtc())), 60);
}

TEST_F(BackupStoreTest, RestoreSavesThePresentStateFirst) {
  MakeFile(pistol);
  BackupStore store(folder);
  ASSERT_TRUE(store.TakeBackup(pistol).ok());
  const auto before = StoredRows(pistol);
  DeleteFirstRecord(pistol);
  const auto changed = StoredRows(pistol);
  ASSERT_NE(changed, before);

  const auto backups = store.List(QString::fromLatin1(kPistolFileName));
  QString safety;
  const Status restored = store.Restore(backups.front(), pistol, &safety);
  ASSERT_TRUE(restored.ok()) << restored.Message().toStdString();
  EXPECT_EQ(StoredRows(pistol), before);
  EXPECT_EQ(StoredRows(safety), changed);
  EXPECT_EQ(store.List(QString::fromLatin1(kPistolFileName)).size(), 2U);
  EXPECT_TRUE(CheckIntegrity(pistol).ok());
}

TEST_F(BackupStoreTest, RestoringTheOldestOfTenKeepsItAndTheSafetyCopy) {
  MakeFile(pistol);
  BackupStore store(folder);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(store.TakeBackup(pistol).ok());
  const BackupFile oldest = store.List(QString::fromLatin1(kPistolFileName)).back();
  QString safety;
  ASSERT_TRUE(store.Restore(oldest, pistol, &safety).ok());
  const auto kept = store.List(QString::fromLatin1(kPistolFileName));
  EXPECT_EQ(kept.size(), 10U);
  EXPECT_TRUE(QFile::exists(oldest.path));
  EXPECT_TRUE(QFile::exists(safety));
}

TEST_F(BackupStoreTest, DamagedBackupIsRefusedBeforeAnythingChanges) {
  MakeFile(pistol);
  BackupStore store(folder);
  QString made;
  ASSERT_TRUE(store.TakeBackup(pistol, &made).ok());
  {
    QFile broken(made);
    ASSERT_TRUE(broken.open(QIODevice::ReadWrite));
    const QByteArray header = broken.read(100);
    const int pageSize = (static_cast<unsigned char>(header[16]) << 8) | static_cast<unsigned char>(header[17]);
    broken.seek(pageSize);  // the second page: the table's records
    broken.write(QByteArray(pageSize, '\x5A'));
  }
  DeleteFirstRecord(pistol);
  const std::string bytes = ReadFileBytes(pistol.toStdString());

  const Status refused = store.Restore(store.List(QString::fromLatin1(kPistolFileName)).front(), pistol);
  ASSERT_FALSE(refused.ok());
  EXPECT_TRUE(refused.Message().contains(QStringLiteral("non è stato fatto"))) << refused.Message().toStdString();
  EXPECT_EQ(ReadFileBytes(pistol.toStdString()), bytes);
  EXPECT_EQ(store.List(QString::fromLatin1(kPistolFileName)).size(), 1U);
}

TEST_F(BackupStoreTest, RestoreOverAFileThatIsNotADatabaseMovesItAside) {
  MakeFile(pistol);
  BackupStore store(folder);
  ASSERT_TRUE(store.TakeBackup(pistol).ok());
  const auto sound = StoredRows(pistol);
  {
    QFile file(pistol);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("rovinato");
  }
  QString aside;
  ASSERT_TRUE(store.Restore(store.List(QString::fromLatin1(kPistolFileName)).front(), pistol, &aside).ok());
  EXPECT_EQ(StoredRows(pistol), sound);
  EXPECT_EQ(ReadFileBytes(aside.toStdString()), "rovinato");
  EXPECT_TRUE(QFileInfo(aside).fileName().startsWith(QStringLiteral("Versanto-danneggiato-")));
}

TEST_F(BackupStoreTest, AFolderThatCannotBeMadeIsReportedAndTheDataFileUntouched) {
  MakeFile(pistol);
  const std::string bytes = ReadFileBytes(pistol.toStdString());
  QFile blocker(QDir(folder).filePath(QStringLiteral("backups")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();

  const struct {
    const char* name;
    QString dataFolder;
    const char* says;
  } cases[] = {
      {"a file named backups", folder, "esiste già un file con quel nome"},
      {"a folder nobody can write, not even root", QStringLiteral("/proc/self"), "Impossibile creare la cartella"},
  };
  for (const auto& c : cases) {
    BackupStore store(c.dataFolder);
    const Status taken = store.TakeBackup(pistol);
    ASSERT_FALSE(taken.ok()) << c.name;
    EXPECT_TRUE(taken.Message().contains(QString::fromUtf8(c.says))) << c.name << ": " << taken.Message().toStdString();
    EXPECT_EQ(ReadFileBytes(pistol.toStdString()), bytes) << c.name;
  }
}

TEST_F(BackupStoreTest, OnlyFilesChangedSinceStartAreBackedUp) {
  MakeFile(pistol);
  ChangedFilesBackup atExit(folder, {pistol, rifle});
  EXPECT_TRUE(atExit.BackUpChanged().ok());
  EXPECT_FALSE(QFileInfo::exists(atExit.Store().Folder())) << "nothing changed, nothing made";

  DeleteFirstRecord(pistol);
  EXPECT_TRUE(atExit.BackUpChanged().ok());
  EXPECT_EQ(atExit.Store().List(QString::fromLatin1(kPistolFileName)).size(), 1U);
  EXPECT_EQ(StoredRows(atExit.Store().List(QString::fromLatin1(kPistolFileName)).front().path), StoredRows(pistol));

  // Asked again (an exit that was called off), it does not repeat itself.
  EXPECT_TRUE(atExit.BackUpChanged().ok());
  EXPECT_EQ(atExit.Store().List(QString::fromLatin1(kPistolFileName)).size(), 1U);

  MakeFile(rifle, SampleSet::Rifle);  // a file made while the program ran
  EXPECT_TRUE(atExit.BackUpChanged().ok());
  EXPECT_EQ(atExit.Store().List(QString::fromLatin1(kRifleFileName)).size(), 1U);
  EXPECT_EQ(atExit.Store().List(QString::fromLatin1(kPistolFileName)).size(), 1U);
}

}  // namespace
}  // namespace loads
