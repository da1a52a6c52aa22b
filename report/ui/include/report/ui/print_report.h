#pragma once

#include <functional>

#include "report/print/page_paper.h"

class QWidget;

namespace report {

class PageSettingsForm;
class PreparedPages;
class PrintCommand;
class Report;

// The preview's print command over a report and its prepared pages. The
// report's stored print options are where every job starts; the dialog's
// choices do not change them. currentPage: the preview's, from 1.
bool PrintReport(PrintCommand& command, const Report& report, const PreparedPages& pages, int currentPage);

// The preview's page settings command for the page shown (from 1), in the
// units of the report's settings key. `exec` runs the dialog (exec() unless
// a test answers it).
struct PageSettingsChange {
  bool accepted = false;
  bool applyToAll = false;
  PagePaper paper;  // as the page lies
};
PageSettingsChange AskPageSettings(QWidget* parent, const Report& report, const PreparedPages& pages,
                                   int currentPage, const std::function<bool(PageSettingsForm&)>& exec = {});

// "Apply to all pages": the paper goes to every report page of the template;
// the caller then rebuilds (BuildReport with ClearLastReport true).
void ApplyPageSettingsToAll(Report& report, const PagePaper& paper);

}  // namespace report
