#pragma once

namespace slideshow {

// The mouse cursor's display count, as the desktop this program was first
// written for keeps it: each hide lowers it by one, each show raises it by
// one, and the cursor is visible while the count is zero or more. So a show
// without a hide before it makes a later hide leave the cursor visible. The
// cursor is hidden through an application-wide blank override cursor.
class CursorDisplay {
 public:
  // Shows (true) or hides (false) once; gives the new count.
  static int ShowCursor(bool show);
  static int Count();
  static bool Visible() { return Count() >= 0; }
};

}  // namespace slideshow
