#include "loads/error_handler.h"

#include <QMessageBox>
#include <QPointer>

namespace loads {

ErrorHandler CriticalBox(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  return [owner](const QString& message) { QMessageBox::critical(owner, QString(), message); };
}

Confirmation QuestionBox(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  return [owner](const QString& question) {
    return QMessageBox::question(owner, QStringLiteral("Confirm"), question,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
  };
}

}  // namespace loads
