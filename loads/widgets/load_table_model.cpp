#include "loads/load_table_model.h"

namespace loads {

LoadTableModel::LoadTableModel(std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

LoadTable* LoadTableModel::Table() const {
  LoadTable* table = m_source ? m_source->DataSet() : nullptr;
  return table != nullptr && table->Active() ? table : nullptr;
}

void LoadTableModel::Reset() {
  beginResetModel();
  endResetModel();
}

void LoadTableModel::SetColumns(std::vector<GridColumn> columns) {
  beginResetModel();
  m_columns = std::move(columns);
  endResetModel();
}

void LoadTableModel::SetDataSource(DataSource* source) {
  for (const auto& c : m_connections) disconnect(c);
  m_connections.clear();
  beginResetModel();
  m_source = source;
  endResetModel();
  if (source == nullptr || source->DataSet() == nullptr) return;
  LoadTable* table = source->DataSet();
  // Inserted and removed rows are announced after the fact, so the rows are
  // read anew; a load table holds a few hundred records at most.
  m_connections.push_back(connect(table, &LoadTable::RowsReset, this, &LoadTableModel::Reset));
  m_connections.push_back(connect(table, &LoadTable::RowInserted, this, &LoadTableModel::Reset));
  m_connections.push_back(connect(table, &LoadTable::RowRemoved, this, &LoadTableModel::Reset));
  m_connections.push_back(connect(table, &LoadTable::RowChanged, this, [this](int row) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
  }));
  m_connections.push_back(connect(table, &LoadTable::StateChanged, this, [this] {
    if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
  }));
  m_connections.push_back(connect(table, &LoadTable::DataChanged, this, [this] {
    if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
  }));
}

int LoadTableModel::rowCount(const QModelIndex& parent) const {
  const LoadTable* table = Table();
  return parent.isValid() || table == nullptr ? 0 : table->RecordCount();
}

int LoadTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant LoadTableModel::data(const QModelIndex& index, int role) const {
  const LoadTable* table = Table();
  if (table == nullptr || !index.isValid()) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const auto& column = m_columns[static_cast<std::size_t>(index.column())];
  return table->FieldText(index.row(), table->FieldIndex(column.field));
}

bool LoadTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  LoadTable* table = Table();
  if (table == nullptr || !index.isValid() || role != Qt::EditRole) return false;
  Status status = table->MoveTo(index.row());
  if (status) status = m_source->EditForTyping();
  if (status) {
    const auto& column = m_columns[static_cast<std::size_t>(index.column())];
    status = table->SetFieldText(column.field, value.toString());
  }
  if (!status) {
    if (m_onError) m_onError(status.Message());
    return false;
  }
  return true;
}

Qt::ItemFlags LoadTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant LoadTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= columnCount()) return {};
    return m_columns[static_cast<std::size_t>(section)].title;
  }
  // The row indicator: where the current record is and what it is doing.
  const LoadTable* table = Table();
  if (table == nullptr || section != table->RecNo()) return QString();
  switch (table->State()) {
    case TableState::Insert:
      return QStringLiteral("*");
    case TableState::Edit:
      return QStringLiteral("I");
    default:
      return QStringLiteral("\u25B6");
  }
}

}  // namespace loads
