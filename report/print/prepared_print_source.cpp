#include "report/print/prepared_print_source.h"

#include <QPainter>

#include <algorithm>
#include <utility>

#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/store/prepared_pages.h"

namespace report {

namespace {

// Both sides number the duplex modes alike: 0 the printer's own, then
// vertical, horizontal, simplex.
report::Duplex DuplexOf(int code) {
  return code >= 0 && code <= 3 ? static_cast<report::Duplex>(code) : report::Duplex::dmDefault;
}

PagePaper Lying(PagePaper paper) {
  if (paper.Orientation == PaperOrientation::poLandscape) std::swap(paper.PaperWidth, paper.PaperHeight);
  return paper;
}

}  // namespace

int PreparedPagesPrintSource::PageCount() const { return m_pages.Count(); }

PagePaper PreparedPagesPrintSource::PaperOf(int page) const { return PaperOfSettings(m_pages.Settings(page)); }

void PreparedPagesPrintSource::DrawPage(int page, QPainter& painter, double scaleX, double scaleY,
                                        QPointF offset) const {
  if (scaleX == scaleY) {
    m_pages.DrawPage(page, painter, scaleX, offset);
    return;
  }
  // A printer with unequal resolutions: stretch the drawing in y.
  painter.save();
  painter.translate(offset);
  painter.scale(1, scaleY / scaleX);
  m_pages.DrawPage(page, painter, scaleX, QPointF(0, 0));
  painter.restore();
}

PagePaper PaperOfSettings(const PageSettings& settings) {
  PagePaper paper;
  paper.PaperSize = settings.paperSize;
  paper.PaperWidth = settings.paperWidth;
  paper.PaperHeight = settings.paperHeight;
  paper.Orientation = settings.orientation == Orientation::poLandscape ? PaperOrientation::poLandscape
                                                                       : PaperOrientation::poPortrait;
  paper.LeftMargin = settings.leftMargin;
  paper.TopMargin = settings.topMargin;
  paper.RightMargin = settings.rightMargin;
  paper.BottomMargin = settings.bottomMargin;
  paper.Bin = settings.bin;
  paper.BinOtherPages = settings.binOtherPages;
  paper.Duplex = DuplexOf(settings.duplex);
  return Lying(paper);
}

PagePaper PaperOfPage(const ReportPage& page) {
  PagePaper paper;
  paper.PaperSize = page.PaperSize();
  paper.PaperWidth = page.PaperWidth();
  paper.PaperHeight = page.PaperHeight();
  paper.Orientation = page.Orientation() == Orientation::poLandscape ? PaperOrientation::poLandscape
                                                                     : PaperOrientation::poPortrait;
  paper.LeftMargin = page.LeftMargin();
  paper.TopMargin = page.TopMargin();
  paper.RightMargin = page.RightMargin();
  paper.BottomMargin = page.BottomMargin();
  paper.Bin = page.Bin();
  paper.BinOtherPages = page.BinOtherPages();
  paper.Duplex = DuplexOf(page.Duplex());
  return Lying(paper);
}

void ApplyPaper(ReportPage& page, const PagePaper& lying) {
  const PagePaper upright = Lying(lying);  // turning twice gives the upright measures back
  page.SetOrientation(lying.Orientation == PaperOrientation::poLandscape ? Orientation::poLandscape
                                                                         : Orientation::poPortrait);
  page.SetPaperSize(upright.PaperSize);
  page.SetPaperWidth(upright.PaperWidth);
  page.SetPaperHeight(upright.PaperHeight);
  page.SetLeftMargin(lying.LeftMargin);
  page.SetTopMargin(lying.TopMargin);
  page.SetRightMargin(lying.RightMargin);
  page.SetBottomMargin(lying.BottomMargin);
}

PrintJobOptions JobOptionsOf(const PrintOptions& stored) {
  PrintJobOptions job;
  job.Printer = stored.printer;
  job.Copies = std::max(stored.copies, 1);
  job.Collate = stored.collate;
  job.PageNumbers = stored.pageNumbers;
  job.PrintPages = stored.printPages >= 0 && stored.printPages <= 2 ? static_cast<report::PrintPages>(stored.printPages)
                                                                    : report::PrintPages::ppAll;
  job.PrintMode = stored.printMode >= 0 && stored.printMode <= 3 ? static_cast<report::PrintMode>(stored.printMode)
                                                                 : report::PrintMode::pmDefault;
  job.PrintOnSheet = stored.printOnSheet;
  job.Reverse = stored.reverse;
  job.ShowDialog = stored.showDialog;
  return job;
}

}  // namespace report
