#pragma once

#include <QImage>

class QMainWindow;
class QWidget;

namespace app {

// A picture of a window's contents as it is drawn now: menu bar, tool bar and
// status bar included, the frame of the window system left out.
QImage WindowImage(QWidget& window);

// The client area of a main window as it is drawn now: below its menu bar,
// the tool bar and the status bar included.
QImage ClientAreaImage(QMainWindow& window);

}  // namespace app
