#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include <vector>

#include "report/print/print_job.h"

namespace report::testing {

// Pages that say which they are in large letters, so that the text of a
// printed PDF tells the order of the pages sent, and with a black bar whose
// height on the page tells the same where the text does not survive (the
// PDF queue turns the letters into pictures of themselves).
class NumberedPages : public PrintPageSource {
 public:
  explicit NumberedPages(int count, PagePaper paper = {}) : m_count(count), m_paper(paper) {}
  int PageCount() const override { return m_count; }
  PagePaper PaperOf(int) const override { return m_paper; }
  void DrawPage(int page, QPainter& painter, double scaleX, double scaleY, QPointF offset) const override {
    painter.save();
    painter.translate(offset);
    painter.scale(scaleX, scaleY);  // report units from here on
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(QRectF(37.7953, 37.7953, 718.1107, 1046.92981));  // the printable area at 10 mm margins
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(QPointF(100, 200), QStringLiteral("Pagina %1 di %2").arg(page + 1).arg(m_count));
    painter.fillRect(QRectF(100, BarTop(page + 1), 600, 50), Qt::black);
    painter.restore();
  }

 static double BarTop(int pageNo) { return 200 + pageNo * 80; }  // report units

 private:
  int m_count;
  PagePaper m_paper;
};

inline bool RunTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) return false;
  if (output != nullptr) *output = process.readAllStandardOutput();
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// What pdfinfo says of a PDF: its page count and the size of its first page
// in points; -1 when it cannot read it.
struct PdfFacts {
  int pages = -1;
  double widthPt = -1;
  double heightPt = -1;
};

inline PdfFacts ReadPdfFacts(const QString& path) {
  QByteArray out;
  PdfFacts facts;
  if (!RunTool(QStringLiteral("pdfinfo"), {path}, &out)) return facts;
  const QString text = QString::fromUtf8(out);
  const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(text);
  const QRegularExpressionMatch size =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(text);
  if (pages.hasMatch()) facts.pages = pages.captured(1).toInt();
  if (size.hasMatch()) {
    facts.widthPt = size.captured(1).toDouble();
    facts.heightPt = size.captured(2).toDouble();
  }
  return facts;
}

// The text of every page of a PDF, pages from 1; empty on failure.
inline QStringList PdfPageTexts(const QString& path, int pages) {
  QStringList texts;
  for (int page = 1; page <= pages; ++page) {
    QByteArray out;
    const QString n = QString::number(page);
    if (!RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-f"), n, QStringLiteral("-l"), n, path, QStringLiteral("-")}, &out)) {
      return {};
    }
    texts.append(QString::fromUtf8(out).simplified());
  }
  return texts;
}

// The sizes of every page of a PDF in points, pages from 1.
inline QList<QSizeF> PdfPageSizes(const QString& path, int pages) {
  QByteArray out;
  QList<QSizeF> sizes;
  if (!RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                           QString::number(pages), path}, &out)) {
    return sizes;
  }
  const QRegularExpression line(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
  for (auto it = line.globalMatch(QString::fromUtf8(out)); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    sizes.append(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
  }
  return sizes;
}

// The page number each page of a PDF shows by its bar (0 for none), read from
// a rendering at 24 dots an inch.
inline std::vector<int> PdfPageBars(const QString& path, int pages, const QString& scratch) {
  std::vector<int> bars;
  constexpr double kDotsPerUnit = 24.0 / 96.0;
  for (int page = 1; page <= pages; ++page) {
    const QString n = QString::number(page);
    const QString prefix = scratch + QStringLiteral("/bar");
    if (!RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("24"), QStringLiteral("-gray"),
                                              QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"), n,
                                              QStringLiteral("-l"), n, path, prefix})) {
      return {};
    }
    const QImage image(prefix + QStringLiteral(".png"));
    int found = 0;
    for (int pageNo = 1; pageNo <= 10 && found == 0; ++pageNo) {
      const int y = static_cast<int>((NumberedPages::BarTop(pageNo) + 25) * kDotsPerUnit);
      const int x = static_cast<int>(400 * kDotsPerUnit);
      if (y < image.height() && qGray(image.pixel(x, y)) < 64) found = pageNo;
    }
    bars.push_back(found);
  }
  return bars;
}

inline constexpr double kA4WidthPt = 595.28;
inline constexpr double kA4HeightPt = 841.89;

}  // namespace report::testing
