#include "loads/load_table.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <array>

#include "loads/data_folder.h"
#include "regional/regional.h"
#include "sql_file_p.h"

namespace loads {

namespace {

// The fields the window, the calculator and the reports rely on.
constexpr std::array kRequiredFields{"tipologia", "copalle", "Palle", "coinn", "Inneschi", "CoPol",
                                     "Polvere", "CoBoss", "Bossoli", "Minima", "Massima"};

FieldKind KindOfDeclaredType(const QString& declared) {
  const QString type = declared.toUpper();
  if (type.contains(QLatin1String("BOOL"))) return FieldKind::Boolean;
  if (type.contains(QLatin1String("INT"))) return FieldKind::Integer;
  if (type.contains(QLatin1String("REAL")) || type.contains(QLatin1String("FLOA")) ||
      type.contains(QLatin1String("DOUB")) || type.contains(QLatin1String("NUM")) ||
      type.contains(QLatin1String("DEC"))) {
    return FieldKind::Real;
  }
  return FieldKind::Text;
}

QVariant Typed(FieldKind kind, const QVariant& stored) {
  if (!stored.isValid() || stored.isNull()) return {};
  switch (kind) {
    case FieldKind::Text:
      return stored.toString();
    case FieldKind::Integer:
      return stored.toLongLong();
    case FieldKind::Real:
      return stored.toDouble();
    case FieldKind::Boolean:
      return stored.toBool();
  }
  return stored;
}

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

LoadTable::LoadTable(QString filePath, SampleSet seed, QObject* parent)
    : QObject(parent),
      m_filePath(std::move(filePath)),
      m_seed(seed),
      m_connection(QStringLiteral("versanto-table-") + QUuid::createUuid().toString()),
      m_regional(regional::Neutral()) {}

// Nobody is told: what listens is going away with the window too.
LoadTable::~LoadTable() {
  const QSignalBlocker quiet(this);
  Close();
}

void LoadTable::SetRegional(const regional::Regional& regional) {
  m_regional = regional;
  if (Active()) emit DataChanged();
}

Status LoadTable::CheckActive() const {
  if (Active()) return Status::Ok();
  return Status::Failed(QStringLiteral("La tabella del file \"%1\" non è aperta.").arg(Shown(m_filePath)));
}

Status LoadTable::EnsureFile() {
  const QFileInfo info(m_filePath);
  if (!info.exists()) return detail::CreateSeededFile(m_filePath, m_seed);
  if (!info.isFile()) {
    return Status::Failed(
        QStringLiteral("\"%1\" non è un file di dati: è una cartella o un file speciale.")
            .arg(Shown(m_filePath)));
  }
  if (!detail::LooksLikeSqlite(m_filePath)) {
    return Status::Failed(
        QStringLiteral("Il file \"%1\" non è un database di Versanto (non è un database SQLite). "
                       "Il file non è stato modificato.")
            .arg(Shown(m_filePath)));
  }
  return Status::Ok();
}

Status LoadTable::Validate() {
  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  QSqlQuery query(db);
  if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(detail::Quoted(kTableName)))) {
    return Status::Failed(QStringLiteral("Il file \"%1\" non è leggibile: %2. Il file non è stato "
                                         "modificato.")
                              .arg(Shown(m_filePath), detail::Reason(query.lastError())));
  }
  m_fields.clear();
  m_rowIdColumn.clear();
  int keyColumns = 0;
  QString integerKey;
  while (query.next()) {
    const QString name = query.value(1).toString();
    const QString type = query.value(2).toString();
    if (query.value(5).toInt() > 0) {
      ++keyColumns;
      if (type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0) integerKey = name;
    }
    m_fields.push_back({name, KindOfDeclaredType(type)});
  }
  if (m_fields.empty()) {
    return Status::Failed(QStringLiteral("Il file \"%1\" non contiene la tabella %2. Il file non è "
                                         "stato modificato.")
                              .arg(Shown(m_filePath), QString::fromLatin1(kTableName)));
  }
  // An INTEGER PRIMARY KEY is the row's own number: it identifies the record
  // and is not one of the load's fields.
  if (keyColumns == 1 && !integerKey.isEmpty()) {
    m_rowIdColumn = integerKey;
    std::erase_if(m_fields, [&](const FieldDef& f) { return f.name == integerKey; });
  }
  for (const char* required : kRequiredFields) {
    if (FieldIndex(QString::fromLatin1(required)) < 0) {
      return Status::Failed(
          QStringLiteral("Nel file \"%1\" la tabella %2 non ha il campo \"%3\". Il file non è "
                         "stato modificato.")
              .arg(Shown(m_filePath), QString::fromLatin1(kTableName), QString::fromLatin1(required)));
    }
  }
  return Status::Ok();
}

