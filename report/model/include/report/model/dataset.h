#pragma once

// The report dataset contract (`TRepDataSet`): what the engine walks and what
// expressions read. An adapter supplies the table primitives; the range rules
// (RangeBegin, RangeEnd), the field list with aliases and RecNo are here.
//
// Every dataset enters a process-wide registry when it is created and leaves
// it when it is destroyed; a report finds the datasets its template names
// there by user name.

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

#include "report/expr/scope.h"
#include "report/expr/value.h"

namespace report {

enum class RangeBegin { rbFirst, rbCurrent };
enum class RangeEnd { reLast, reCurrent, reCount };

class DataSet : public expr::FieldSource {
 public:
  explicit DataSet(QString userName);
  ~DataSet() override;
  DataSet(const DataSet&) = delete;
  DataSet& operator=(const DataSet&) = delete;

  const QString& UserNameText() const { return m_userName; }
  void SetUserName(QString name);
  std::string_view UserName() const override { return m_userNameUtf8; }

  RangeBegin GetRangeBegin() const { return m_rangeBegin; }
  void SetRangeBegin(RangeBegin v) { m_rangeBegin = v; }
  RangeEnd GetRangeEnd() const { return m_rangeEnd; }
  void SetRangeEnd(RangeEnd v) { m_rangeEnd = v; }
  int RangeEndCount() const { return m_rangeEndCount; }
  void SetRangeEndCount(int v) { m_rangeEndCount = v; }
  bool CloseDataSource() const { return m_closeDataSource; }
  void SetCloseDataSource(bool v) { m_closeDataSource = v; }
  // "alias=field" lines; empty: every field under its own name.
  const QStringList& FieldAliases() const { return m_fieldAliases; }
  void SetFieldAliases(QStringList aliases) { m_fieldAliases = std::move(aliases); }

  // Around a build. Initialize throws expr::Error when the dataset has no table.
  virtual void Initialize();
  virtual void Finalize();
  // On first use: opens the table and builds the field list.
  void Open();
  void First();
  void Next();
  bool Eof();
  int RecNo() const { return m_recNo; }
  // The names expressions may use (aliases or the table's field names).
  std::vector<std::string> FieldNames();

  // FieldSource
  std::optional<expr::Value> FieldValue(std::string_view field) override;
  std::optional<std::string> FieldDisplayText(std::string_view field) override;
  expr::FieldType FieldKind(std::string_view field) override;
  bool IsBlobField(std::string_view field) override;

 protected:
  // The table primitives. Failures throw expr::Error with the table's text.
  virtual void TableOpen() = 0;   // a no-op when the table is open
  virtual void TableClose() = 0;
  virtual void TableFirst() = 0;
  virtual void TableNext() = 0;
  virtual bool TableEof() const = 0;
  virtual int TableRow() const = 0;        // the current row, as a bookmark
  virtual void TableGoTo(int row) = 0;
  virtual std::vector<std::string> TableFieldNames() const = 0;
  virtual expr::Value TableValue(int field) const = 0;  // of the current row
  virtual std::string TableDisplayText(int field) const = 0;
  virtual expr::FieldType TableFieldKind(int field) const = 0;
  virtual bool TableIsBlob(int /*field*/) const { return false; }

  // For an adapter whose table opened or closed behind the report's back.
  void TableOpened();
  void TableClosing();

 private:
  int FieldIndex(std::string_view field);

  QString m_userName;
  std::string m_userNameUtf8;
  RangeBegin m_rangeBegin = RangeBegin::rbFirst;
  RangeEnd m_rangeEnd = RangeEnd::reLast;
  int m_rangeEndCount = 0;
  bool m_closeDataSource = false;
  QStringList m_fieldAliases;

  bool m_opened = false;
  bool m_endReached = false;
  int m_recNo = 0;
  std::optional<int> m_bookmark;
  struct FieldEntry {
    std::string name;
    int tableField;
  };
  std::vector<FieldEntry> m_fields;
};

// The process-wide list of datasets, guarded by a lock.
namespace DataSetRegistry {
// The first registered dataset with that user name (without regard to case).
DataSet* Find(const QString& userName);
std::vector<DataSet*> All();
}  // namespace DataSetRegistry

}  // namespace report
