#pragma once

class QWidget;

namespace app {

// Moves a top-level window, frame included, to the middle of the free area
// of the screen it is on.
void CentreOnScreen(QWidget& window);

}  // namespace app
