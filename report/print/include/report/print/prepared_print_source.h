#pragma once

#include "report/print/page_paper.h"
#include "report/print/print_job.h"

namespace report {

class PreparedPages;
class ReportPage;
struct PageSettings;
struct PrintOptions;

// The band engine's prepared pages as the print loop sees them, drawn by the
// very drawing the preview uses.
class PreparedPagesPrintSource : public PrintPageSource {
 public:
  explicit PreparedPagesPrintSource(const PreparedPages& pages) : m_pages(pages) {}
  int PageCount() const override;
  PagePaper PaperOf(int page) const override;
  void DrawPage(int page, QPainter& painter, double scaleX, double scaleY, QPointF offset) const override;

 private:
  const PreparedPages& m_pages;
};

// The engine keeps a landscape page's paper in its upright measures; the
// print side wants it as it lies. These turn one into the other.
PagePaper PaperOfSettings(const PageSettings& settings);
PagePaper PaperOfPage(const ReportPage& page);
// Paper size, orientation and margins of `paper` onto a template page.
void ApplyPaper(ReportPage& page, const PagePaper& paper);

// The report's stored print options as a job starts from them.
PrintJobOptions JobOptionsOf(const PrintOptions& stored);

}  // namespace report
