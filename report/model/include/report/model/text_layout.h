#pragma once

// Fonts and line breaking of memo views, shared by the engine (stretching) and
// the page painter, so that a memo breaks its lines the same way on the
// screen, on paper and in every zoom: lines are broken once, in report units,
// with unhinted metrics, and drawn scaled.
//
// Needs a QGuiApplication (fonts).

#include <QFont>
#include <QString>
#include <QStringList>

#include "report/model/objects.h"

namespace report {

// The font of a view at its size in report units. A family the system lacks
// is replaced by the first installed of a fixed list of look-alikes
// ("Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"), else by the
// system's general font, so that a template looks the same in every run.
QFont ResolveFont(const Font& font);
// The family ResolveFont uses for `family`.
QString ResolvedFamily(const QString& family);

struct MemoLines {
  QStringList lines;
  double lineHeight = 0;  // report units, font height plus LineSpacing
  double ascent = 0;      // report units
  // The height the text needs, gaps included (report units).
  double TextHeight(double gapY) const { return lines.size() * lineHeight + 2 * gapY; }
};

// Breaks `text` (lines separated by "\n") for a memo `widthUnits` wide, inset
// by GapX on both sides; with WordWrap off only the text's own line breaks count.
MemoLines BreakMemoLines(const MemoView& memo, const QString& text, const Font& font,
                         double widthUnits);

}  // namespace report
