#include "loads/field_link.h"

#include <QLineEdit>

namespace loads {

FieldLink::FieldLink(QLineEdit* edit, QString field, DataSource* source)
    : QObject(edit), m_edit(edit), m_field(std::move(field)), m_onError(CriticalBox(edit)) {
  setObjectName(QStringLiteral("fieldLink_") + m_field);
  connect(edit, &QLineEdit::textEdited, this, &FieldLink::Typed);
  SetDataSource(source);
}

FieldLink* FieldLink::Of(const QLineEdit* edit) {
  return edit == nullptr ? nullptr : edit->findChild<FieldLink*>(QString(), Qt::FindDirectChildrenOnly);
}

void FieldLink::SetDataSource(DataSource* source) {
  disconnect(m_dataChanged);
  disconnect(m_fieldChanged);
  disconnect(m_stateChanged);
  m_source = source;
  if (source != nullptr) {
    m_dataChanged = connect(source, &DataSource::DataChanged, this, &FieldLink::Show);
    m_fieldChanged = connect(source, &DataSource::FieldChanged, this, &FieldLink::Show);
    m_stateChanged = connect(source, &DataSource::StateChanged, this, &FieldLink::Show);
  }
  Show();
}

void FieldLink::Show() {
  LoadTable* table = m_source ? m_source->DataSet() : nullptr;
  const bool usable = table != nullptr && table->Active();
  const QString text = usable ? table->FieldText(m_field) : QString();
  // Typing is refused while there is no open table to take it.
  m_edit->setReadOnly(!usable);
  if (m_edit->text() != text) m_edit->setText(text);
}

void FieldLink::Typed(const QString& text) {
  LoadTable* table = m_source ? m_source->DataSet() : nullptr;
  if (table == nullptr || !table->Active()) {
    Show();
    return;
  }
  Status status = m_source->EditForTyping();
  if (status) status = table->SetFieldText(m_field, text);
  if (!status) {
    Show();
    if (m_onError) m_onError(status.Message());
  }
}

}  // namespace loads
