#pragma once

#include <QPointer>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "loads/data_source.h"
#include "report/expr/scope.h"

// The rows of one load table as a cost list walks them: through the table's
// data source, so the window's bound controls follow every move, as they do
// when the user browses. Nothing here copies or caches the table.
namespace report::lists {

class LoadTableRows : public expr::FieldSource {
 public:
  // `userName` is the name the template's expressions use ("repDBDataset1").
  LoadTableRows(std::string userName, loads::DataSource* source);

  std::string_view UserName() const override { return m_userName; }
  loads::DataSource* Source() const { return m_source; }

  // Opens a closed table (and leaves it open). A table that cannot be opened
  // gives its own message, which the build shows in its error box.
  loads::Status Open();
  // First and Next post a change the user is still editing, as any move does;
  // when that fails the table stays where it was and the message says why.
  loads::Status First();
  loads::Status Next();
  // At the end after the last row, and at once on an empty table.
  bool Eof() const;
  // Rows walked since First, from 0.
  int RecNo() const { return m_recNo; }
  // The table's field names, in the file's order.
  std::vector<std::string> FieldNames() const;

  std::optional<expr::Value> FieldValue(std::string_view field) override;
  std::optional<std::string> FieldDisplayText(std::string_view field) override;
  expr::FieldType FieldKind(std::string_view field) override;
  // Load tables have no large-text fields.
  bool IsBlobField(std::string_view) override { return false; }

 private:
  loads::LoadTable* Table() const;
  int FieldIndex(std::string_view field) const;

  std::string m_userName;
  QPointer<loads::DataSource> m_source;
  int m_recNo = 0;
};

}  // namespace report::lists
