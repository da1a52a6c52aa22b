#include "report/print/sheet_layout.h"

#include <QPageSize>

#include <algorithm>
#include <cmath>

#include "report/print/page_sequence.h"

namespace report {

namespace {

// Paper sizes from the templates and from the printer differ by rounding.
constexpr double kToleranceMm = 0.5;

QSizeF SizeOf(const PagePaper& paper) { return QSizeF(paper.PaperWidth, paper.PaperHeight); }

QPageLayout LayoutFor(QSizeF sizeMm, int code) {
  const QSizeF portrait(std::min(sizeMm.width(), sizeMm.height()), std::max(sizeMm.width(), sizeMm.height()));
  const QPageLayout::Orientation orientation =
      sizeMm.width() > sizeMm.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
  QPageSize size(portrait, QPageSize::Millimeter);
  const QPageSize standard(QPageSize::id(code));
  if (code != kPaperCustom && standard.isValid() && standard.id() != QPageSize::Custom) {
    const QSizeF mm = standard.size(QPageSize::Millimeter);
    if (std::abs(mm.width() - portrait.width()) < kToleranceMm && std::abs(mm.height() - portrait.height()) < kToleranceMm) {
      size = standard;
    }
  }
  return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QSizeF Oriented(QSizeF portrait, bool landscape) {
  return landscape ? portrait.transposed() : portrait;
}

Side OwnPaper(int page, const PagePaper& paper) {
  const QSizeF size = SizeOf(paper);
  return Side{LayoutFor(size, paper.PaperSize), {Placement{page, 1, QPointF(0, 0), QRectF(QPointF(0, 0), size)}}};
}

bool Fits(QSizeF page, QSizeF sheet) {
  return page.width() <= sheet.width() + kToleranceMm && page.height() <= sheet.height() + kToleranceMm;
}

}  // namespace

std::vector<Side> LayOutSides(const std::vector<int>& sequence, const std::vector<PagePaper>& papers,
                              const SheetRules& rules) {
  std::vector<Side> sides;
  const auto paperOf = [&](int page) { return papers[static_cast<size_t>(page - 1)]; };
  const QSizeF sheet = rules.sheetMm;
  const bool haveSheet = sheet.width() > 0 && sheet.height() > 0;
  const PrintMode mode = haveSheet ? rules.PrintMode : PrintMode::pmDefault;
  for (size_t i = 0; i < sequence.size(); ++i) {
    const int page = sequence[i];
    if (page == kBlankSide) {
      // The blank side keeps the paper of the side before it.
      sides.push_back(Side{sides.empty() ? LayoutFor(sheet, kPaperA4) : sides.back().layout, {}});
      continue;
    }
    const PagePaper paper = paperOf(page);
    const QSizeF size = SizeOf(paper);
    const bool landscape = size.width() > size.height();
    switch (mode) {
      case PrintMode::pmDefault:
        sides.push_back(OwnPaper(page, paper));
        break;
      case PrintMode::pmScale: {
        const QSizeF target = Oriented(sheet, landscape);
        const double scale = std::min(target.width() / size.width(), target.height() / size.height());
        sides.push_back(Side{LayoutFor(target, 0), {Placement{page, scale, QPointF(0, 0), QRectF(QPointF(0, 0), target)}}});
        break;
      }
      case PrintMode::pmSplit: {
        const QSizeF target = Oriented(sheet, landscape);
        if (Fits(size, target)) {
          sides.push_back(OwnPaper(page, paper));
          break;
        }
        const int columns = static_cast<int>(std::ceil((size.width() - kToleranceMm) / target.width()));
        const int rows = static_cast<int>(std::ceil((size.height() - kToleranceMm) / target.height()));
        for (int row = 0; row < rows; ++row) {
          for (int column = 0; column < columns; ++column) {
            sides.push_back(Side{LayoutFor(target, 0),
                                 {Placement{page, 1, QPointF(-column * target.width(), -row * target.height()),
                                            QRectF(QPointF(0, 0), target)}}});
          }
        }
        break;
      }
      case PrintMode::pmJoin: {
        // How many pages of this size one sheet holds, upright or turned.
        const auto holds = [&](QSizeF s) {
          return std::pair{static_cast<int>(std::floor((s.width() + kToleranceMm) / size.width())),
                           static_cast<int>(std::floor((s.height() + kToleranceMm) / size.height()))};
        };
        const auto [uprightX, uprightY] = holds(sheet);
        const auto [turnedX, turnedY] = holds(sheet.transposed());
        const bool turned = turnedX * turnedY > uprightX * uprightY;
        const int across = turned ? turnedX : uprightX;
        const int down = turned ? turnedY : uprightY;
        if (across * down <= 1) {
          sides.push_back(OwnPaper(page, paper));
          break;
        }
        const QSizeF target = turned ? sheet.transposed() : sheet;
        Side side{LayoutFor(target, 0), {}};
        // Following pages of the same size share the sheet.
        size_t next = i;
        while (next < sequence.size() && static_cast<int>(side.placements.size()) < across * down &&
               sequence[next] != kBlankSide && SizeOf(paperOf(sequence[next])) == size) {
          const int slot = static_cast<int>(side.placements.size());
          const QPointF origin((slot % across) * size.width(), (slot / across) * size.height());
          side.placements.push_back(Placement{sequence[next], 1, origin, QRectF(origin, size)});
          ++next;
        }
        i = next - 1;
        sides.push_back(std::move(side));
        break;
      }
    }
  }
  return sides;
}

}  // namespace report
