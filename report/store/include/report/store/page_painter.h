#pragma once

// Drawing prepared pages with QPainter on any paint device: the preview's
// widget, a QImage at a chosen resolution, a QPrinter, a PDF.
//
// Every object is drawn at its position times the scale, plus the offset of
// the printable area. A view first fills its rectangle with its Color (unless
// transparent), then draws its content, then its frame lines. Memo lines are
// broken once in report units (text_layout.h) and drawn scaled, so a page
// breaks its lines alike at every zoom and on paper.

#include <QImage>
#include <QPointF>
#include <QString>

#include <vector>

class QPainter;

namespace report {

class Component;
class PreparedPages;

// Draws one object whose position is in report units from the printable
// area's top-left corner; the painter is already translated and scaled so
// that one unit is one report unit. "[TotalPages#]" in memo texts becomes
// `totalPages`, "[CopyName#]" becomes `copyName`.
void DrawObject(QPainter& painter, const Component& object, int totalPages, const QString& copyName);

// Page i on a white paper at `dpi` dots per inch (96: one pixel per unit).
QImage RenderPage(const PreparedPages& pages, int i, double dpi);

// The pages (all when `pages` is empty; 0-based indices) as a PDF, each in
// its own paper size, written through a temporary file renamed over
// `fileName`. `error` gets the reason when false is returned.
bool WritePdf(const PreparedPages& pages, const QString& fileName, const std::vector<int>& indices,
              QString* error);

}  // namespace report
