#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

#include "loads/sample_loads.h"
#include "loads/status.h"
#include "regional/regional.h"

namespace loads {

enum class TableState { Inactive, Browse, Edit, Insert };

enum class FieldKind { Text, Integer, Real, Boolean };

struct FieldDef {
  QString name;  // as the file writes it
  FieldKind kind = FieldKind::Text;
};

// A field's value with its kind; a null value (an empty box) has an invalid
// `value`.
struct FieldValue {
  FieldKind kind = FieldKind::Text;
  QVariant value;
  bool IsNull() const { return !value.isValid() || value.isNull(); }
};

// One table `DatiSpese` of a load file, read whole into memory when opened
// (a static cursor) and written back record by record.
//
// States: Inactive until Open; Browse; Edit after Edit() or the first typed
// change; Insert after Insert(). A record being edited or inserted is posted
// when the record is left (every move, Insert), or by Post(); Cancel() drops
// it. Every write is one SQLite transaction with bound parameters.
//
// Texts are the user's: numbers are shown and read with the regional
// settings given (decimal separator, no thousands separator, no currency
// sign). Typed texts are kept as they were typed until the record is posted,
// so a post that fails keeps the record in its edit state with the user's
// texts and says why.
//
// Bof() and Eof() follow the usual cursor rules: both are true on an empty
// table, Bof after First() or a Prior() on the first record, Eof after Last()
// or a Next() on the last record; a report walks the table with
// First(); while (!Eof()) { ...; Next(); }.
class LoadTable : public QObject {
  Q_OBJECT

 public:
  // `seed` picks the loads a missing file is created with.
  LoadTable(QString filePath, SampleSet seed, QObject* parent = nullptr);
  ~LoadTable() override;

  const QString& FilePath() const { return m_filePath; }
  void SetRegional(const regional::Regional& regional);
  const regional::Regional& Regional() const { return m_regional; }

  // Creates and seeds a missing file (and its folder), checks an existing one
  // and reads every record; the first becomes current. A file that is not a
  // load database is reported and left exactly as it is. Opening an open
  // table does nothing.
  Status Open();
  void Close();
  bool Active() const { return m_state != TableState::Inactive; }
  TableState State() const { return m_state; }
  bool Editing() const { return m_state == TableState::Edit || m_state == TableState::Insert; }
  bool Modified() const { return m_modified; }

  int RecordCount() const { return static_cast<int>(m_rows.size()); }
  int RecNo() const { return m_current; }  // 0-based; -1 when there is no record
  bool IsEmpty() const { return m_rows.empty(); }
  bool Bof() const { return m_bof; }
  bool Eof() const { return m_eof; }

  // Moves post a pending change first; when that fails nothing moves.
  Status First();
  Status Prior();
  Status Next();
  Status Last();
  Status MoveTo(int row);

  Status Insert();  // a new empty record before the current one, in Insert state
  Status Delete();  // the current record, from the file; no question asked here
  Status Edit();    // on an empty table this inserts, as typing there would
  Status Post();    // nothing to do outside Edit and Insert
  void Cancel();
  Status Refresh(); // posts, then reads the file again, keeping the position
  // Writes a pending change, or drops it when nothing was typed, so that the
  // table is in Browse state; what every move does first.
  Status CheckBrowseMode();

  // Adds `records` (values in Fields() order, null for an empty value) after
  // the last record, all in one transaction: either every record is written
  // or none is. The first record added becomes current.
  Status AppendRecords(const std::vector<std::vector<QVariant>>& records);

  const std::vector<FieldDef>& Fields() const { return m_fields; }
  int FieldIndex(QStringView name) const;  // without regard to case; -1 if unknown

  // The current record (with the change being edited; a typed text that
  // does not convert reads as null).
  FieldValue Value(QStringView name) const;
  QString FieldText(QStringView name) const;
  QString FieldText(int field) const;
  // Any record, as the grid shows it.
  QString FieldText(int row, int field) const;
  // Any record's stored value (a change being edited is not included).
  FieldValue Value(int row, int field) const;

  // Needs Edit or Insert state; the text is checked when the record is posted.
  Status SetFieldText(QStringView name, const QString& text);
  Status SetFieldText(int field, const QString& text);

 signals:
  // The current record moved or its contents changed: bound controls show it again.
  void DataChanged();
  // One field of the current record changed.
  void FieldChanged(int field);
  void StateChanged(loads::TableState state);
  // The set of records changed; rows are 0-based.
  void RowsReset();
  void RowInserted(int row);
  void RowRemoved(int row);
  void RowChanged(int row);

 private:
  struct Row {
    qint64 rowId = -1;  // -1: inserted, not yet written
    std::vector<QVariant> values;
  };

  Status CheckActive() const;
  Status EnsureFile();
  Status ReadRows(std::vector<Row>& rows) const;
  Status Validate();
  std::optional<QVariant> Converted(int field, const QString& text, QString& error) const;
  QString DisplayText(int field, const QVariant& value) const;
  void SetState(TableState state);
  void SetCurrent(int row, bool bof, bool eof);
  void DropInsertedRow();
  QString WriteFailed(const QString& what, const QString& reason) const;

  QString m_filePath;
  SampleSet m_seed;
  QString m_connection;
  regional::Regional m_regional;

  TableState m_state = TableState::Inactive;
  std::vector<FieldDef> m_fields;
  QString m_rowIdColumn;
  std::vector<Row> m_rows;
  int m_current = -1;
  bool m_bof = true;
  bool m_eof = true;

  // The record being edited: typed texts by field, until posted.
  std::vector<std::optional<QString>> m_typed;
  bool m_modified = false;
  int m_rowBeforeInsert = -1;
};

}  // namespace loads
