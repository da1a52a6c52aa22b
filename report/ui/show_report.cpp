#include "report/ui/show_report.h"

#include "report/engine/engine.h"
#include "report/model/report.h"
#include "report/store/prepared_pages.h"
#include "report/ui/prepared_pages_source.h"
#include "report/ui/preview_form.h"
#include "report/ui/rep_resources.h"

#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace report {

namespace {

// Everything one preview needs for as long as its window lives.
class PreviewSession : public QObject {
 public:
  PreviewSession(Report& report, PreparedPages& pages, PreviewForm& form)
      : QObject(&form), m_report(report), m_pages(pages), m_engine(report, pages),
        m_source(pages, &report), m_form(form) {
    // The window hands events back after every page itself.
    m_engine.SetProcessEvents(false);
    // The source hears each signal first (it was connected first), so the
    // window counts the pages the source already admits.
    connect(&pages, &PreparedPages::BuildStarted, &form, &PreviewForm::BuildStarted);
    connect(&pages, &PreparedPages::PageFinished, &form, &PreviewForm::PageAdded);
    connect(&pages, &PreparedPages::BuildFinished, &form, &PreviewForm::BuildFinished);
    form.SetCancelHandler([&report] { report.SetTerminated(true); });
    m_timer.setSingleShot(true);
    m_timer.setInterval(kBuildTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &PreviewSession::Build);
  }

  Engine& GetEngine() { return m_engine; }
  PreparedPagesSource& Source() { return m_source; }
  void StartTimer() { m_timer.start(); }

  bool Build() {
    m_timer.stop();
    const bool ok = m_engine.BuildReport(false);
    if (!ok) {
      if (m_report.SilentMode() == SilentMode::simMessageBoxes)
        QMessageBox::critical(&m_form, RepResources::Text("clError"), m_engine.ErrorSummary());
      // A build that failed before its first page (a dataset missing, bands
      // out of place) leaves nothing to look at.
      if (m_pages.Count() == 0) QTimer::singleShot(0, &m_form, [form = &m_form] { form->close(); });
    }
    return ok;
  }

 private:
  Report& m_report;
  PreparedPages& m_pages;
  Engine m_engine;
  PreparedPagesSource m_source;
  PreviewForm& m_form;
  QTimer m_timer;
};

}  // namespace

PreviewWindowOptions WindowOptions(const Report& report) {
  const PreviewOptions& o = report.PreviewOptions();
  PreviewWindowOptions w;
  w.buttons = o.buttons;
  w.allowEdit = o.allowEdit;
  w.maximized = o.maximized;
  w.outlineVisible = o.outlineVisible;
  w.outlineWidth = o.outlineWidth;
  w.thumbnailVisible = o.thumbnailVisible;
  w.showCaptions = o.showCaptions;
  w.zoom = o.zoom;
  w.zoomMode = static_cast<ZoomMode>(std::clamp(o.zoomMode, 0, 3));
  return w;
}

void ShowReport(Report& report, PreparedPages& pages, bool clearLastReport,
                const ShowReportHooks& hooks) {
  if (clearLastReport) pages.Clear();
  auto* form = new PreviewForm(hooks.parent);
  auto* session = new PreviewSession(report, pages, *form);
  if (hooks.configureEngine) hooks.configureEngine(session->GetEngine());
  form->Init(&session->Source(), WindowOptions(report));
  if (hooks.configureForm) hooks.configureForm(*form, session->GetEngine());

  if (report.OldStyleProgress()) {
    if (!session->Build()) {
      delete form;
      return;
    }
  } else {
    session->StartTimer();
  }
  if (report.PreviewOptions().modal) {
    form->exec();
    delete form;
  } else {
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
  }
}

}  // namespace report
