#include "cards.h"

#include "emf_writer.h"
#include "wmf_writer.h"

#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>

namespace metafile_gen {

namespace {

// Both cards use 10 logical units per pixel and cells of 1000 × 1000 units
// (100 × 100 pixels), six to a row.
constexpr int kColumns = 6;
constexpr int kCellUnits = 1000;
constexpr int kCellPixels = 100;

constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);
constexpr std::uint32_t kRed = Rgb(220, 30, 30);
constexpr std::uint32_t kGreen = Rgb(30, 160, 60);
constexpr std::uint32_t kBlue = Rgb(40, 70, 200);
constexpr std::uint32_t kYellow = Rgb(250, 220, 40);
constexpr std::uint32_t kCyan = Rgb(40, 200, 210);
constexpr std::uint32_t kMagenta = Rgb(200, 50, 180);
constexpr std::uint32_t kOrange = Rgb(245, 140, 20);
constexpr std::uint32_t kGrey = Rgb(128, 128, 128);

constexpr int kPsSolid = 0;
constexpr int kPsNull = 5;
constexpr int kPsInsideFrame = 6;
constexpr int kBsSolid = 0;
constexpr int kBsNull = 1;
constexpr int kBsHatched = 2;

const std::string kFace = "DejaVu Sans";
const std::u16string kFaceW = u"DejaVu Sans";

// Lays the cells out and hands each cell's origin (logical units) to its drawing.
class Grid {
 public:
  Point Next(const std::string& name) {
    const int col = m_count % kColumns;
    const int row = m_count / kColumns;
    ++m_count;
    m_cells.push_back(Cell{name, col * kCellPixels, row * kCellPixels, kCellPixels, kCellPixels});
    return Point{col * kCellUnits, row * kCellUnits};
  }
  int Rows() const { return (m_count + kColumns - 1) / kColumns; }
  std::vector<Cell> Cells() const { return m_cells; }

