#include "loads/backup_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTimeZone>

#include <algorithm>

#include "../store/sql_file_p.h"

namespace loads {

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

QString BaseName(const QString& dataFile) { return QFileInfo(dataFile).completeBaseName(); }

QString Stamp(const QDateTime& utc) { return utc.toString(QStringLiteral("yyyyMMdd-HHmmss")); }

}  // namespace

BackupStore::BackupStore(const QString& dataFolder, int kept)
    : m_folder(QDir(dataFolder).filePath(QString::fromLatin1(kBackupFolderName))), m_kept(kept) {}

Status BackupStore::EnsureFolder() const {
  const QFileInfo info(m_folder);
  if (info.exists() && !info.isDir()) {
    return Status::Failed(
        QStringLiteral("La cartella delle copie di sicurezza \"%1\" non può essere creata: esiste "
                       "già un file con quel nome.")
            .arg(Shown(m_folder)));
  }
  if (!QDir().mkpath(m_folder)) {
    return Status::Failed(
        QStringLiteral("Impossibile creare la cartella delle copie di sicurezza \"%1\".").arg(Shown(m_folder)));
  }
  return Status::Ok();
}

std::vector<BackupFile> BackupStore::List(const QString& dataFileName) const {
  const QRegularExpression pattern(QStringLiteral("^%1-(\\d{8}-\\d{6})-(\\d+)\\.sqlite$")
                                       .arg(QRegularExpression::escape(BaseName(dataFileName))));
  std::vector<BackupFile> found;
  const QDir dir(m_folder);
  for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
    const QRegularExpressionMatch match = pattern.match(info.fileName());
    if (!match.hasMatch()) continue;
    bool numeric = false;
    const qint64 sequence = match.captured(2).toLongLong(&numeric);
    if (!numeric) continue;
    QDateTime taken = QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
    taken.setTimeZone(QTimeZone::utc());
    found.push_back({info.absoluteFilePath(), taken, sequence});
  }
  std::sort(found.begin(), found.end(),
            [](const BackupFile& a, const BackupFile& b) { return a.sequence > b.sequence; });
  return found;
}

Status BackupStore::MakeBackup(const QString& dataFile, bool requireIntact, QString& made) const {
  const QFileInfo data(dataFile);
  if (!data.isFile()) {
    return Status::Failed(QStringLiteral("Il file dei dati \"%1\" non esiste.").arg(Shown(dataFile)));
  }
  if (Status folder = EnsureFolder(); !folder) return folder;

  const std::vector<BackupFile> existing = List(data.fileName());
  const qint64 sequence = existing.empty() ? 1 : existing.front().sequence + 1;
  const QString base = BaseName(dataFile);
  const QString target =
      QDir(m_folder).filePath(QStringLiteral("%1-%2-%3.sqlite")
                                  .arg(base, Stamp(QDateTime::currentDateTimeUtc()))
                                  .arg(sequence, 6, 10, QLatin1Char('0')));

  // Made under a name no listing picks up, and given its real name only once
  // it is complete and checked.
  QTemporaryFile scratch(QDir(m_folder).filePath(QStringLiteral(".%1.partial-XXXXXX").arg(base)));
  if (!scratch.open()) {
    return Status::Failed(QStringLiteral("Impossibile scrivere nella cartella delle copie di sicurezza "
                                         "\"%1\": %2.")
                              .arg(Shown(m_folder), scratch.errorString()));
  }
  scratch.close();
  if (Status copied = CopyDatabase(dataFile, scratch.fileName()); !copied) return copied;
  if (requireIntact) {
    // A damaged copy would push a sound one out of the last ten.
    if (Status sound = CheckIntegrity(scratch.fileName()); !sound) {
      return Status::Failed(QStringLiteral("La copia di \"%1\" non è integra (%2): non è stata conservata.")
                                .arg(Shown(dataFile), sound.Message()));
    }
  }
  const QString scratchPath = scratch.fileName();
  scratch.setAutoRemove(false);
  if (!QFile::rename(scratchPath, target)) {
    QFile::remove(scratchPath);
    return Status::Failed(QStringLiteral("Impossibile salvare la copia di sicurezza \"%1\".").arg(Shown(target)));
  }
  QFile::setPermissions(target, QFile::permissions(dataFile));
  made = target;
  return Status::Ok();
}

void BackupStore::Prune(const QString& dataFileName, const QString& keep) const {
  const std::vector<BackupFile> all = List(dataFileName);
  const bool keepListed =
      std::any_of(all.begin(), all.end(), [&](const BackupFile& b) { return b.path == keep; });
  int room = m_kept - (keepListed ? 1 : 0);
  for (const BackupFile& backup : all) {
    if (backup.path == keep) continue;
    if (room > 0) {
      --room;
      continue;
    }
    QFile::remove(backup.path);
  }
}

Status BackupStore::TakeBackup(const QString& dataFile, QString* made) {
  QString path;
  if (Status taken = MakeBackup(dataFile, true, path); !taken) return taken;
  Prune(QFileInfo(dataFile).fileName(), path);
  if (made != nullptr) *made = path;
  return Status::Ok();
}

Status BackupStore::SetAside(const QString& dataFile, QString& moved) const {
  if (Status folder = EnsureFolder(); !folder) return folder;
  const QString target = QDir(m_folder).filePath(
      QStringLiteral("%1-danneggiato-%2.sqlite").arg(BaseName(dataFile), Stamp(QDateTime::currentDateTimeUtc())));
  if (QFileInfo::exists(target) || !QFile::rename(dataFile, target)) {
    return Status::Failed(QStringLiteral("Impossibile spostare \"%1\" in \"%2\".").arg(Shown(dataFile), Shown(target)));
  }
  moved = target;
  return Status::Ok();
}

Status BackupStore::Restore(const BackupFile& backup, const QString& dataFile, QString* safety) {
  const QString notDone = QStringLiteral(" Il ripristino non è stato fatto.");
  if (Status sound = CheckIntegrity(backup.path); !sound) {
    return Status::Failed(QStringLiteral("La copia di sicurezza \"%1\" è danneggiata (%2).")
                              .arg(Shown(backup.path), sound.Message()) + notDone);
  }
  if (!RecordCountOf(backup.path)) {
    return Status::Failed(QStringLiteral("La copia di sicurezza \"%1\" non contiene la tabella dei dati.")
                              .arg(Shown(backup.path)) + notDone);
  }

  // What the data file holds now is kept first, even when it is damaged:
  // it may be all there is of the latest changes.
  QString saved;
  if (QFileInfo::exists(dataFile)) {
    const Status kept = detail::LooksLikeSqlite(dataFile) ? MakeBackup(dataFile, false, saved)
                                                          : SetAside(dataFile, saved);
    if (!kept) {
      return Status::Failed(QStringLiteral("Non è stato possibile salvare prima i dati attuali: %1")
                                .arg(kept.Message()) + notDone);
    }
  }
  // The copy is one transaction: when it fails the data file is as it was.
  if (Status copied = CopyDatabase(backup.path, dataFile); !copied) {
    return Status::Failed(copied.Message() + notDone);
  }
  Prune(QFileInfo(dataFile).fileName(), backup.path);
  if (safety != nullptr) *safety = saved;
  return Status::Ok();
}

}  // namespace loads
