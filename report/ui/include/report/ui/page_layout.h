#pragma once

// Where each page of the preview sits at a zoom: pages in rows that fit the
// view's width, each row centred, 10 pixels around and between pages.
//
//   10 ┌──────┐ 10 ┌──────┐ 10        one row: as many pages as fit,
//      │  1   │    │  2   │           centred as a block
//      └──────┘    └──────┘
//   10 (below the tallest page of the row)
//      ┌──────┐ ...

#include <QRect>
#include <QSize>
#include <QSizeF>

#include <vector>

namespace report {

enum class ZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };

inline constexpr double kMinZoom = 0.25;
inline constexpr double kMinWheelZoom = 0.3;
// Not in the original rules; without a ceiling a page grows past what a
// scroll bar (an int of pixels) can reach in a long report.
inline constexpr double kMaxZoom = 20.0;
inline constexpr int kPageGap = 10;       // pixels
inline constexpr int kFitMargin = 26;     // pixels kept free by whole-page and page-width zooms
inline constexpr double kEmptyPageWidth = 794;   // an A4 frame, report units
inline constexpr double kEmptyPageHeight = 1123;

struct LaidOutPage {
  QRect rect;  // pixels, in the scrollable area
  int row = 0;
};

struct PageLayoutResult {
  std::vector<LaidOutPage> pages;
  std::vector<int> rowFirst;  // index of the first page of each row
  QSize area;                 // the scrollable area, pixels
};

// Lays pages of the given sizes (report units) out at `zoom` for a view
// `viewWidth` pixels wide.
PageLayoutResult LayOutPages(const std::vector<QSizeF>& sizes, double zoom, int viewWidth);

// The frame shown while there is no page yet.
QRect EmptyPageRect(double zoom, int viewWidth);

// The zoom a fitting mode gives for the current page (unchanged for the
// other modes); never below kMinZoom.
double FitZoom(ZoomMode mode, double zoom, QSizeF pageSize, QSize viewSize, int scrollBarWidth);

double ClampZoom(double zoom);

// The zoom combo's text: every "%" becomes a blank, blanks go, the rest is a
// percentage. False when no number is left.
bool ParseZoomText(const QString& text, double& zoom);
QString ZoomText(double zoom);

}  // namespace report