 private:
  int m_count = 0;
  std::vector<Cell> m_cells;
};

Rect R(Point o, int left, int top, int right, int bottom) {
  return Rect{o.x + left, o.y + top, o.x + right, o.y + bottom};
}
Point P(Point o, int x, int y) { return Point{o.x + x, o.y + y}; }

std::vector<Point> Star(Point o) {
  std::vector<Point> points;
  for (int i = 0; i < 5; ++i) {
    const double a = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
    points.push_back(P(o, 500 + static_cast<int>(std::lround(400 * std::cos(a))),
                       500 + static_cast<int>(std::lround(400 * std::sin(a)))));
  }
  return points;
}

std::vector<Point> Zigzag(Point o, int top, int bottom) {
  std::vector<Point> points;
  for (int i = 0; i <= 8; ++i) points.push_back(P(o, 100 + i * 100, i % 2 == 0 ? bottom : top));
  return points;
}

PackedDib Checker8() {
  DibPlan plan;
  plan.width = 8;
  plan.height = 8;
  plan.bitCount = 24;
  plan.pixel = [](int x, int y) { return ((x / 2 + y / 2) % 2 == 0) ? 0xDC1E1Eu : 0xFFFFFFu; };
  return BuildDib(plan);
}

PackedDib Colors4x4() {
  DibPlan plan;
  plan.width = 4;
  plan.height = 4;
  plan.bitCount = 24;
  plan.pixel = [](int x, int y) {
    return static_cast<std::uint32_t>((x * 80) << 16 | (y * 80) << 8 | (255 - x * 40 - y * 20));
  };
  return BuildDib(plan);
}

PackedDib Palette8(int size) {
  DibPlan plan;
  plan.width = size;
  plan.height = size;
  plan.bitCount = 8;
  plan.palette = {0x000000, 0xFF0000, 0x00C000, 0x0000FF, 0xFFFF00, 0xFFFFFF};
  plan.pixel = [](int x, int y) { return static_cast<std::uint32_t>(((x / 10) + (y / 10) * 2) % 6); };
  return BuildDib(plan);
}

PackedDib Mono16() {
  DibPlan plan;
  plan.width = 16;
  plan.height = 16;
  plan.bitCount = 1;
  plan.palette = {0x102060, 0xFFFFFF};
  plan.pixel = [](int x, int y) { return static_cast<std::uint32_t>((x == y || x == 15 - y || x == 8) ? 0 : 1); };
  return BuildDib(plan);
}

PackedDib Rle20() {
  DibPlan plan;
  plan.width = 20;
  plan.height = 20;
  plan.bitCount = 8;
  plan.compression = DibCompression::kRle8;
  plan.palette = {0xFFFFFF, 0x2050D0, 0xE08020};
  plan.pixel = [](int x, int y) { return static_cast<std::uint32_t>(x < y ? 1 : (x - y < 4 ? 2 : 0)); };
  return BuildDib(plan);
}

// ---------------------------------------------------------------- the WMF card

// Without the placeable header, and for `crossCheck`, the card leaves out the
// two cells that place drawings in device units: their meaning depends on the
// viewport the player sets. `crossCheck` also frames the picture, so that a
// player that sizes a picture by what it draws sees the same box.
Bytes WmfCardRecords(Grid& grid, bool placeable, bool crossCheck, int& rows) {
  const bool deviceUnitCells = placeable && !crossCheck;
  WmfWriter w;
  w.SetMapMode(8);
  w.SetWindowOrg(0, 0);
  w.SetWindowExt(6000, 6000);
  w.SetBkMode(1);
  if (crossCheck) {
    const int frame = w.CreatePen(kPsSolid, 0, kGrey);
    w.SelectObject(frame);
    w.MoveTo(0, 0);
    w.LineTo(5990, 0);
    w.LineTo(5990, 5990);
    w.LineTo(0, 5990);
    w.LineTo(0, 0);
  }

  auto withPen = [&](int style, int width, std::uint32_t color, const std::function<void()>& draw) {
    const int pen = w.CreatePen(style, width, color);
    w.SelectObject(pen);
    draw();
    const int black = w.CreatePen(kPsSolid, 0, kBlack);
    w.SelectObject(black);
    w.DeleteObject(pen);
  };
  auto withBrush = [&](int style, std::uint32_t color, int hatch, const std::function<void()>& draw) {
    const int brush = w.CreateBrush(style, color, hatch);
    w.SelectObject(brush);
    draw();
    const int white = w.CreateBrush(kBsSolid, kWhite, 0);
    w.SelectObject(white);
    w.DeleteObject(brush);
  };

  {
    const Point o = grid.Next("lines");
    const int styles[] = {0, 0, 1, 2, 3, 4};
    const int widths[] = {0, 40, 0, 0, 0, 0};
    const std::uint32_t colors[] = {kBlack, kRed, kBlue, kGreen, kMagenta, kBlack};
    for (int i = 0; i < 6; ++i) {
      withPen(styles[i], widths[i], colors[i], [&] {
        w.MoveTo(o.x + 100, o.y + 120 + i * 140);
        w.LineTo(o.x + 900, o.y + 120 + i * 140);
      });
    }
  }
  {
    const Point o = grid.Next("polyline");
    withPen(kPsSolid, 30, kBlue, [&] { w.Polyline(Zigzag(o, 200, 800)); });
  }
  for (const int mode : {1, 2}) {
    const Point o = grid.Next(mode == 1 ? "polygon-alternate" : "polygon-winding");
    w.SetPolyFillMode(mode);
    withPen(kPsSolid, 10, kBlack, [&] { withBrush(kBsSolid, kYellow, 0, [&] { w.Polygon(Star(o)); }); });
  }
  w.SetPolyFillMode(1);
  {
    const Point o = grid.Next("polypolygon");
    withBrush(kBsSolid, kGreen, 0, [&] {
      w.PolyPolygon({{P(o, 100, 100), P(o, 900, 100), P(o, 900, 900), P(o, 100, 900)},
                     {P(o, 300, 300), P(o, 700, 300), P(o, 700, 700), P(o, 300, 700)}});
    });
  }
  {
    const Point o = grid.Next("rectangle");
    withPen(kPsSolid, 30, kBlack, [&] { withBrush(kBsSolid, kBlue, 0, [&] { w.Rectangle(R(o, 100, 250, 900, 750)); }); });
  }
  {
    const Point o = grid.Next("roundrect");
    withPen(kPsSolid, 20, kBlue, [&] {
      withBrush(kBsSolid, kCyan, 0, [&] { w.RoundRect(R(o, 100, 100, 900, 900), 300, 200); });
    });
  }
  {
    const Point o = grid.Next("ellipse");
    withBrush(kBsSolid, kMagenta, 0, [&] { w.Ellipse(R(o, 100, 200, 900, 800)); });
  }
  {
    const Point o = grid.Next("arc");
    withPen(kPsSolid, 40, kRed, [&] { w.Arc(R(o, 100, 100, 900, 900), P(o, 900, 500), P(o, 500, 900)); });
  }
  {
    const Point o = grid.Next("chord");
    withBrush(kBsSolid, kOrange, 0, [&] { w.Chord(R(o, 100, 100, 900, 900), P(o, 900, 300), P(o, 100, 300)); });
  }
  {
    const Point o = grid.Next("pie");
    withBrush(kBsSolid, kGreen, 0, [&] { w.Pie(R(o, 100, 100, 900, 900), P(o, 900, 500), P(o, 500, 100)); });
  }
  {
    const Point o = grid.Next("textout");
    w.SetTextColor(kBlack);
    const int plain = w.CreateFont(-250, 0, 400, false, false, kFace);
    w.SelectObject(plain);
    w.TextOut(o.x + 100, o.y + 100, "Ab12");
    const int fancy = w.CreateFont(-250, 0, 700, true, true, kFace);
    w.SelectObject(fancy);
    w.SetTextColor(kBlue);
    w.TextOut(o.x + 100, o.y + 500, "Xy");
    w.SelectObject(plain);
    w.DeleteObject(fancy);
  }
  {
    const Point o = grid.Next("exttextout");
    w.SetBkColor(kYellow);
    w.SetTextColor(kRed);
    w.ExtTextOut(o.x + 100, o.y + 100, 0x0002, R(o, 50, 80, 950, 420), "Wide", {200, 200, 200, 200});
    w.SetTextColor(kBlack);
    w.ExtTextOut(o.x + 100, o.y + 550, 0x0004, R(o, 100, 550, 550, 950), "Clipped");
  }
  {
    const Point o = grid.Next("text-rotated");
    const int rotated = w.CreateFont(-250, 450, 400, false, false, kFace);
    w.SelectObject(rotated);
    w.SetTextColor(kGreen);
    w.SetTextAlign(24);
    w.TextOut(o.x + 200, o.y + 800, "Rot45");
    w.SetTextAlign(0);
  }
  {
    const Point o = grid.Next("text-align");
    withPen(kPsSolid, 0, kRed, [&] {
      w.MoveTo(o.x + 500, o.y + 350);
      w.LineTo(o.x + 500, o.y + 650);
      w.MoveTo(o.x + 350, o.y + 500);
      w.LineTo(o.x + 650, o.y + 500);
    });
    const int font = w.CreateFont(-200, 0, 400, false, false, kFace);
    w.SelectObject(font);
    w.SetTextColor(kBlack);
    w.SetTextAlign(6 | 24);  // centre, baseline
    w.TextOut(o.x + 500, o.y + 500, "Mid");
    w.SetTextAlign(2 | 8);  // right, bottom
    w.TextOut(o.x + 950, o.y + 950, "RB");
    w.SetTextAlign(0);
  }
  {
    const Point o = grid.Next("hatch");
    for (int h = 0; h < 6; ++h) {
      const int x = 100 + (h % 3) * 280;
      const int y = 150 + (h / 3) * 380;
      withBrush(kBsHatched, kRed, h, [&] { w.Rectangle(R(o, x, y, x + 240, y + 320)); });
    }
  }
  {
    const Point o = grid.Next("hatch-opaque");
    w.SetBkMode(2);
    w.SetBkColor(Rgb(255, 250, 200));
    withBrush(kBsHatched, kBlue, 5, [&] { w.Ellipse(R(o, 100, 100, 900, 900)); });
    w.SetBkMode(1);
  }
  {
    const Point o = grid.Next("pattern-brush");
    const int brush = w.DibPatternBrush(Checker8());
    w.SelectObject(brush);
    w.Rectangle(R(o, 100, 100, 900, 900));
    const int white = w.CreateBrush(kBsSolid, kWhite);
    w.SelectObject(white);
    w.DeleteObject(brush);
  }
  {
    const Point o = grid.Next("stretchdib");
    w.StretchDib(R(o, 100, 100, 900, 900), Rect{0, 0, 4, 4}, Colors4x4());
  }
  {
    const Point o = grid.Next("dibbitblt");
    const int palette = w.CreatePalette({kRed, kGreen, kBlue});
    w.DeleteObject(palette);
    // One logical unit per pixel inside this cell, so the bitmap keeps its size.
    w.SaveDc();
    w.SetWindowExt(600, 600);
    w.DibBitBlt(Point{o.x / 10 + 10, o.y / 10 + 10}, Rect{0, 0, 80, 80}, Palette8(80));
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("dibstretchblt");
    w.DibStretchBlt(R(o, 100, 100, 900, 900), Rect{0, 0, 16, 16}, Mono16());
  }
  {
    const Point o = grid.Next("bitblt-mono");
    w.SetTextColor(kRed);
    w.SetBkColor(Rgb(200, 255, 200));
    w.SaveDc();
    w.SetWindowExt(600, 600);
    std::vector<std::uint16_t> bits;
    for (int y = 0; y < 16; ++y) bits.push_back(static_cast<std::uint16_t>(y % 4 < 2 ? 0xF0F0 : 0x0F0F));
    for (int i = 0; i < 4; ++i) w.BitBltMono(Point{o.x / 10 + 10 + i * 20, o.y / 10 + 10 + i * 20}, 16, 16, bits);
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("clip-intersect");
    w.SaveDc();
    w.IntersectClipRect(R(o, 200, 200, 800, 800));
    withBrush(kBsSolid, kRed, 0, [&] { w.Ellipse(R(o, 0, 0, 1000, 1000)); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("clip-exclude");
    w.SaveDc();
    w.ExcludeClipRect(R(o, 300, 300, 700, 700));
    withBrush(kBsSolid, kBlue, 0, [&] { w.Rectangle(R(o, 100, 100, 900, 900)); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("region-fill-frame");
    const int region = w.CreateRegion({R(o, 100, 100, 600, 500), R(o, 400, 500, 900, 900)});
    const int green = w.CreateBrush(kBsSolid, kGreen);
    const int black = w.CreateBrush(kBsSolid, kBlack);
    w.FillRegion(region, green);
    w.FrameRegion(region, black, 30, 30);
    w.DeleteObject(region);
    w.DeleteObject(green);
    w.DeleteObject(black);
  }
  {
    const Point o = grid.Next("region-clip");
    const int region = w.CreateRegion({R(o, 100, 100, 900, 400), R(o, 100, 600, 900, 900)});
    w.SaveDc();
    w.SelectClipRegion(region);
    withBrush(kBsSolid, kOrange, 0, [&] { w.Ellipse(R(o, 100, 100, 900, 900)); });
    w.RestoreDc(-1);
    w.DeleteObject(region);
  }
  {
    const Point o = grid.Next("window-zoom");
    w.SaveDc();
    w.SetWindowOrg(-o.x / 2, -o.y / 2);
    w.SetWindowExt(3000, 3000);  // twice the scale
    withBrush(kBsNull, 0, 0, [&] { w.Rectangle(Rect{20, 20, 480, 480}); });
    withBrush(kBsSolid, kCyan, 0, [&] { w.Ellipse(Rect{100, 100, 400, 400}); });
    w.RestoreDc(-1);
  }
  if (!deviceUnitCells) {
    grid.Next("viewport-org");
  } else {
    const Point o = grid.Next("viewport-org");
    w.SaveDc();
    w.SetViewportOrg(o.x / 10 + 30, o.y / 10 + 30);  // picture pixels
    withBrush(kBsSolid, kMagenta, 0, [&] { w.Rectangle(Rect{0, 0, 400, 400}); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("save-restore");
    const int red = w.CreatePen(kPsSolid, 40, kRed);
    const int blue = w.CreatePen(kPsSolid, 40, kBlue);
    const int green = w.CreatePen(kPsSolid, 40, kGreen);
    w.SelectObject(red);
    w.SaveDc();
    w.SelectObject(blue);
    w.SaveDc();
    w.SelectObject(green);
    w.MoveTo(o.x + 100, o.y + 200);
    w.LineTo(o.x + 900, o.y + 200);
    w.RestoreDc(-1);
    w.MoveTo(o.x + 100, o.y + 500);
    w.LineTo(o.x + 900, o.y + 500);
    w.RestoreDc(-1);
    w.MoveTo(o.x + 100, o.y + 800);
    w.LineTo(o.x + 900, o.y + 800);
    const int black = w.CreatePen(kPsSolid, 0, kBlack);
    w.SelectObject(black);
    w.DeleteObject(red);
    w.DeleteObject(blue);
    w.DeleteObject(green);
  }
  {
    const Point o = grid.Next("setpixel");
    for (int y = 100; y < 900; y += 50) {
      for (int x = 100; x < 900; x += 50) w.SetPixel(o.x + x, o.y + y, ((x + y) / 50) % 2 == 0 ? kRed : kBlue);
    }
  }
  {
    const Point o = grid.Next("patblt");
    withBrush(kBsHatched, kGreen, 4, [&] { w.PatBlt(R(o, 100, 100, 900, 450), 0x00F00021); });
    withBrush(kBsSolid, kBlue, 0, [&] { w.PatBlt(R(o, 100, 550, 900, 900), 0x00F00021); });
    w.PatBlt(R(o, 300, 600, 700, 850), 0x00550009);
  }
  {
    const Point o = grid.Next("rop2-xor");
    withBrush(kBsSolid, kGreen, 0, [&] { w.Rectangle(R(o, 100, 100, 900, 900)); });
    w.SetRop2(7);
    withPen(kPsSolid, 60, kWhite, [&] {
      w.MoveTo(o.x + 100, o.y + 500);
      w.LineTo(o.x + 900, o.y + 500);
    });
    w.SetRop2(13);
  }
  if (!deviceUnitCells) {
    grid.Next("metric-mode");
  } else {
    const Point o = grid.Next("metric-mode");
    w.SaveDc();
    w.SetMapMode(2);  // 0.1 mm, y up
    w.SetViewportOrg(o.x / 10 + 10, o.y / 10 + 90);
    withBrush(kBsSolid, kOrange, 0, [&] { w.Rectangle(Rect{0, 0, 200, 200}); });  // 20 mm
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("skipped-records");
    w.Escape(0x000F, {1, 2, 3, 4});
    w.Record(0x0105, ByteSink().U16(1).Take());                 // relative or absolute
    w.Record(0x0037, ByteSink().U16(0).U16(0).Take());          // palette entries
    w.Record(0x0231, ByteSink().U32(0).Take());                 // font mapper flags
    withBrush(kBsSolid, kBlack, 0, [&] { w.Rectangle(R(o, 300, 300, 700, 700)); });
  }
  {
    const Point o = grid.Next("inside-frame");
    withPen(kPsInsideFrame, 100, kBlack, [&] {
      withBrush(kBsSolid, kYellow, 0, [&] { w.Rectangle(R(o, 100, 100, 900, 900)); });
    });
  }
  {
    const Point o = grid.Next("dib-rle8");
    w.StretchDib(R(o, 100, 100, 900, 900), Rect{0, 0, 20, 20}, Rle20());
  }
  w.Eof();
  rows = grid.Rows();
  return w.Finish(placeable ? std::optional<Placeable>(Placeable{Rect{0, 0, 6000, rows * kCellUnits}, 960})
                            : std::nullopt);
}

// The records above set a window of six rows, the number of cells they draw.
Card WmfCard(bool placeable, bool crossCheck = false) {
  Grid grid;
  int rows = 0;
  Card card;
  card.bytes = WmfCardRecords(grid, placeable, crossCheck, rows);
  card.cells = grid.Cells();
  card.file = crossCheck ? "crosscheck-wmf.wmf" : placeable ? "card-wmf-placeable.wmf" : "card-wmf-plain.wmf";
  return card;
}

// ---------------------------------------------------------------- the EMF card

Card EmfCard() {
  Grid grid;
  // 7 rows of cells: 600 × 700 pixels at 96 dpi.
  constexpr int kRows = 7;
  const int widthPixels = kColumns * kCellPixels;
  const int heightPixels = kRows * kCellPixels;
  EmfWriter w(Rect{0, 0, widthPixels - 1, heightPixels - 1},
              Rect{0, 0, widthPixels * 2540 / 96, heightPixels * 2540 / 96});
  w.SetMapMode(8);
  w.SetWindowExt(kColumns * kCellUnits, kRows * kCellUnits);
  w.SetViewportExt(widthPixels, heightPixels);
  w.SetBkMode(1);

  const std::uint32_t kStockWhiteBrush = 0x80000000u;
  const std::uint32_t kStockBlackPen = 0x80000007u;
  const std::uint32_t kStockNullPen = 0x80000008u;
  const std::uint32_t kStockNullBrush = 0x80000005u;
  auto withPen = [&](std::uint32_t pen, const std::function<void()>& draw) {
    w.SelectObject(pen);
    draw();
    w.SelectObject(kStockBlackPen);
    w.DeleteObject(pen);
  };
  auto withBrush = [&](std::uint32_t brush, const std::function<void()>& draw) {
    w.SelectObject(brush);
    draw();
    w.SelectObject(kStockWhiteBrush);
    w.DeleteObject(brush);
  };
  auto oneToOne = [&](Point o, const std::function<void(Point pixels)>& draw) {
    w.SaveDc();
    w.SetWindowExt(widthPixels, heightPixels);
    draw(Point{o.x / 10, o.y / 10});
    w.RestoreDc(-1);
  };

  {
    const Point o = grid.Next("lines");
    const std::uint32_t pens[] = {
        w.CreatePen(0, 0, kBlack),
        w.CreatePen(1, 0, kBlue),
        w.CreatePen(2, 0, kGreen),
        w.ExtCreatePen(0x10200, 60, kRed),          // geometric, flat ends
        w.ExtCreatePen(0x10100 | 0x2000, 60, kOrange),  // geometric, square ends
        w.ExtCreatePen(0x10007, 40, kMagenta, {100, 50}),  // geometric, own dashes
    };
    for (int i = 0; i < 6; ++i) {
      withPen(pens[i], [&] {
        w.MoveTo(o.x + 150, o.y + 120 + i * 150);
        w.LineTo(o.x + 850, o.y + 120 + i * 150);
      });
    }
  }
  {
    const Point o = grid.Next("polyline16");
    withPen(w.CreatePen(0, 30, kBlue), [&] { w.Poly(4, Zigzag(o, 200, 800), true); });
  }
  {
    const Point o = grid.Next("polygon");
    withBrush(w.CreateBrush(kBsSolid, kYellow), [&] { w.Poly(3, Star(o)); });
  }
  {
    const Point o = grid.Next("polypolygon16-winding");
    w.SetPolyFillMode(2);
    withBrush(w.CreateBrush(kBsSolid, kGreen), [&] {
      w.PolyPoly(8,
                 {{P(o, 100, 100), P(o, 600, 100), P(o, 600, 600), P(o, 100, 600)},
                  {P(o, 400, 400), P(o, 900, 400), P(o, 900, 900), P(o, 400, 900)}},
                 true);
    });
    w.SetPolyFillMode(1);
  }
  {
    const Point o = grid.Next("polypolyline");
    withPen(w.CreatePen(0, 20, kRed), [&] {
      w.PolyPoly(7, {Zigzag(o, 100, 300), Zigzag(o, 400, 600), Zigzag(o, 700, 900)});
    });
  }
  {
    const Point o = grid.Next("rectangle");
    withPen(w.CreatePen(0, 30, kBlack), [&] {
      withBrush(w.CreateBrush(kBsSolid, kBlue), [&] { w.Rectangle(R(o, 100, 250, 900, 750)); });
    });
  }
  {
    const Point o = grid.Next("roundrect");
    withBrush(w.CreateBrush(kBsSolid, kCyan), [&] { w.RoundRect(R(o, 100, 100, 900, 900), 300, 200); });
  }
  {
    const Point o = grid.Next("ellipse");
    withBrush(w.CreateBrush(kBsSolid, kMagenta), [&] { w.Ellipse(R(o, 100, 200, 900, 800)); });
  }
  {
    const Point o = grid.Next("arc-directions");
    withPen(w.CreatePen(0, 40, kRed), [&] {
      w.SetArcDirection(2);
      w.Arc(R(o, 100, 100, 900, 900), P(o, 900, 500), P(o, 500, 900));
      w.SetArcDirection(1);
    });
    withPen(w.CreatePen(0, 40, kBlue), [&] { w.Arc(R(o, 250, 250, 750, 750), P(o, 750, 500), P(o, 500, 750)); });
  }
  {
    const Point o = grid.Next("chord");
    withBrush(w.CreateBrush(kBsSolid, kOrange), [&] { w.Chord(R(o, 100, 100, 900, 900), P(o, 900, 300), P(o, 100, 300)); });
  }
  {
    const Point o = grid.Next("pie");
    withBrush(w.CreateBrush(kBsSolid, kGreen), [&] { w.Pie(R(o, 100, 100, 900, 900), P(o, 900, 500), P(o, 500, 100)); });
  }
  {
    const Point o = grid.Next("polybezier");
    withPen(w.CreatePen(0, 30, kBlue), [&] {
      w.Poly(2, {P(o, 100, 500), P(o, 200, 0), P(o, 400, 1000), P(o, 500, 500), P(o, 600, 0), P(o, 800, 1000),
                 P(o, 900, 500)});
    });
  }
  {
    const Point o = grid.Next("bezierto-lineto");
    withPen(w.CreatePen(0, 30, kRed), [&] {
      w.MoveTo(o.x + 100, o.y + 800);
      w.Poly(5, {P(o, 100, 100), P(o, 500, 100), P(o, 500, 500)});
      w.Poly(6, {P(o, 900, 500), P(o, 900, 900)});
      w.LineTo(o.x + 500, o.y + 900);
    });
  }
  {
    const Point o = grid.Next("path-stroke-fill");
    withPen(w.CreatePen(0, 30, kBlack), [&] {
      withBrush(w.CreateBrush(kBsSolid, kYellow), [&] {
        w.BeginPath();
        w.MoveTo(o.x + 100, o.y + 900);
        w.LineTo(o.x + 500, o.y + 100);
        w.LineTo(o.x + 900, o.y + 900);
        w.CloseFigure();
        w.Ellipse(R(o, 350, 500, 650, 800));
        w.EndPath();
        w.StrokeAndFillPath();
      });
    });
  }
  {
    const Point o = grid.Next("path-fill-winding");
    w.SetPolyFillMode(2);
    withBrush(w.CreateBrush(kBsSolid, kBlue), [&] {
      w.BeginPath();
      w.Ellipse(R(o, 100, 250, 650, 750));
      w.Ellipse(R(o, 350, 250, 900, 750));
      w.EndPath();
      w.FillPath();
    });
    w.SetPolyFillMode(1);
  }
  {
    const Point o = grid.Next("path-clip");
    w.SaveDc();
    w.BeginPath();
    w.Ellipse(R(o, 100, 100, 900, 900));
    w.EndPath();
    w.SelectClipPath(1);
    withBrush(w.CreateBrush(kBsHatched, kRed, 4), [&] { w.Rectangle(R(o, 0, 0, 1000, 1000)); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("widen-path");
    withPen(w.ExtCreatePen(0x10000, 80, kBlack), [&] {
      w.BeginPath();
      w.Poly(4, Zigzag(o, 250, 750));
      w.EndPath();
      w.WidenPath();
      withBrush(w.CreateBrush(kBsSolid, kOrange), [&] { w.FillPath(); });
    });
  }
  {
    const Point o = grid.Next("world-transform");
    w.SaveDc();
    const double a = 30 * std::numbers::pi / 180;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double cx = o.x + 500;
    const double cy = o.y + 500;
    w.SetWorldTransform(static_cast<float>(c), static_cast<float>(s), static_cast<float>(-s), static_cast<float>(c),
                        static_cast<float>(cx - cx * c + cy * s), static_cast<float>(cy - cx * s - cy * c));
    withBrush(w.CreateBrush(kBsSolid, kBlue), [&] { w.Rectangle(R(o, 150, 350, 850, 650)); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("anglearc-arcto");
    withPen(w.CreatePen(0, 30, kGreen), [&] {
      w.MoveTo(o.x + 100, o.y + 450);
      w.AngleArc(P(o, 500, 450), 300, 0, 180);
      w.ArcTo(R(o, 200, 500, 800, 900), P(o, 200, 700), P(o, 800, 700));
    });
  }
  {
    const Point o = grid.Next("polydraw");
    withPen(w.CreatePen(0, 30, kMagenta), [&] {
      w.PolyDraw({P(o, 100, 100), P(o, 900, 100), P(o, 900, 900), P(o, 100, 900), P(o, 500, 500), P(o, 100, 500)},
                 {6, 2, 4, 4, 4, 2 | 1});
    });
  }
  {
    const Point o = grid.Next("text-unicode");
    const std::uint32_t font = w.CreateFont(-250, 0, 400, false, false, kFaceW);
    w.SelectObject(font);
    w.SetTextColor(kBlack);
    w.ExtTextOutW(P(o, 80, 100), 0, Rect{}, u"\u00C0\u00E8\u20AC\u00DF");
    w.SetTextColor(kBlue);
    w.ExtTextOutW(P(o, 80, 500), 0, Rect{}, u"\u03A9\u03C0 ok");
  }
  {
    const Point o = grid.Next("text-opaque-dx");
    w.SetBkColor(kYellow);
    w.SetTextColor(kRed);
    w.ExtTextOutA(P(o, 100, 100), 0x0002, R(o, 50, 80, 950, 420), "Wide", {200, 200, 200, 200});
    w.SetTextColor(kBlack);
    w.ExtTextOutA(P(o, 100, 550), 0x0004, R(o, 100, 550, 550, 950), "Clipped");
  }
  {
    const Point o = grid.Next("smalltextout");
    w.SetTextColor(kGreen);
    w.SmallTextOut(P(o, 100, 350), u"Small");
  }
  {
    const Point o = grid.Next("text-rotated");
    const std::uint32_t font = w.CreateFont(-250, 900, 700, false, false, kFaceW);
    w.SelectObject(font);
    w.SetTextColor(kRed);
    w.SetTextAlign(24);
    w.ExtTextOutW(P(o, 600, 900), 0, Rect{}, u"Up");
    w.SetTextAlign(0);
    w.SelectObject(0x8000000Du);
    w.DeleteObject(font);
  }
  {
    const Point o = grid.Next("hatch");
    for (int h = 0; h < 6; ++h) {
      const int x = 100 + (h % 3) * 280;
      const int y = 150 + (h / 3) * 380;
      withBrush(w.CreateBrush(kBsHatched, kBlue, h), [&] { w.Rectangle(R(o, x, y, x + 240, y + 320)); });
    }
  }
  {
    const Point o = grid.Next("pattern-brushes");
    withBrush(w.DibPatternBrush(Checker8(), false), [&] { w.Rectangle(R(o, 100, 100, 900, 450)); });
    DibPlan mono;
    mono.width = 8;
    mono.height = 8;
    mono.bitCount = 1;
    mono.palette = {0x000000, 0xFFFFFF};
    mono.pixel = [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 4 < 2 ? 0 : 1); };
    w.SetTextColor(kRed);
    w.SetBkColor(kYellow);
    withBrush(w.DibPatternBrush(BuildDib(mono), true), [&] { w.Rectangle(R(o, 100, 550, 900, 900)); });
  }
  {
    const Point o = grid.Next("stretchdibits");
    w.StretchDiBits(R(o, 100, 100, 900, 900), Rect{0, 0, 4, 4}, Colors4x4());
  }
  {
    const Point o = grid.Next("bitblt-32");
    DibPlan plan;
    plan.width = 40;
    plan.height = 40;
    plan.bitCount = 32;
    plan.pixel = [](int x, int y) { return static_cast<std::uint32_t>((x * 6) << 16 | (y * 6) << 8 | 0x80); };
    const PackedDib dib = BuildDib(plan);
    oneToOne(o, [&](Point px) { w.Blit(76, Rect{px.x + 30, px.y + 30, px.x + 70, px.y + 70}, Rect{0, 0, 40, 40}, 0x00CC0020, dib); });
  }
  {
    const Point o = grid.Next("alphablend");
    withBrush(w.CreateBrush(kBsSolid, kBlue), [&] { w.Rectangle(R(o, 100, 100, 600, 900)); });
    DibPlan plan;
    plan.width = 20;
    plan.height = 20;
    plan.bitCount = 32;
    plan.topDown = true;
    // Premultiplied red whose alpha grows from left to right.
    plan.pixel = [](int x, int) {
      const std::uint32_t alpha = static_cast<std::uint32_t>(x * 255 / 19);
      return alpha << 24 | alpha << 16;
    };
    w.Blit(114, R(o, 100, 100, 900, 900), Rect{0, 0, 20, 20}, 0x01C80000u, BuildDib(plan));  // source alpha, 200/255
  }
  {
    const Point o = grid.Next("transparentblt");
    withBrush(w.CreateBrush(kBsSolid, kGrey), [&] { w.Rectangle(R(o, 100, 100, 900, 900)); });
    DibPlan plan;
    plan.width = 8;
    plan.height = 8;
    plan.bitCount = 24;
    plan.pixel = [](int x, int y) { return (x == y || x == 7 - y) ? 0xFFFF00u : 0xFF00FFu; };
    w.Blit(116, R(o, 100, 100, 900, 900), Rect{0, 0, 8, 8}, Rgb(255, 0, 255), BuildDib(plan));
  }
  {
    const Point o = grid.Next("setdibitstodevice");
    oneToOne(o, [&](Point px) { w.SetDiBitsToDevice(Point{px.x + 20, px.y + 20}, Rect{0, 0, 60, 60}, Palette8(60)); });
  }
  {
    const Point o = grid.Next("regions");
    const std::uint32_t green = w.CreateBrush(kBsSolid, kGreen);
    const std::uint32_t black = w.CreateBrush(kBsSolid, kBlack);
    const std::vector<Rect> rects = {R(o, 100, 100, 600, 500), R(o, 400, 500, 900, 900)};
    w.RegionRecord(71, rects, green);
    w.RegionRecord(72, rects, black, Point{30, 30});
    w.DeleteObject(green);
    w.DeleteObject(black);
  }
  {
    const Point o = grid.Next("clip-region");
    w.SaveDc();
    const int px = o.x / 10;
    const int py = o.y / 10;
    w.RegionRecord(75, {Rect{px + 10, py + 10, px + 90, py + 40}, Rect{px + 10, py + 60, px + 90, py + 90}}, 0, {}, 5);
    withBrush(w.CreateBrush(kBsSolid, kRed), [&] { w.Ellipse(R(o, 100, 100, 900, 900)); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("clip-rects-save");
    w.SaveDc();
    w.IntersectClipRect(R(o, 100, 100, 900, 900));
    w.SaveDc();
    w.ExcludeClipRect(R(o, 300, 300, 700, 700));
    withBrush(w.CreateBrush(kBsSolid, kBlue), [&] { w.Rectangle(R(o, 0, 0, 1000, 1000)); });
    w.RestoreDc(-1);
    withBrush(w.CreateBrush(kBsSolid, kYellow), [&] { w.Ellipse(R(o, 400, 400, 600, 600)); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("mapping-zoom");
    w.SaveDc();
    w.SetWindowOrg(0, 0);
    w.SetWindowExt(100, 100);
    w.SetViewportOrg(o.x / 10 + 10, o.y / 10 + 30);
    w.SetViewportExt(80, 40);  // twice as wide as high
    withBrush(w.CreateBrush(kBsSolid, kCyan), [&] { w.Ellipse(Rect{0, 0, 100, 100}); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("gradient");
    w.GradientRect(R(o, 100, 100, 900, 450), kRed, kBlue, false);
    w.GradientRect(R(o, 100, 550, 900, 900), kYellow, kGreen, true);
  }
  {
    const Point o = grid.Next("metric-mode");
    w.SaveDc();
    w.SetMapMode(2);
    w.SetViewportOrg(o.x / 10 + 10, o.y / 10 + 90);
    withBrush(w.CreateBrush(kBsSolid, kOrange), [&] { w.Rectangle(Rect{0, 0, 200, 200}); });
    w.RestoreDc(-1);
  }
  {
    const Point o = grid.Next("stock-objects");
    w.SelectObject(0x80000003u);  // dark grey brush
    w.SelectObject(kStockNullPen);
    w.Rectangle(R(o, 100, 100, 500, 500));
    w.SelectObject(kStockNullBrush);
    w.SelectObject(kStockBlackPen);
    w.Rectangle(R(o, 400, 400, 900, 900));
    w.SelectObject(kStockWhiteBrush);
  }
  {
    const Point o = grid.Next("palette-index");
    ByteSink palette;
    palette.U32(30).U16(0x0300).U16(2).U8(200).U8(0).U8(200).U8(0).U8(0).U8(150).U8(150).U8(0);
    w.Record(49, palette.Take());  // handle 30
    w.SelectObject(0);  // index 0 is never valid; ignored
    w.Value(48, 30);
    withBrush(w.CreateBrush(kBsSolid, 0x01000001u), [&] { w.Ellipse(R(o, 100, 100, 900, 900)); });
    w.Value(48, 0x8000000Fu);
  }
  {
    const Point o = grid.Next("skipped-records");
    Bytes emfPlus = {'E', 'M', 'F', '+', 1, 0x40, 1, 0, 28, 0, 0, 0, 16, 0, 0, 0};
    w.Comment(emfPlus);
    w.Value(98, 1);        // colour management mode
    w.Record(200, {1, 2, 3, 4});  // a type no writer uses
    w.Value(115, 0);       // layout
    withBrush(w.CreateBrush(kBsSolid, kBlack), [&] { w.Rectangle(R(o, 300, 300, 700, 700)); });
  }
  {
    const Point o = grid.Next("patblt-rop");
    withBrush(w.CreateBrush(kBsSolid, kBlue), [&] { w.PatBlt(R(o, 100, 100, 900, 900), 0x00F00021); });
    w.PatBlt(R(o, 300, 300, 700, 700), 0x00550009);
    w.PatBlt(R(o, 100, 100, 300, 300), 0x00000042);
  }
  w.Eof();

  Card card;
  card.file = "card-emf.emf";
  card.bytes = w.Finish();
  card.cells = grid.Cells();
  return card;
}

// ---------------------------------------------------------------- bad input

Bytes Truncate(Bytes bytes, std::size_t size) {
  bytes.resize(std::min(bytes.size(), size));
  return bytes;
}

// A small placeable WMF with `extra` written before its end record.
Bytes SmallWmf(const std::function<void(WmfWriter&)>& extra, Placeable placeable = {Rect{0, 0, 1000, 1000}, 1000}) {
  WmfWriter w;
  w.SetMapMode(8);
  w.SetWindowExt(1000, 1000);
  w.Rectangle(Rect{100, 100, 900, 900});
  extra(w);
  w.Eof();
  return w.Finish(placeable);
}

Bytes SmallEmf(const std::function<void(EmfWriter&)>& extra, Rect frame = Rect{0, 0, 2646, 2646}) {
  EmfWriter w(Rect{0, 0, 99, 99}, frame);
  w.Rectangle(Rect{10, 10, 90, 90});
  extra(w);
  w.Eof();
  return w.Finish();
}

void Patch32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<Card> TestCards() { return {WmfCard(true), WmfCard(false), WmfCard(true, true), EmfCard()}; }

std::string CellManifest(const Card& card) {
  std::ostringstream out;
  for (const Cell& cell : card.cells) {
    out << cell.name << ' ' << cell.left << ' ' << cell.top << ' ' << cell.width << ' ' << cell.height << '\n';
  }
  return out.str();
}

std::vector<Fixture> BadInputFixtures() {
  std::vector<Fixture> out;
  const Bytes wmf = SmallWmf([](WmfWriter&) {});
  const Bytes emf = SmallEmf([](EmfWriter&) {});

  // WMF: the placeable header (22 bytes) is followed by the 18-byte header;
  // the first record starts at byte 40 and is 8 bytes long (map mode).
  out.push_back({"bad-wmf-not-a-metafile.wmf", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}});
  out.push_back({"bad-wmf-truncated-header.wmf", Truncate(wmf, 30)});
  out.push_back({"bad-wmf-truncated-in-record.wmf", Truncate(wmf, wmf.size() - 9)});
  out.push_back({"bad-wmf-truncated-at-record.wmf", Truncate(wmf, 40 + 8)});
  {
    Bytes b = wmf;
    Patch32(b, 40, 0);  // record size 0 words
    out.push_back({"bad-wmf-record-size-zero.wmf", b});
  }
  {
    Bytes b = wmf;
    Patch32(b, 40 + 8, 0x7FFFFFFF);  // the second record claims 4 GiB
    out.push_back({"bad-wmf-record-past-end.wmf", b});
  }
  out.push_back({"bad-wmf-absurd-extents.wmf",
                 SmallWmf([](WmfWriter&) {}, Placeable{Rect{-32768, -32768, 32767, 32767}, 1})});
  out.push_back({"bad-wmf-zero-size.wmf", SmallWmf([](WmfWriter&) {}, Placeable{Rect{100, 100, 100, 900}, 1440})});
  out.push_back({"bad-wmf-units-per-inch-zero.wmf", SmallWmf([](WmfWriter&) {}, Placeable{Rect{0, 0, 100, 100}, 0})});
  out.push_back({"bad-wmf-polygon-count.wmf", SmallWmf([](WmfWriter& w) {
                   w.Record(0x0324, ByteSink().I16(32767).I16(0).I16(0).I16(10).I16(10).I16(0).I16(10).Take());
                 })});
  out.push_back({"bad-wmf-polypolygon-count.wmf", SmallWmf([](WmfWriter& w) {
                   w.Record(0x0538, ByteSink().U16(65535).U16(3).U16(3).Take());
                 })});
  out.push_back({"bad-wmf-dib-short.wmf", SmallWmf([](WmfWriter& w) {
                   DibPlan plan;
                   plan.width = 2;
                   plan.height = 2;
                   plan.pixel = [](int, int) { return 0u; };
                   PackedDib dib = BuildDib(plan);
                   dib.info[4] = 0xE8;  // width 1000
                   dib.info[5] = 0x03;
                   dib.info[8] = 0xE8;  // height 1000
                   dib.info[9] = 0x03;
                   w.StretchDib(Rect{0, 0, 500, 500}, Rect{0, 0, 1000, 1000}, dib);
                 })});
  out.push_back({"bad-wmf-dib-huge.wmf", SmallWmf([](WmfWriter& w) {
                   DibPlan plan;
                   plan.width = 2;
                   plan.height = 2;
                   plan.pixel = [](int, int) { return 0u; };
                   PackedDib dib = BuildDib(plan);
                   Patch32(dib.info, 4, 30000);
                   Patch32(dib.info, 8, 30000);
                   w.StretchDib(Rect{0, 0, 500, 500}, Rect{0, 0, 2, 2}, dib);
                 })});
  out.push_back({"bad-wmf-dib-header-size.wmf", SmallWmf([](WmfWriter& w) {
                   DibPlan plan;
                   plan.pixel = [](int, int) { return 0u; };
                   PackedDib dib = BuildDib(plan);
                   Patch32(dib.info, 0, 7);
                   w.StretchDib(Rect{0, 0, 500, 500}, Rect{0, 0, 1, 1}, dib);
                 })});
  out.push_back({"bad-wmf-text-length.wmf", SmallWmf([](WmfWriter& w) {
                   w.Record(0x0521, ByteSink().I16(30000).Text("ab").I16(0).I16(0).Take());
                 })});
  out.push_back({"bad-wmf-region-scans.wmf", SmallWmf([](WmfWriter& w) {
                   w.Record(0x06FF, ByteSink().I16(0).I16(6).I32(0).I16(0).I16(1000).I16(0)
                                        .I16(0).I16(0).I16(10).I16(10).U16(2).U16(0).U16(10).U16(0).U16(10).U16(2)
                                        .Take());
                 })});
  {
    // Saves nested far past the cap, each undone again.
    out.push_back({"ok-wmf-deep-saves.wmf", SmallWmf([](WmfWriter& w) {
                     for (int i = 0; i < 5000; ++i) w.SaveDc();
                     w.Ellipse(Rect{200, 200, 800, 800});
                     for (int i = 0; i < 5000; ++i) w.RestoreDc(-1);
                   })});
  }
  {
    WmfWriter w;
    w.Rectangle(Rect{0, 0, 100, 100});
    out.push_back({"ok-wmf-no-end-record.wmf", w.Finish(Placeable{Rect{0, 0, 100, 100}, 96})});
  }
  out.push_back({"ok-wmf-bad-checksum.wmf",
                 SmallWmf([](WmfWriter&) {}, Placeable{Rect{0, 0, 1000, 1000}, 1000, true})});
  out.push_back({"ok-wmf-absurd-window.wmf", SmallWmf([](WmfWriter& w) {
                   w.SetWindowExt(1, 1);
                   w.SetViewportExt(32767, 32767);
                   w.Ellipse(Rect{-32000, -32000, 32000, 32000});
                 })});

  // EMF: the header is 108 bytes; the first record (a rectangle) is 24.
  out.push_back({"bad-emf-truncated-header.emf", Truncate(emf, 60)});
  {
    Bytes b = emf;
    Patch32(b, 4, 40);
    out.push_back({"bad-emf-header-size.emf", b});
  }
  {
    Bytes b = emf;
    Patch32(b, 108 + 4, 22);
    out.push_back({"bad-emf-record-size-unaligned.emf", b});
  }
  {
    Bytes b = emf;
    Patch32(b, 108 + 4, 4);
    out.push_back({"bad-emf-record-size-small.emf", b});
  }
  {
    Bytes b = emf;
    Patch32(b, 108 + 4, 0x7FFFFFFC);
    out.push_back({"bad-emf-record-past-end.emf", b});
  }
  out.push_back({"bad-emf-truncated-at-record.emf", Truncate(emf, 108 + 24)});
  out.push_back({"bad-emf-zero-size.emf", [] {
                   EmfWriter w(Rect{0, 0, -1, -1}, Rect{0, 0, 0, 0});
                   w.Eof();
                   return w.Finish();
                 }()});
  out.push_back({"bad-emf-absurd-frame.emf", SmallEmf([](EmfWriter&) {}, Rect{0, 0, 2000000000, 2000000000})});
  out.push_back({"bad-emf-polyline-count-huge.emf", SmallEmf([](EmfWriter& w) {
                   w.Record(4, ByteSink().I32(0).I32(0).I32(0).I32(0).U32(0x40000000).I32(1).I32(1).Take());
                 })});
  out.push_back({"bad-emf-polyline-count.emf", SmallEmf([](EmfWriter& w) {
                   w.Record(4, ByteSink().I32(0).I32(0).I32(0).I32(0).U32(1000).I32(1).I32(1).I32(5).I32(5).Take());
                 })});
  out.push_back({"bad-emf-polypolygon-counts.emf", SmallEmf([](EmfWriter& w) {
                   w.Record(8, ByteSink().I32(0).I32(0).I32(0).I32(0).U32(2).U32(3).U32(3).U32(3)
                                   .I32(0).I32(0).I32(5).I32(0).I32(5).I32(5).Take());
                 })});
  out.push_back({"bad-emf-dib-offsets.emf", SmallEmf([](EmfWriter& w) {
                   DibPlan plan;
                   plan.pixel = [](int, int) { return 0u; };
                   w.StretchDiBits(Rect{0, 0, 50, 50}, Rect{0, 0, 1, 1}, BuildDib(plan));
                   // Point the pixel offset past the record.
                 })});
  out.push_back({"bad-emf-dib-short.emf", SmallEmf([](EmfWriter& w) {
                   DibPlan plan;
                   plan.width = 2;
                   plan.height = 2;
                   plan.pixel = [](int, int) { return 0u; };
                   PackedDib dib = BuildDib(plan);
                   Patch32(dib.info, 4, 2000);
                   Patch32(dib.info, 8, 2000);
                   w.StretchDiBits(Rect{0, 0, 50, 50}, Rect{0, 0, 2, 2}, dib);
                 })});
  out.push_back({"bad-emf-dib-huge.emf", SmallEmf([](EmfWriter& w) {
                   DibPlan plan;
                   plan.pixel = [](int, int) { return 0u; };
                   PackedDib dib = BuildDib(plan);
                   Patch32(dib.info, 4, 100000);
                   Patch32(dib.info, 8, 100000);
                   w.StretchDiBits(Rect{0, 0, 50, 50}, Rect{0, 0, 1, 1}, dib);
                 })});
  out.push_back({"bad-emf-text-count.emf", SmallEmf([](EmfWriter& w) {
                   w.ExtTextOutW(Point{10, 10}, 0, Rect{}, u"ab");
                 })});
  out.push_back({"bad-emf-region-count.emf", SmallEmf([](EmfWriter& w) {
                   w.RegionRecord(75, {Rect{0, 0, 10, 10}});
                 })});
  out.push_back({"bad-emf-pen-entries.emf", SmallEmf([](EmfWriter& w) {
                   w.Record(95, ByteSink().U32(1).U32(0).U32(0).U32(0).U32(0).U32(0x10007).U32(10).U32(0).U32(0)
                                    .U32(0).U32(0x10000000).U32(5).Take());
                 })});
  out.push_back({"ok-emf-deep-saves.emf", SmallEmf([](EmfWriter& w) {
                   for (int i = 0; i < 5000; ++i) w.SaveDc();
                   w.Ellipse(Rect{20, 20, 80, 80});
                   w.RestoreDc(-5000);
                 })});
  out.push_back({"ok-emf-no-end-record.emf", [] {
                   EmfWriter w(Rect{0, 0, 99, 99}, Rect{0, 0, 2646, 2646});
                   w.Rectangle(Rect{10, 10, 90, 90});
                   return w.Finish();
                 }()});
  out.push_back({"ok-emf-nan-transform.emf", SmallEmf([](EmfWriter& w) {
                   w.SetWorldTransform(std::nanf(""), 0, 0, 1, 0, 0);
                   w.Ellipse(Rect{20, 20, 80, 80});
                 })});
  out.push_back({"ok-emf-bad-handles.emf", SmallEmf([](EmfWriter& w) {
                   w.SelectObject(99999);
                   w.DeleteObject(12345);
                   w.SelectObject(0x80001234u);
                   w.Ellipse(Rect{20, 20, 80, 80});
                 })});
  out.push_back({"ok-emf-huge-coordinates.emf", SmallEmf([](EmfWriter& w) {
                   w.Rectangle(Rect{-2000000000, -2000000000, 2000000000, 2000000000});
                 })});

  // Patch the bitmap offset of the offsets fixture now that its layout is known:
  // header 108, rectangle 24, then the stretch record whose pixel offset is at +56.
  for (Fixture& fixture : out) {
    if (fixture.file == "bad-emf-dib-offsets.emf") Patch32(fixture.bytes, 108 + 24 + 56, 0x00100000);
    if (fixture.file == "bad-emf-text-count.emf") Patch32(fixture.bytes, 108 + 24 + 36 + 8, 0x00FFFFFF);
    if (fixture.file == "bad-emf-region-count.emf") Patch32(fixture.bytes, 108 + 24 + 8 + 8 + 8, 0x00FFFFFF);
  }
  return out;
}

}  // namespace metafile_gen
