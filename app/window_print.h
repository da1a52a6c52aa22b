#pragma once

#include <QSizeF>
#include <QString>

class QImage;

namespace app {

// Prints `image`, a picture of a window taken on a screen of `screenDpi`
// (dots per inch, across and down), on the default printer as one page: the
// picture at the top-left corner of the printable area, at the size it has
// on the screen. A picture larger than the page is made smaller, keeping its
// proportions, rather than cut off. `title` names the print job.
//
// False on any failure: no default printer, a page that cannot be drawn, or
// a printer that refuses the job.
bool PrintWindowImage(const QImage& image, QSizeF screenDpi, const QString& title);

}  // namespace app
