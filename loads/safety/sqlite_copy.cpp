// The parts of the backup that speak to SQLite directly: the online backup
// API is not reachable through Qt SQL.
#include <QDir>
#include <QFileInfo>

#include <memory>

#include <sqlite3.h>

#include "loads/backup_store.h"
#include "loads/data_folder.h"

namespace loads {

namespace {

struct ConnectionCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

constexpr int kBusyTimeoutMs = 2000;
// How long a copy waits, in steps of kBusyPauseMs, for another program that
// is writing the file before it gives up.
constexpr int kBusyRetries = 25;
constexpr int kBusyPauseMs = 200;

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString EngineText(sqlite3* db, int code) {
  const char* text = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  return QString::fromUtf8(text != nullptr ? text : sqlite3_errstr(code));
}

// Our own connection, never the table's: what the program's table has in
// flight cannot leak into the copy, and the copy cannot disturb it.
Connection Open(const QString& path, int flags, QString& error) {
  sqlite3* raw = nullptr;
  const QByteArray name = QFileInfo(path).absoluteFilePath().toUtf8();
  const int code = sqlite3_open_v2(name.constData(), &raw, flags, nullptr);
  Connection db(raw);
  if (code != SQLITE_OK) {
    error = EngineText(db.get(), code);
    return nullptr;
  }
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  return db;
}

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return nullptr;
  return Statement(raw);
}

}  // namespace

Status CopyDatabase(const QString& sourceFile, const QString& targetFile) {
  const auto failed = [&](const QString& reason) {
    return Status::Failed(QStringLiteral("Impossibile copiare \"%1\" in \"%2\": %3.")
                              .arg(Shown(sourceFile), Shown(targetFile), reason));
  };
  QString error;
  const Connection source = Open(sourceFile, SQLITE_OPEN_READONLY, error);
  if (!source) return failed(error);
  const Connection target = Open(targetFile, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
  if (!target) return failed(error);

  sqlite3_backup* backup = sqlite3_backup_init(target.get(), "main", source.get(), "main");
  if (backup == nullptr) return failed(EngineText(target.get(), sqlite3_errcode(target.get())));
  int code = SQLITE_OK;
  for (int tries = 0;;) {
    code = sqlite3_backup_step(backup, -1);  // every page in one step: one snapshot
    if (code != SQLITE_BUSY && code != SQLITE_LOCKED) break;
    if (++tries > kBusyRetries) break;
    sqlite3_sleep(kBusyPauseMs);
  }
  const int finished = sqlite3_backup_finish(backup);
  if (code != SQLITE_DONE) return failed(QString::fromUtf8(sqlite3_errstr(code)));
  if (finished != SQLITE_OK) return failed(EngineText(target.get(), finished));
  return Status::Ok();
}

Status CheckIntegrity(const QString& file) {
  QString error;
  const Connection db = Open(file, SQLITE_OPEN_READONLY, error);
  if (!db) return Status::Failed(error);
  const Statement check = Prepare(db.get(), "PRAGMA integrity_check");
  if (!check) return Status::Failed(EngineText(db.get(), sqlite3_errcode(db.get())));
  QStringList findings;
  int code = SQLITE_OK;
  while ((code = sqlite3_step(check.get())) == SQLITE_ROW) {
    findings << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)));
  }
  if (code != SQLITE_DONE) return Status::Failed(EngineText(db.get(), code));
  if (findings == QStringList{QStringLiteral("ok")}) return Status::Ok();
  return Status::Failed(findings.join(QStringLiteral("; ")));
}

std::optional<qint64> RecordCountOf(const QString& file) {
  QString error;
  const Connection db = Open(file, SQLITE_OPEN_READONLY, error);
  if (!db) return std::nullopt;
  const QByteArray sql = QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QString::fromLatin1(kTableName)).toUtf8();
  const Statement count = Prepare(db.get(), sql.constData());
  if (!count || sqlite3_step(count.get()) != SQLITE_ROW) return std::nullopt;
  return sqlite3_column_int64(count.get(), 0);
}

}  // namespace loads
