#include "loads/data_grid.h"

#include <QHeaderView>

namespace loads {

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent), m_model(new LoadTableModel({}, this)), m_onError(CriticalBox(this)) {
  setModel(m_model);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed);
  // By pixel: a grid with one column wider than itself must still scroll sideways.
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->setDefaultSectionSize(18);  // pixels
  verticalHeader()->setMinimumWidth(12);
  horizontalHeader()->setHighlightSections(false);
  m_model->SetErrorHandler([this](const QString& m) {
    if (m_onError) m_onError(m);
  });
}

void DataGrid::SetColumns(std::vector<GridColumn> columns) {
  m_model->SetColumns(std::move(columns));
  FollowTable();
}

void DataGrid::SetErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }

void DataGrid::SetDataSource(DataSource* source) {
  disconnect(m_follow);
  m_following = true;
  m_model->SetDataSource(source);
  m_following = false;
  if (source != nullptr) m_follow = connect(source, &DataSource::DataChanged, this, &DataGrid::FollowTable);
  FollowTable();
}

void DataGrid::FollowTable() {
  const DataSource* source = m_model->Source();
  const LoadTable* table = source ? source->DataSet() : nullptr;
  if (table == nullptr || !table->Active() || table->RecNo() < 0) return;
  const int column = currentIndex().isValid() ? currentIndex().column() : 0;
  const QModelIndex target = m_model->index(table->RecNo(), column);
  if (target == currentIndex()) return;
  m_following = true;
  setCurrentIndex(target);
  m_following = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (m_following || !current.isValid()) return;
  DataSource* source = m_model->Source();
  LoadTable* table = source ? source->DataSet() : nullptr;
  if (table == nullptr || current.row() == table->RecNo()) return;
  if (const Status moved = table->MoveTo(current.row()); !moved) {
    if (m_onError) m_onError(moved.Message());
  }
  // Back to the table's record when the move was refused (or shifted rows).
  FollowTable();
}

}  // namespace loads
