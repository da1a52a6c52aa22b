// The WMF player against libwmf's converter (Debian's libwmf-bin), cell by
// cell on a card made for the purpose. Cells where that converter is known to
// draw differently are listed with the reason and only reported.
#include "test_support.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <string>

namespace {

// Cells the other converter draws in its own way; every other cell must agree.
const std::map<std::string, std::string>& KnownDifferences() {
  static const std::map<std::string, std::string> differences = {
      {"polygon-winding", "the converter fills every polygon in alternate mode"},
      {"ellipse", "the converter leaves ellipses unfilled"},
      {"chord", "the converter fills the wrong side of a chord"},
      {"exttextout", "the converter does not fill the opaque rectangle and uses its own fonts"},
      {"hatch", "the converter fills hatch gaps with the background colour in transparent mode"},
      {"hatch-opaque", "the converter leaves ellipses unfilled"},
      {"stretchdib", "the converter smooths enlarged bitmaps; the player keeps their pixels, as the default "
                     "stretch mode does"},
      {"dibstretchblt", "the converter smooths enlarged bitmaps"},
      {"bitblt-mono", "the converter does not draw device-dependent bitmaps"},
      {"clip-intersect", "the converter leaves ellipses unfilled"},
      {"clip-exclude", "the converter ignores excluded clip rectangles"},
      {"region-fill-frame", "the converter frames each rectangle of a region instead of its outline"},
      {"inside-frame", "the converter centres an inside-frame pen on the outline, with mitred corners"},
      {"region-clip", "the converter leaves ellipses unfilled"},
      {"window-zoom", "the converter leaves ellipses unfilled"},
      {"patblt", "the converter inverts to white instead of the inverse colour"},
      {"rop2-xor", "the converter ignores the line raster operation"},
      {"dib-rle8", "the converter refuses run-length compressed bitmaps"},
  };
  return differences;
}

TEST(CrossCheck, WmfAgreesWithLibwmfWhereBothDraw) {
  metafile_test::EnsureGuiApplication();
  const QString converter = QStandardPaths::findExecutable(QStringLiteral("wmf2gd"));
  if (converter.isEmpty()) {
    GTEST_SKIP() << "wmf2gd (Debian package libwmf-bin) is not installed: the WMF cross-check does not run";
  }
  const auto input = metafile_test::DataDir() / "crosscheck-wmf.wmf";
  const auto theirsPath = metafile_test::OutputDir() / "crosscheck-libwmf.png";
  std::filesystem::remove(theirsPath);
  QProcess process;
  process.start(converter, {QStringLiteral("--maxwidth=600"), QStringLiteral("--maxheight=600"),
                            QStringLiteral("--maxpect"), QStringLiteral("-t"), QStringLiteral("png"),
                            QStringLiteral("-o"), QString::fromStdString(theirsPath.string()),
                            QString::fromStdString(input.string())});
  ASSERT_TRUE(process.waitForFinished(120'000)) << "wmf2gd did not finish";
  const QImage theirs(QString::fromStdString(theirsPath.string()));
  ASSERT_FALSE(theirs.isNull()) << "wmf2gd wrote no picture: " << process.readAllStandardError().toStdString();

  const metafile::RenderResult ours = metafile::Render(metafile_test::ReadBytes(input), theirs.size());
  ASSERT_TRUE(ours.Ok());
  metafile_test::OnWhite(ours.image).save(QString::fromStdString((metafile_test::OutputDir() / "crosscheck-ours.png").string()));

  const double scale = theirs.width() / 600.0;
  for (const auto& cell : metafile_test::ReadCells(metafile_test::DataDir() / "crosscheck-wmf.wmf.cells")) {
    const QRect area(static_cast<int>(cell.rect.x() * scale), static_cast<int>(cell.rect.y() * scale),
                     static_cast<int>(cell.rect.width() * scale), static_cast<int>(cell.rect.height() * scale));
    // Another rasteriser puts edges up to a few pixels elsewhere and shades
    // them its own way; what must agree is what a person sees in the cell.
    const double share = metafile_test::MismatchShare(ours.image, theirs, area, 48, 2, metafile_test::Blends::kAllowed);
    const auto known = KnownDifferences().find(cell.name);
    std::cout << "  " << cell.name << ": " << share * 100 << " % differs"
              << (known != KnownDifferences().end() ? " (known: " + known->second + ")" : "") << '\n';
    if (known == KnownDifferences().end()) {
      EXPECT_LE(share, 0.04) << "cell " << cell.name;
    }
  }
}

}  // namespace
