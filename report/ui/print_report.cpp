#include "report/ui/print_report.h"

#include <algorithm>

#include "report/model/report.h"
#include "report/print/prepared_print_source.h"
#include "report/print/printer_list.h"
#include "report/print/report_settings.h"
#include "report/store/prepared_pages.h"
#include "report/ui/page_settings.h"
#include "report/ui/print_command.h"
#include "report/ui/rep_resources.h"

namespace report {

bool PrintReport(PrintCommand& command, const Report& report, const PreparedPages& pages, int currentPage) {
  PrintJobOptions options = JobOptionsOf(report.PrintOptions());
  const PreparedPagesPrintSource source(pages);
  // The job is named after the report, as the preview's caption is.
  QString title = report.ReportOptions().name;
  if (title.isEmpty()) title = pages.Info().name;
  if (title.isEmpty()) title = RepResources::Text(100);
  return command.Print(source, options, currentPage, title);
}

PageSettingsChange AskPageSettings(QWidget* parent, const Report& report, const PreparedPages& pages,
                                   int currentPage, const std::function<bool(PageSettingsForm&)>& exec) {
  PageSettingsChange change;
  if (pages.Count() == 0) return change;
  const int index = std::clamp(currentPage, 1, pages.Count()) - 1;
  PageSettingsForm form(PrinterList::Instance().Current(), PaperOfSettings(pages.Settings(index)),
                        ReadSizeUnits(report.IniFile()), parent);
  change.accepted = exec ? exec(form) : form.exec() == QDialog::Accepted;
  if (!change.accepted) return change;
  change.applyToAll = form.ApplyToAll();
  change.paper = form.Page();
  return change;
}

void ApplyPageSettingsToAll(Report& report, const PagePaper& paper) {
  for (ReportPage* page : report.ReportPages()) ApplyPaper(*page, paper);
}

}  // namespace report
