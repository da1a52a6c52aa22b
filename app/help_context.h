#pragma once

#include <QObject>
#include <QVariant>

namespace app {

// Every control and menu entry with a help topic carries its context number
// in this dynamic property (set in the window's .ui file); F1 looks it up.
inline constexpr char kHelpContextProperty[] = "helpContext";

// The object's help context; 0 when it has none.
inline int HelpContextOf(const QObject* object) {
  return object == nullptr ? 0 : object->property(kHelpContextProperty).toInt();
}

}  // namespace app
