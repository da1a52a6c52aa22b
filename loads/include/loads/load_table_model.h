#pragma once

#include <QAbstractTableModel>
#include <QPointer>

#include <vector>

#include "loads/data_source.h"
#include "loads/error_handler.h"

namespace loads {

struct GridColumn {
  QString field;
  QString title;
};

// The records of a data source's table as grid rows, one column per chosen
// field. Editing a cell edits the current record, like typing into a bound box.
class LoadTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit LoadTableModel(std::vector<GridColumn> columns, QObject* parent = nullptr);

  void SetColumns(std::vector<GridColumn> columns);
  void SetDataSource(DataSource* source);
  DataSource* Source() const { return m_source; }
  void SetErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  LoadTable* Table() const;
  void Reset();

  std::vector<GridColumn> m_columns;
  QPointer<DataSource> m_source;
  std::vector<QMetaObject::Connection> m_connections;
  ErrorHandler m_onError;
};

}  // namespace loads
