#include "slideshow/cursor_display.h"

#include <QCursor>
#include <QGuiApplication>

namespace slideshow {

namespace {
int g_count = 0;  // UI thread only
}

int CursorDisplay::ShowCursor(bool show) {
  const bool wasVisible = Visible();
  g_count += show ? 1 : -1;
  if (wasVisible && !Visible()) QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
  if (!wasVisible && Visible()) QGuiApplication::restoreOverrideCursor();
  return g_count;
}

int CursorDisplay::Count() { return g_count; }

}  // namespace slideshow
