#include "centre_on_screen.h"

#include <QScreen>
#include <QWidget>

namespace app {

void CentreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  const QRect frame = window.frameGeometry();
  window.move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

}  // namespace app