Status LoadTable::ReadRows(std::vector<Row>& rows) const {
  QStringList columns;
  for (const FieldDef& f : m_fields) columns << detail::Quoted(f.name);
  QSqlQuery query(QSqlDatabase::database(m_connection, false));
  query.setForwardOnly(true);
  const QString sql = QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                          .arg(columns.join(QStringLiteral(", ")), detail::Quoted(kTableName));
  if (!query.exec(sql)) {
    return Status::Failed(QStringLiteral("Impossibile leggere la tabella %1 del file \"%2\": %3.")
                              .arg(QString::fromLatin1(kTableName), Shown(m_filePath),
                                   detail::Reason(query.lastError())));
  }
  rows.clear();
  while (query.next()) {
    Row row;
    row.rowId = query.value(0).toLongLong();
    row.values.reserve(m_fields.size());
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
      row.values.push_back(Typed(m_fields[i].kind, query.value(static_cast<int>(i) + 1)));
    }
    rows.push_back(std::move(row));
  }
  return Status::Ok();
}

Status LoadTable::Open() {
  if (Active()) return Status::Ok();
  if (Status file = EnsureFile(); !file) return file;

  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_filePath);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    if (!db.open()) {
      const QString reason = detail::Reason(db.lastError());
      db = QSqlDatabase();
      QSqlDatabase::removeDatabase(m_connection);
      return Status::Failed(QStringLiteral("Impossibile aprire il file \"%1\": %2.")
                                .arg(Shown(m_filePath), reason));
    }
  }
  std::vector<Row> rows;
  Status ready = Validate();
  if (ready) ready = ReadRows(rows);
  if (!ready) {
    Close();
    return ready;
  }
  m_rows = std::move(rows);
  m_typed.assign(m_fields.size(), std::nullopt);
  m_modified = false;
  SetState(TableState::Browse);
  emit RowsReset();
  SetCurrent(m_rows.empty() ? -1 : 0, true, m_rows.empty());
  return Status::Ok();
}

void LoadTable::Close() {
  if (QSqlDatabase::contains(m_connection)) {
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
  }
  const bool wasActive = Active();
  m_rows.clear();
  m_fields.clear();
  m_typed.clear();
  m_current = -1;
  m_bof = m_eof = true;
  m_modified = false;
  if (wasActive) {
    SetState(TableState::Inactive);
    emit RowsReset();
    emit DataChanged();
  }
}

void LoadTable::SetState(TableState state) {
  if (m_state == state) return;
  m_state = state;
  emit StateChanged(state);
}

void LoadTable::SetCurrent(int row, bool bof, bool eof) {
  m_current = row;
  m_bof = bof || m_rows.empty();
  m_eof = eof || m_rows.empty();
  emit DataChanged();
}

Status LoadTable::CheckBrowseMode() {
  if (Status active = CheckActive(); !active) return active;
  if (!Editing()) return Status::Ok();
  // Leaving an untouched record is not a change worth writing.
  if (!m_modified) {
    Cancel();
    return Status::Ok();
  }
  return Post();
}

Status LoadTable::First() {
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  SetCurrent(m_rows.empty() ? -1 : 0, true, false);
  return Status::Ok();
}

Status LoadTable::Last() {
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  SetCurrent(RecordCount() - 1, false, true);
  return Status::Ok();
}

Status LoadTable::Prior() {
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  if (m_current <= 0) {
    SetCurrent(m_current, true, false);
  } else {
    SetCurrent(m_current - 1, false, false);
  }
  return Status::Ok();
}

Status LoadTable::Next() {
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  if (m_current >= RecordCount() - 1) {
    SetCurrent(m_current, false, true);
  } else {
    SetCurrent(m_current + 1, false, false);
  }
  return Status::Ok();
}

