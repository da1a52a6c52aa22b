#include "report/ui/show_report.h"

#include "report/engine/engine.h"
#include "report/engine/rows_dataset.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/store/prepared_pages.h"
#include "report/ui/prepared_pages_source.h"
#include "report/ui/preview.h"
#include "report/ui/preview_form.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace report;
using expr::FieldType;
using expr::Value;

expr::FormatSettings Italian() {
  expr::FormatSettings s;
  s.numbers.decimalSeparator = ",";
  s.numbers.thousandSeparator = ".";
  s.numbers.currencySymbol = "€";
  s.numbers.positivePrefix = "";
  s.numbers.positiveSuffix = " €";
  s.numbers.negativePrefix = "-";
  s.numbers.negativeSuffix = " €";
  return s;
}

// The pistol cost list over rows in memory.
struct CostList {
  explicit CostList(int rowCount) {
    for (int i = 0; i < rowCount; ++i)
      rows.AddRow({Value("9x21 n." + std::to_string(i + 1)), Value(25.0), Value(100.0),
                   Value(30.0), Value(1000.0), Value(154.32), Value(10.0), Value(0.5),
                   Value(5.0)});
    TemplateError error;
    const QString file = qEnvironmentVariable("VERSANTO_SOURCE_DIR") +
                         QStringLiteral("/report/tests/data/cost_list.xml");
    loaded = LoadTemplate(report, file, &error);
    EXPECT_TRUE(loaded) << error.Text().toStdString();
    auto options = report.PreviewOptions();
    options.maximized = false;
    report.SetPreviewOptions(options);
  }

  RowsDataSet rows{QStringLiteral("repDBDataset1"),
                   {{"tipologia", FieldType::fftString}, {"CoPalle"}, {"Palle"}, {"CoInn"},
                    {"Inneschi"}, {"CoPol"}, {"Polvere"}, {"CoBoss"}, {"Bossoli"}}};
  Report report;
  PreparedPages pages;
  bool loaded = false;
};

// Runs ShowReport; `during` sees the window after each finished page and
// `after` once the build has finished; then the window is closed.
struct ShowRun {
  std::function<void(PreviewForm&, int)> during;
  std::function<void(PreviewForm&)> after;
  qint64 openedAfterMs = -1;  // from the call to the window being shown
  qint64 firstPageMs = -1;    // from the call to page 0 finished
  QStringList errors;         // shown by the window
};

void Show(CostList& list, ShowRun& run) {
  QElapsedTimer clock;
  clock.start();
  ShowReportHooks hooks;
  hooks.configureEngine = [](Engine& engine) { engine.SetFormatSettings(Italian()); };
  hooks.configureForm = [&](PreviewForm& form, Engine&) {
    form.SetErrorHandler([&](const QString& e) { run.errors << e; });
    QObject::connect(&list.pages, &PreparedPages::PageFinished, &form, [&, f = &form](int i) {
      if (i == 0) run.firstPageMs = clock.elapsed();
      // Connected after the window, so the window has taken the page in.
      if (run.during) run.during(*f, i);
    });
    QObject::connect(&list.pages, &PreparedPages::BuildFinished, &form, [&, f = &form] {
      QTimer::singleShot(0, f, [&, f] {
        if (run.after) run.after(*f);
        f->close();
      });
    });
    QTimer::singleShot(0, &form, [&, f = &form] {
      if (f->isVisible()) run.openedAfterMs = clock.elapsed();
    });
  };
  ShowReport(list.report, list.pages, true, hooks);
}

TEST(ShowReport, WindowOpensAtOnceAndFillsInWhileTheBuildRuns) {
  CostList list(200);  // 6 pages
  ASSERT_TRUE(list.loaded);
  ShowRun run;
  QStringList during;
  bool cancelShown = false;
  bool saveOff = true;
  run.during = [&](PreviewForm& form, int) {
    during << form.StatusText(0);
    cancelShown = cancelShown || form.Item(QStringLiteral("CancelB"))->text() == QLatin1String("Cancel");
    saveOff = saveOff && !form.Item(QStringLiteral("SaveB"))->isEnabled();
  };
  QString statusAfter;
  int countAfter = 0;
  QString closeAfter;
  run.after = [&](PreviewForm& form) {
    statusAfter = form.StatusText(0);
    countAfter = form.PreviewView()->PageCount();
    closeAfter = form.Item(QStringLiteral("CancelB"))->text();
  };
  Show(list, run);
  EXPECT_GE(run.openedAfterMs, 0);
  EXPECT_GE(run.firstPageMs, kBuildTimerMs);  // the build waits for the timer
  ASSERT_FALSE(during.isEmpty());
  EXPECT_EQ(during.first(), QStringLiteral("Page 1 of 1"));
  EXPECT_TRUE(cancelShown);
  EXPECT_TRUE(saveOff);
  EXPECT_EQ(countAfter, list.pages.Count());
  EXPECT_GT(countAfter, 1);
  EXPECT_EQ(statusAfter, QStringLiteral("Page 1 of %1").arg(countAfter));
  EXPECT_EQ(closeAfter, QStringLiteral("Close"));
}

