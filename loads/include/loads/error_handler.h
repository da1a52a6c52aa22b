#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace loads {

// What a bound control does with a data-store error it cannot answer itself;
// the main window hands in its standard error box.
using ErrorHandler = std::function<void(const QString& message)>;
// A yes/no question; true means go ahead.
using Confirmation = std::function<bool(const QString& question)>;

// Plain stand-ins for programs without an error box of their own.
ErrorHandler CriticalBox(QWidget* parent);
Confirmation QuestionBox(QWidget* parent);

}  // namespace loads