Status LoadTable::MoveTo(int row) {
  if (Status active = CheckActive(); !active) return active;
  if (row == m_current) return Status::Ok();
  if (row < 0 || row >= RecordCount()) return Status::Ok();
  // Leaving an inserted record that is dropped shifts the rows after it.
  const bool dropsRowBefore = Editing() && !m_modified && m_state == TableState::Insert && row > m_current;
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  SetCurrent(dropsRowBefore ? row - 1 : row, false, false);
  return Status::Ok();
}

Status LoadTable::Insert() {
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  const int at = m_current < 0 ? 0 : m_current;
  Row row;
  row.values.assign(m_fields.size(), QVariant());
  m_rows.insert(m_rows.begin() + at, std::move(row));
  m_rowBeforeInsert = m_current;
  m_typed.assign(m_fields.size(), std::nullopt);
  m_modified = false;
  emit RowInserted(at);
  SetState(TableState::Insert);
  SetCurrent(at, false, false);
  return Status::Ok();
}

Status LoadTable::Edit() {
  if (Status active = CheckActive(); !active) return active;
  if (Editing()) return Status::Ok();
  if (m_rows.empty()) return Insert();
  m_typed.assign(m_fields.size(), std::nullopt);
  m_modified = false;
  SetState(TableState::Edit);
  return Status::Ok();
}

void LoadTable::DropInsertedRow() {
  const int at = m_current;
  m_rows.erase(m_rows.begin() + at);
  emit RowRemoved(at);
  int back = m_rowBeforeInsert;
  if (back >= RecordCount()) back = RecordCount() - 1;
  m_current = back;
}

void LoadTable::Cancel() {
  if (!Editing()) return;
  const bool inserting = m_state == TableState::Insert;
  m_typed.assign(m_fields.size(), std::nullopt);
  m_modified = false;
  if (inserting) DropInsertedRow();
  SetState(TableState::Browse);
  if (!inserting && m_current >= 0) emit RowChanged(m_current);
  SetCurrent(m_current, false, false);
}

std::optional<QVariant> LoadTable::Converted(int field, const QString& text, QString& error) const {
  const FieldKind kind = m_fields[static_cast<std::size_t>(field)].kind;
  if (kind == FieldKind::Text) return QVariant(text);
  if (text.trimmed().isEmpty()) return QVariant();
  const std::string utf8 = text.toStdString();
  switch (kind) {
    case FieldKind::Integer:
      if (const auto value = regional::ParseInteger(utf8)) return QVariant(qint64{*value});
      error = QStringLiteral("'%1' is not a valid integer value").arg(text);
      return std::nullopt;
    case FieldKind::Real:
      if (const auto value = regional::ParseFloat(utf8, m_regional)) return QVariant(*value);
      error = QStringLiteral("'%1' is not a valid floating point value").arg(text);
      return std::nullopt;
    case FieldKind::Boolean: {
      const QString t = text.trimmed().toLower();
      if (t == QLatin1String("true") || t == QLatin1String("1")) return QVariant(true);
      if (t == QLatin1String("false") || t == QLatin1String("0")) return QVariant(false);
      error = QStringLiteral("'%1' is not a valid boolean value").arg(text);
      return std::nullopt;
    }
    case FieldKind::Text:
      break;
  }
  return QVariant(text);
}

QString LoadTable::WriteFailed(const QString& what, const QString& reason) const {
  return QStringLiteral("Impossibile %1 nel file \"%2\": %3.").arg(what, Shown(m_filePath), reason);
}

