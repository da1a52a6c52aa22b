#pragma once

#include <QString>

namespace loads {

// The outcome of a data-store operation: success, or the Italian text that
// tells the user what went wrong. Nothing here throws.
class [[nodiscard]] Status {
 public:
  static Status Ok() { return Status(QString()); }
  static Status Failed(QString message) { return Status(std::move(message)); }

  bool ok() const { return m_message.isNull(); }
  explicit operator bool() const { return ok(); }
  const QString& Message() const { return m_message; }

 private:
  explicit Status(QString message) : m_message(std::move(message)) {}
  QString m_message;  // null on success
};

}  // namespace loads
