#include "sql_file_p.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>

#include "loads/data_folder.h"

namespace loads::detail {

Transaction::Transaction(QSqlDatabase db) : m_db(std::move(db)) { m_begun = m_db.transaction(); }

Transaction::~Transaction() {
  if (m_begun && !m_committed) m_db.rollback();
}

bool Transaction::Commit() {
  m_committed = m_begun && m_db.commit();
  return m_committed;
}

QString Reason(const QSqlError& error) {
  const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
  return text.isEmpty() ? QStringLiteral("errore sconosciuto") : text;
}

bool LooksLikeSqlite(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  static constexpr char kHeader[] = "SQLite format 3";  // followed by a NUL
  return file.read(sizeof kHeader) == QByteArray(kHeader, sizeof kHeader);
}

QString Quoted(const QString& identifier) {
  QString inner = identifier;
  inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + inner + QLatin1Char('"');
}

namespace {

constexpr char kSchema[] =
    "CREATE TABLE DatiSpese ("
    " Id INTEGER PRIMARY KEY,"
    " tipologia TEXT,"
    " copalle REAL, Palle INTEGER,"
    " coinn REAL, Inneschi INTEGER,"
    " CoPol REAL, Polvere REAL,"
    " CoBoss REAL, Bossoli INTEGER,"
    " Minima REAL, Massima REAL)";

constexpr char kInsertSample[] =
    "INSERT INTO DatiSpese (tipologia, copalle, Palle, coinn, Inneschi, CoPol, Polvere,"
    " CoBoss, Bossoli, Minima, Massima) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

Status WriteSeed(QSqlDatabase& db, SampleSet seed) {
  Transaction transaction(db);
  if (!transaction.Begun()) return Status::Failed(Reason(db.lastError()));
  QSqlQuery query(db);
  if (!query.exec(QString::fromLatin1(kSchema))) return Status::Failed(Reason(query.lastError()));
  if (!query.prepare(QString::fromLatin1(kInsertSample))) {
    return Status::Failed(Reason(query.lastError()));
  }
  for (const SampleLoad& load : SampleLoads(seed)) {
    const QVariantList values{QString::fromUtf8(load.tipologia), load.copalle, load.palle,
                              load.coinn, load.inneschi, load.coPol, load.polvere, load.coBoss,
                              load.bossoli, load.minima, load.massima};
    for (int i = 0; i < values.size(); ++i) query.bindValue(i, values[i]);
    if (!query.exec()) return Status::Failed(Reason(query.lastError()));
  }
  if (!transaction.Commit()) return Status::Failed(Reason(db.lastError()));
  return Status::Ok();
}

}  // namespace

Status CreateSeededFile(const QString& path, SampleSet seed) {
  const QFileInfo target(path);
  const QString shown = QDir::toNativeSeparators(path);
  if (Status folder = EnsureWritableFolder(target.absolutePath()); !folder) return folder;

  QTemporaryFile scratch(target.absoluteFilePath() + QStringLiteral(".new-XXXXXX"));
  if (!scratch.open()) {
    return Status::Failed(QStringLiteral("Impossibile creare il file \"%1\": %2.")
                              .arg(shown, scratch.errorString()));
  }
  scratch.close();

  Status written = Status::Ok();
  const QString connection = QStringLiteral("versanto-seed-") + QUuid::createUuid().toString();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(scratch.fileName());
    written = db.open() ? WriteSeed(db, seed) : Status::Failed(Reason(db.lastError()));
    db.close();
  }
  QSqlDatabase::removeDatabase(connection);
  if (!written) {
    return Status::Failed(
        QStringLiteral("Impossibile creare il file \"%1\": %2.").arg(shown, written.Message()));
  }
  // QFile::rename never replaces an existing file: a file made meanwhile wins.
  const QString scratchPath = scratch.fileName();
  scratch.setAutoRemove(false);
  if (!QFile::rename(scratchPath, target.absoluteFilePath())) {
    QFile::remove(scratchPath);
    return Status::Failed(
        QStringLiteral("Impossibile creare il file \"%1\": esiste già o la cartella non lo permette.")
            .arg(shown));
  }
  QFile::setPermissions(target.absoluteFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ReadGroup | QFileDevice::ReadOther);
  return Status::Ok();
}

}  // namespace loads::detail