Status LoadTable::Post() {
  if (Status active = CheckActive(); !active) return active;
  if (!Editing()) return Status::Ok();

  Row& row = m_rows[static_cast<std::size_t>(m_current)];
  std::vector<QVariant> values = row.values;
  for (std::size_t i = 0; i < m_fields.size(); ++i) {
    if (!m_typed[i]) continue;
    QString error;
    auto value = Converted(static_cast<int>(i), *m_typed[i], error);
    if (!value) return Status::Failed(error);
    values[i] = std::move(*value);
  }

  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  detail::Transaction transaction(db);
  if (!transaction.Begun()) {
    return Status::Failed(WriteFailed(QStringLiteral("salvare il record"), detail::Reason(db.lastError())));
  }
  QSqlQuery query(db);
  QStringList columns;
  for (const FieldDef& f : m_fields) columns << detail::Quoted(f.name);
  const bool inserting = m_state == TableState::Insert;
  QString sql;
  if (inserting) {
    sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(detail::Quoted(kTableName), columns.join(QStringLiteral(", ")),
                   QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
  } else {
    for (QString& c : columns) c += QStringLiteral(" = ?");
    sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
              .arg(detail::Quoted(kTableName), columns.join(QStringLiteral(", ")));
  }
  if (!query.prepare(sql)) {
    return Status::Failed(WriteFailed(QStringLiteral("salvare il record"), detail::Reason(query.lastError())));
  }
  for (std::size_t i = 0; i < values.size(); ++i) query.addBindValue(values[i]);
  if (!inserting) query.addBindValue(row.rowId);
  if (!query.exec()) {
    return Status::Failed(WriteFailed(QStringLiteral("salvare il record"), detail::Reason(query.lastError())));
  }
  if (!inserting && query.numRowsAffected() != 1) {
    return Status::Failed(WriteFailed(QStringLiteral("salvare il record"),
                                      QStringLiteral("il record non esiste più")));
  }
  const qint64 newRowId = inserting ? query.lastInsertId().toLongLong() : row.rowId;
  query.finish();
  if (!transaction.Commit()) {
    return Status::Failed(WriteFailed(QStringLiteral("salvare il record"), detail::Reason(db.lastError())));
  }

  row.values = std::move(values);
  row.rowId = newRowId;
  m_typed.assign(m_fields.size(), std::nullopt);
  m_modified = false;
  SetState(TableState::Browse);
  emit RowChanged(m_current);
  emit DataChanged();
  return Status::Ok();
}

Status LoadTable::Delete() {
  if (Status active = CheckActive(); !active) return active;
  if (m_state == TableState::Insert) {
    Cancel();
    return Status::Ok();
  }
  if (m_rows.empty()) {
    return Status::Failed(QStringLiteral("La tabella è vuota: non c'è nessun record da cancellare."));
  }
  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  {
    detail::Transaction transaction(db);
    QSqlQuery query(db);
    const bool done =
        transaction.Begun() &&
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(detail::Quoted(kTableName)));
    if (done) query.addBindValue(m_rows[static_cast<std::size_t>(m_current)].rowId);
    if (!done || !query.exec()) {
      const QSqlError error = done ? query.lastError() : db.lastError();
      return Status::Failed(WriteFailed(QStringLiteral("cancellare il record"), detail::Reason(error)));
    }
    query.finish();
    if (!transaction.Commit()) {
      return Status::Failed(WriteFailed(QStringLiteral("cancellare il record"), detail::Reason(db.lastError())));
    }
  }
  const int at = m_current;
  m_rows.erase(m_rows.begin() + at);
  m_typed.assign(m_fields.size(), std::nullopt);
  m_modified = false;
  SetState(TableState::Browse);
  emit RowRemoved(at);
  SetCurrent(at < RecordCount() ? at : RecordCount() - 1, false, false);
  return Status::Ok();
}

Status LoadTable::AppendRecords(const std::vector<std::vector<QVariant>>& records) {
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  if (records.empty()) return Status::Ok();
  for (const auto& values : records) {
    if (values.size() != m_fields.size()) {
      return Status::Failed(WriteFailed(QStringLiteral("aggiungere i record"),
                                        QStringLiteral("numero di campi errato")));
    }
  }
  QStringList columns;
  for (const FieldDef& f : m_fields) columns << detail::Quoted(f.name);
  const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(detail::Quoted(kTableName), columns.join(QStringLiteral(", ")),
                               QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));

  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  std::vector<Row> added;
  added.reserve(records.size());
  {
    detail::Transaction transaction(db);
    if (!transaction.Begun()) {
      return Status::Failed(WriteFailed(QStringLiteral("aggiungere i record"), detail::Reason(db.lastError())));
    }
    QSqlQuery query(db);
    if (!query.prepare(sql)) {
      return Status::Failed(WriteFailed(QStringLiteral("aggiungere i record"), detail::Reason(query.lastError())));
    }
    for (const auto& values : records) {
      for (std::size_t i = 0; i < values.size(); ++i) query.bindValue(static_cast<int>(i), values[i]);
      if (!query.exec()) {
        return Status::Failed(WriteFailed(QStringLiteral("aggiungere i record"), detail::Reason(query.lastError())));
      }
      Row row;
      row.rowId = query.lastInsertId().toLongLong();
      for (std::size_t i = 0; i < values.size(); ++i) row.values.push_back(Typed(m_fields[i].kind, values[i]));
      added.push_back(std::move(row));
    }
    query.finish();
    if (!transaction.Commit()) {
      return Status::Failed(WriteFailed(QStringLiteral("aggiungere i record"), detail::Reason(db.lastError())));
    }
  }
  const int first = RecordCount();
  m_rows.insert(m_rows.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  emit RowsReset();
  SetCurrent(first, false, false);
  return Status::Ok();
}

