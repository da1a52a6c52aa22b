#pragma once

// What the preview window needs from a set of prepared pages. The band
// engine's prepared pages answer it; the tests answer it with pages of their
// own. Sizes are in report units (1/96 inch).

#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace report {

class PreviewSource {
 public:
  virtual ~PreviewSource() = default;

  virtual int PageCount() const = 0;
  virtual QSizeF PageSize(int index) const = 0;  // report units
  // Draws page `index` so that its full size fills `target` (painter
  // coordinates); the page's white ground and frame are the view's.
  virtual void DrawPage(int index, QPainter& painter, const QRectF& target) const = 0;

  // The report's name, shown as the window caption after a file is opened.
  virtual QString ReportName() const { return {}; }

  // Prepared-report file; each returns an empty text on success, else the
  // message to show. A source that cannot do it says so.
  virtual QString SaveToFile(const QString& fileName) = 0;
  virtual QString LoadFromFile(const QString& fileName) = 0;
};

}  // namespace report
