// Pages drawn to pictures and PDF: a golden picture of one page (a fixed
// font, compared with a small tolerance) and the font fallback.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "engine_fixtures.h"
#include "report/engine/rows_dataset.h"
#include "report/model/text_layout.h"
#include "report/store/page_painter.h"

namespace report {
namespace {

using expr::FieldType;
using expr::Value;
using testing::Built;
using testing::TestData;

Built DrawingReport(RowsDataSet& rows, int count) {
  for (int i = 0; i < count; ++i) {
    rows.AddRow({Value("Carico " + std::to_string(i + 1)), Value(1234.5 + i)});
  }
  Built b;
  TemplateError error;
  EXPECT_TRUE(LoadTemplate(*b.report, TestData(QStringLiteral("drawing.xml")), &error))
      << error.Text().toStdString();
  EXPECT_TRUE(b.Build()) << b.Errors();
  return b;
}

// Share of pixels whose channels differ by more than `threshold`.
double DifferentPixels(const QImage& a, const QImage& b, int threshold) {
  if (a.size() != b.size()) return 1.0;
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  qint64 different = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      const int d = std::max({std::abs(qRed(p[col]) - qRed(q[col])), std::abs(qGreen(p[col]) - qGreen(q[col])),
                              std::abs(qBlue(p[col]) - qBlue(q[col]))});
      different += d > threshold;
    }
  }
  return double(different) / double(x.width() * x.height());
}

TEST(PagePainter, PageMatchesTheGoldenPicture) {
  RowsDataSet rows(QStringLiteral("ds"), {{"t", FieldType::fftString}, {"n"}});
  Built b = DrawingReport(rows, 6);
  ASSERT_EQ(b.pages->Count(), 2);
  const QImage page = RenderPage(*b.pages, 0, 96);
  ASSERT_EQ(page.size(), QSize(378, 265));  // 100 x 70 mm at 3.77953 units a millimetre
  const QString golden = TestData(QStringLiteral("golden/drawing_page1.png"));
  if (qEnvironmentVariableIsSet("VERSANTO_UPDATE_GOLDEN")) page.save(golden);
  const QImage expected(golden);
  ASSERT_FALSE(expected.isNull()) << "missing " << golden.toStdString();
  EXPECT_LT(DifferentPixels(page, expected, 64), 0.003);
}

TEST(PagePainter, HigherResolutionDrawsTheSamePage) {
  RowsDataSet rows(QStringLiteral("ds"), {{"t", FieldType::fftString}, {"n"}});
  Built b = DrawingReport(rows, 6);
  const QImage small = RenderPage(*b.pages, 0, 96);
  const QImage large = RenderPage(*b.pages, 0, 288);
  ASSERT_EQ(large.size(), QSize(1134, 794));
  const QImage reduced = large.scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LT(DifferentPixels(small, reduced, 128), 0.02);
}

TEST(PagePainter, PdfHasEveryPage) {
  RowsDataSet rows(QStringLiteral("ds"), {{"t", FieldType::fftString}, {"n"}});
  Built b = DrawingReport(rows, 12);
  ASSERT_EQ(b.pages->Count(), 3);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.pdf"));
  QString error;
  ASSERT_TRUE(WritePdf(*b.pages, path, {}, &error)) << error.toStdString();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_TRUE(pdf.contains("/Count 3")) << pdf.left(400).toStdString();
  EXPECT_FALSE(WritePdf(*b.pages, path, {7}, &error));
  EXPECT_FALSE(WritePdf(*b.pages, dir.filePath(QStringLiteral("no/such/folder.pdf")), {}, &error));
}

TEST(PagePainter, MissingFontFallsBackToAFixedFamily) {
  const QString family = ResolvedFamily(QStringLiteral("Font Che Non Esiste"));
  EXPECT_EQ(family, ResolvedFamily(QStringLiteral("Un Altro Font Assente")));
  EXPECT_FALSE(family.isEmpty());
  EXPECT_EQ(ResolvedFamily(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
}

}  // namespace
}  // namespace report
