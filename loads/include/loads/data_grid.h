#pragma once

#include <QTableView>

#include "loads/load_table_model.h"

namespace loads {

// A grid over a data source whose current cell and the table's current record
// follow each other: clicking a row moves the table (posting a pending change),
// and a move of the table (navigator, report run) moves the grid.
class DataGrid : public QTableView {
  Q_OBJECT

 public:
  explicit DataGrid(QWidget* parent = nullptr);

  void SetColumns(std::vector<GridColumn> columns);
  void SetDataSource(DataSource* source);
  DataSource* Source() const { return m_model->Source(); }
  LoadTableModel* Model() const { return m_model; }
  void SetErrorHandler(ErrorHandler handler);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  void FollowTable();

  LoadTableModel* m_model;
  QMetaObject::Connection m_follow;
  ErrorHandler m_onError;
  bool m_following = false;
};

}  // namespace loads
