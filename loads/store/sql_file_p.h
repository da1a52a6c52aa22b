#pragma once

#include <QSqlDatabase>
#include <QString>

#include "loads/sample_loads.h"
#include "loads/status.h"

namespace loads::detail {

// Every write of the store goes through one of these: begun on creation,
// rolled back on destruction unless committed.
class Transaction {
 public:
  explicit Transaction(QSqlDatabase db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool Begun() const { return m_begun; }
  bool Commit();

 private:
  QSqlDatabase m_db;
  bool m_begun = false;
  bool m_committed = false;
};

// The driver's own words for the last error of a connection or query.
QString Reason(const class QSqlError& error);

// True when the file starts like an SQLite database. Anything else, an empty
// file included, is not one of ours and must not be handed to SQLite, which
// would happily start a new database in it.
bool LooksLikeSqlite(const QString& path);

// Writes a new load file with the table and the sample loads of `seed` next
// to `path` and moves it into place, so that a crash never leaves a half-made
// file behind. Fails when `path` appeared meanwhile.
Status CreateSeededFile(const QString& path, SampleSet seed);

// Quotes a column or table name for SQL.
QString Quoted(const QString& identifier);

}  // namespace loads::detail
