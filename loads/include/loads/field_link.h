#pragma once

#include <QObject>
#include <QPointer>

#include "loads/data_source.h"
#include "loads/error_handler.h"

class QLineEdit;

namespace loads {

// Binds a line edit to one field of a data source: the edit shows the current
// record's text and typing hands the text to the table at once (entering edit
// state through auto edit), so that a move or a save posts what is on screen.
// The link is a child of its edit; a table switch only rebinds it.
class FieldLink : public QObject {
  Q_OBJECT

 public:
  FieldLink(QLineEdit* edit, QString field, DataSource* source = nullptr);

  void SetDataSource(DataSource* source);
  DataSource* Source() const { return m_source; }
  const QString& Field() const { return m_field; }
  void SetErrorHandler(ErrorHandler handler) { m_onError = std::move(handler); }

  // The link of an edit, or nullptr.
  static FieldLink* Of(const QLineEdit* edit);

 private:
  void Show();
  void Typed(const QString& text);

  QLineEdit* m_edit;
  QString m_field;
  QPointer<DataSource> m_source;
  QMetaObject::Connection m_dataChanged;
  QMetaObject::Connection m_fieldChanged;
  QMetaObject::Connection m_stateChanged;
  ErrorHandler m_onError;
};

}  // namespace loads