TEST(ShowReport, EmptyTableShowsItsOnePage) {
  CostList list(0);
  ShowRun run;
  QString status;
  run.after = [&](PreviewForm& form) { status = form.StatusText(0); };
  Show(list, run);
  EXPECT_EQ(status, QStringLiteral("Page 1 of 1"));
}

TEST(ShowReport, CancelMidBuildKeepsThePagesBuiltSoFar) {
  CostList list(2000);  // about 50 pages
  ShowRun run;
  run.during = [&](PreviewForm& form, int i) {
    if (i == 2) form.Item(QStringLiteral("CancelB"))->trigger();
  };
  int shown = 0;
  run.after = [&](PreviewForm& form) { shown = form.PreviewView()->PageCount(); };
  Show(list, run);
  EXPECT_TRUE(list.report.Terminated());
  EXPECT_GE(shown, 3);
  EXPECT_LT(shown, 20);
  EXPECT_EQ(shown, list.pages.Count());
}

TEST(ShowReport, ClosingTheWindowDuringTheBuildStopsIt) {
  CostList list(2000);
  ShowRun run;
  run.during = [&](PreviewForm& form, int i) {
    if (i == 1) form.close();
  };
  Show(list, run);  // returns: the window closed itself once the build stopped
  EXPECT_TRUE(list.report.Terminated());
  EXPECT_LT(list.pages.Count(), 20);
}

TEST(ShowReport, FindOnBuiltPagesAndAPicture) {
  CostList list(80);
  ShowRun run;
  bool found = false;
  int foundPage = -1;
  run.after = [&](PreviewForm& form) {
    found = form.PreviewView()->Find(QStringLiteral("9X21 N.70"), false, true);
    foundPage = form.PreviewView()->FoundPage();
    form.PreviewView()->SetPageNo(1);
    form.PreviewView()->Find(QStringLiteral("n.3"), false, true);
    const QString folder = qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/test-output");
    QDir().mkpath(folder);
    form.resize(1000, 800);
    QCoreApplication::processEvents();
    form.grab().toImage().save(folder + QStringLiteral("/preview_cost_list.png"));
  };
  Show(list, run);
  EXPECT_TRUE(found);
  EXPECT_EQ(foundPage, 1);  // 37 rows on page 1, then 39 a page
}

TEST(ShowReport, SaveAndOpenTheCostList) {
  CostList list(100);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("pistola.txt"));
  int built = 0;
  ShowRun run;
  run.after = [&](PreviewForm& form) {
    built = form.PreviewView()->PageCount();
    EXPECT_TRUE(form.SaveFile(file));
  };
  Show(list, run);
  EXPECT_TRUE(run.errors.isEmpty()) << run.errors.join(u'\n').toStdString();
  const QString written = dir.filePath(QStringLiteral("pistola.vpr"));
  ASSERT_TRUE(QFile::exists(written));

  // Another window over an empty store opens it: same pages, no data.
  PreparedPages other;
  PreparedPagesSource source(other);
  PreviewForm form;
  QStringList errors;
  form.SetErrorHandler([&](const QString& e) { errors << e; });
  PreviewWindowOptions options;
  options.maximized = false;
  form.Init(&source, options);
  EXPECT_TRUE(form.OpenFile(written));
  EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
  EXPECT_EQ(form.PreviewView()->PageCount(), built);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Lista Dati Pistola"));
  EXPECT_TRUE(form.PreviewView()->Find(QStringLiteral("9x21 n.100"), true, true));

  const QString bad = dir.filePath(QStringLiteral("rotto.vpr"));
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<html><body>not a report</body></html>");
  f.close();
  EXPECT_FALSE(form.OpenFile(bad));
  EXPECT_EQ(errors, QStringList{QStringLiteral("Invalid file format")});
  EXPECT_EQ(form.PreviewView()->PageCount(), 0);
  EXPECT_TRUE(form.Item(QStringLiteral("OpenB"))->isEnabled());
}

}  // namespace
