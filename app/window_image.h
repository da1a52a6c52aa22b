#pragma once

#include <QImage>

class QWidget;

namespace app {

// A picture of a window's contents as it is drawn now: menu bar, tool bar and
// status bar included, the frame of the window system left out.
QImage WindowImage(QWidget& window);

}  // namespace app
