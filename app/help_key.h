#pragma once

#include <QObject>

namespace app {

// F1 anywhere in the program opens the help page of what it is pressed on:
// the highlighted entry of an open menu (the menu closes), the tool-bar
// button under the mouse (tool buttons never take the focus), or else the
// control with the focus. A control without a help context of its own has
// that of its nearest parent with one, up to its window.
class HelpKey : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Makes F1 work in every window of the program for as long as `owner` lives.
void InstallHelpKey(QObject* owner);

}  // namespace app
