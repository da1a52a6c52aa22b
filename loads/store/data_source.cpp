#include "loads/data_source.h"

namespace loads {

DataSource::DataSource(LoadTable* table, QObject* parent) : QObject(parent), m_table(table) {
  connect(table, &LoadTable::DataChanged, this, &DataSource::DataChanged);
  connect(table, &LoadTable::FieldChanged, this, &DataSource::FieldChanged);
  connect(table, &LoadTable::StateChanged, this, &DataSource::StateChanged);
}

Status DataSource::EditForTyping() {
  if (m_table == nullptr) return Status::Failed(QStringLiteral("Nessuna tabella collegata."));
  if (m_table->Editing()) return Status::Ok();
  if (!m_autoEdit) return Status::Failed(QStringLiteral("Il record non è in modifica."));
  return m_table->Edit();
}

}  // namespace loads