Status LoadTable::Refresh() {
  if (Status ready = CheckBrowseMode(); !ready) return ready;
  std::vector<Row> rows;
  if (Status read = ReadRows(rows); !read) return read;
  m_rows = std::move(rows);
  emit RowsReset();
  const int row = m_current < RecordCount() ? m_current : RecordCount() - 1;
  SetCurrent(row < 0 && !m_rows.empty() ? 0 : row, false, false);
  return Status::Ok();
}

int LoadTable::FieldIndex(QStringView name) const {
  for (std::size_t i = 0; i < m_fields.size(); ++i) {
    if (QStringView(m_fields[i].name).compare(name, Qt::CaseInsensitive) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

QString LoadTable::DisplayText(int field, const QVariant& value) const {
  if (!value.isValid() || value.isNull()) return {};
  switch (m_fields[static_cast<std::size_t>(field)].kind) {
    case FieldKind::Text:
      return value.toString();
    case FieldKind::Integer:
      return QString::number(value.toLongLong());
    case FieldKind::Real:
      return QString::fromStdString(regional::FormatGeneral(value.toDouble(), m_regional));
    case FieldKind::Boolean:
      return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
  }
  return value.toString();
}

FieldValue LoadTable::Value(int row, int field) const {
  if (field < 0 || field >= static_cast<int>(m_fields.size())) return {};
  if (row < 0 || row >= RecordCount()) return {};
  const auto f = static_cast<std::size_t>(field);
  return {m_fields[f].kind, m_rows[static_cast<std::size_t>(row)].values[f]};
}

FieldValue LoadTable::Value(QStringView name) const {
  const int field = FieldIndex(name);
  if (field < 0 || m_current < 0) return {};
  const auto f = static_cast<std::size_t>(field);
  FieldValue result{m_fields[f].kind, m_rows[static_cast<std::size_t>(m_current)].values[f]};
  if (Editing() && m_typed[f]) {
    QString ignored;
    result.value = Converted(field, *m_typed[f], ignored).value_or(QVariant());
  }
  return result;
}

QString LoadTable::FieldText(QStringView name) const { return FieldText(FieldIndex(name)); }

QString LoadTable::FieldText(int field) const { return FieldText(m_current, field); }

QString LoadTable::FieldText(int row, int field) const {
  if (field < 0 || field >= static_cast<int>(m_fields.size())) return {};
  if (row < 0 || row >= RecordCount()) return {};
  if (row == m_current && Editing() && m_typed[static_cast<std::size_t>(field)]) {
    return *m_typed[static_cast<std::size_t>(field)];
  }
  return DisplayText(field, m_rows[static_cast<std::size_t>(row)].values[static_cast<std::size_t>(field)]);
}

Status LoadTable::SetFieldText(QStringView name, const QString& text) {
  const int field = FieldIndex(name);
  if (field < 0 && Active()) {
    return Status::Failed(QStringLiteral("Campo \"%1\" sconosciuto.").arg(name.toString()));
  }
  return SetFieldText(field, text);
}

Status LoadTable::SetFieldText(int field, const QString& text) {
  if (Status active = CheckActive(); !active) return active;
  if (!Editing()) {
    return Status::Failed(QStringLiteral("Il record non è in modifica: premere Modifica prima."));
  }
  if (field < 0 || field >= static_cast<int>(m_fields.size())) {
    return Status::Failed(QStringLiteral("Campo sconosciuto."));
  }
  if (FieldText(field) == text) return Status::Ok();
  m_typed[static_cast<std::size_t>(field)] = text;
  m_modified = true;
  emit FieldChanged(field);
  emit RowChanged(m_current);
  return Status::Ok();
}

}  // namespace loads
