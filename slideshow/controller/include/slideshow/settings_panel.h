#pragma once

#include "slideshow/slideshow_controls.h"

class QWidget;

namespace slideshow {

// The settings panel's controls made in code, with the ranges and initial
// states of the main window's panel (which is laid out in its window
// description instead), plus four status labels and a status bar; all
// children of `parent`, unplaced. For programs without the main window: the
// benchmarks and the controller's tests. The picture show is not made here.
SlideshowControls MakeSettingsControls(QWidget* parent);

}  // namespace slideshow
