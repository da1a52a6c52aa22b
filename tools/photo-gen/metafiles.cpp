#include "metafiles.h"

#include <vector>

#include "emf_writer.h"
#include "wmf_writer.h"

namespace photo_gen {

namespace {

constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}

constexpr int kSolid = 0;     // pen and brush style
constexpr int kNullPen = 5;   // PS_NULL
constexpr int kAnisotropic = 8;

QByteArray ToBytes(const metafile_gen::Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QByteArray TargetWmf() {
  using metafile_gen::Rect;
  metafile_gen::WmfWriter w;
  w.SetMapMode(kAnisotropic);
  w.SetWindowExt(4000, 3000);
  const int noPen = w.CreatePen(kNullPen, 0, 0);
  w.SelectObject(noPen);
  const int card = w.CreateBrush(kSolid, Rgb(196, 178, 140));
  w.SelectObject(card);
  w.Rectangle(Rect{0, 0, 4001, 3001});
  const int paper = w.CreateBrush(kSolid, Rgb(245, 240, 228));
  w.SelectObject(paper);
  w.Rectangle(Rect{650, 150, 3351, 2851});
  const int black = w.CreateBrush(kSolid, Rgb(20, 20, 20));
  const int lightRing = w.CreatePen(kSolid, 12, Rgb(230, 230, 230));
  const int darkRing = w.CreatePen(kSolid, 12, Rgb(20, 20, 20));
  for (int ring = 10; ring >= 1; --ring) {
    const int r = 130 * ring;
    const bool inner = ring <= 6;
    w.SelectObject(inner ? black : paper);
    w.SelectObject(inner ? lightRing : darkRing);
    w.Ellipse(Rect{2000 - r, 1500 - r, 2000 + r, 1500 + r});
  }
  const int hit = w.CreateBrush(kSolid, Rgb(90, 70, 50));
  w.SelectObject(hit);
  w.SelectObject(noPen);
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1950, 1420}, {2110, 1580}, {1830, 1640}, {2240, 1330}}) {
    w.Ellipse(Rect{x - 35, y - 35, x + 35, y + 35});
  }
  w.Eof();
  return ToBytes(w.Finish(metafile_gen::Placeable{Rect{0, 0, 4000, 3000}, 1000}));
}

QByteArray HillsEmf() {
  using metafile_gen::Point;
  using metafile_gen::Rect;
  // 800 x 600 pixels at 96 dpi, the frame in 0.01 mm.
  metafile_gen::EmfWriter w(Rect{0, 0, 799, 599}, Rect{0, 0, 21166, 15875});
  w.GradientRect(Rect{0, 0, 800, 420}, Rgb(170, 175, 190), Rgb(228, 226, 220), true);
  const std::uint32_t noPen = w.CreatePen(kNullPen, 0, 0);
  w.SelectObject(noPen);
  const std::uint32_t sun = w.CreateBrush(kSolid, Rgb(250, 248, 236));
  w.SelectObject(sun);
  w.Ellipse(Rect{520, 90, 600, 170});
  const struct {
    std::uint32_t color;
    int base;
    int rise;
  } ranges[] = {{Rgb(165, 170, 172), 330, 60}, {Rgb(125, 135, 130), 400, 50}, {Rgb(90, 100, 92), 470, 40}};
  int phase = 0;
  for (const auto& range : ranges) {
    std::vector<Point> hills{{0, 600}};
    for (int x = 0; x <= 800; x += 40) {
      const int step = (x / 40 + phase) % 8;
      const int bump = step < 4 ? step : 8 - step;  // 0 1 2 3 4 3 2 1
      hills.push_back({x, range.base - range.rise * bump / 4});
    }
    hills.push_back({800, 600});
    const std::uint32_t brush = w.CreateBrush(kSolid, range.color);
    w.SelectObject(brush);
    w.Poly(3, hills);
    phase += 3;
  }
  w.Eof();
  return ToBytes(w.Finish());
}

}  // namespace photo_gen
