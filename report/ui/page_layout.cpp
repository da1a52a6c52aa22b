#include "report/ui/page_layout.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace report {

PageLayoutResult LayOutPages(const std::vector<QSizeF>& sizes, double zoom, int viewWidth) {
  PageLayoutResult result;
  result.pages.resize(sizes.size());
  int top = kPageGap;
  int widest = 0;
  int bottom = 0;
  std::size_t i = 0;
  int row = 0;
  while (i < sizes.size()) {
    // Take pages while their widths, each with the gap after it, still fit.
    const std::size_t first = i;
    int rowWidth = 0;
    int tallest = 0;
    while (i < sizes.size()) {
      const int w = static_cast<int>(std::lround(sizes[i].width() * zoom));
      if (i > first && rowWidth + w + kPageGap > viewWidth) break;
      const int h = static_cast<int>(std::lround(sizes[i].height() * zoom));
      result.pages[i].rect = QRect(rowWidth, top, w, h);  // left shifted below
      result.pages[i].row = row;
      rowWidth += w + kPageGap;
      tallest = std::max(tallest, h);
      ++i;
    }
    int left = (viewWidth - rowWidth + kPageGap) / 2 + kPageGap;
    if (viewWidth - rowWidth + kPageGap < 0) left = kPageGap;
    for (std::size_t j = first; j < i; ++j) result.pages[j].rect.translate(left, 0);
    result.rowFirst.push_back(static_cast<int>(first));
    widest = std::max(widest, rowWidth);
    bottom = top + tallest;
    top = bottom + kPageGap;
    ++row;
  }
  result.area = QSize(widest + kPageGap, bottom + kPageGap);
  return result;
}

QRect EmptyPageRect(double zoom, int viewWidth) {
  const int w = static_cast<int>(std::lround(kEmptyPageWidth * zoom));
  const int h = static_cast<int>(std::lround(kEmptyPageHeight * zoom));
  const int left = std::max(kPageGap, (viewWidth - w) / 2);
  return QRect(left, static_cast<int>(std::lround(kPageGap * zoom)), w, h);
}

double ClampZoom(double zoom) {
  if (!(zoom >= kMinZoom)) return kMinZoom;  // NaN too
  return std::min(zoom, kMaxZoom);
}

double FitZoom(ZoomMode mode, double zoom, QSizeF pageSize, QSize viewSize, int scrollBarWidth) {
  switch (mode) {
    case ZoomMode::zmWholePage:
      if (pageSize.height() > 0) zoom = (viewSize.height() - kFitMargin) / pageSize.height();
      break;
    case ZoomMode::zmPageWidth:
      if (pageSize.width() > 0)
        zoom = (viewSize.width() - scrollBarWidth - kFitMargin) / pageSize.width();
      break;
    default:
      break;
  }
  return ClampZoom(zoom);
}

bool ParseZoomText(const QString& text, double& zoom) {
  QString t = text;
  t.replace(u'%', u' ');
  t.remove(u' ');
  bool ok = false;
  const double percent = t.toDouble(&ok);
  if (!ok || !std::isfinite(percent)) return false;
  zoom = percent / 100.0;
  return true;
}

QString ZoomText(double zoom) {
  return QString::number(std::lround(zoom * 100.0)) + u'%';
}

}  // namespace report
