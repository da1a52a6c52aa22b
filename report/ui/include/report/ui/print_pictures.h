#pragma once

#include <QIcon>
#include <QPixmap>

#include "report/print/page_paper.h"
#include "report/print/print_options.h"

namespace report {

// The small pictures of the print and page settings dialogs, drawn here so
// that they follow the dialogs' choices exactly.

// Sheets of two copies of a three-page job, stacked as they come out.
QPixmap CollatePicture(bool collated);
// What each print mode does with pages and sheets.
QIcon PrintModeIcon(PrintMode mode);
// A sheet upright or turned, with lines of text.
QPixmap OrientationPicture(PaperOrientation orientation);

}  // namespace report
