#pragma once

// A report template and its run-time state (`TRepReport`).
//
// How a caller builds a report, gets prepared pages and draws page i:
//
//   report::Report rep;
//   report::TemplateError error;
//   if (!report::LoadTemplate(rep, "list.xml", &error)) show(error.Text());
//   report::RowsDataSet rows("repDBDataset1", {...});   // or report::DBDataset over a
//                                                        // loads::LoadTable / DataSource
//   report::PreparedPages pages;                         // report/store/prepared_pages.h
//   report::Engine engine(rep, pages);                   // report/engine/engine.h
//   QObject::connect(&pages, &report::PreparedPages::PageFinished, ...);  // page n done
//   if (!engine.BuildReport(true)) show(engine.ErrorSummary());
//   QPainter painter(&image);
//   pages.DrawPage(i, painter, scale, QPointF(x, y));   // 1.0 = 1 report unit per pixel
//   pages.Save("list.vpr"); pages.Load("list.vpr");
//
// Datasets are found by the names in DataSets() (and the data bands'
// DataSetName) among the datasets alive in the process; BindDataSet() fixes
// one explicitly.

#include <QString>

#include <atomic>
#include <memory>
#include <vector>

#include "report/expr/error.h"
#include "report/expr/value.h"
#include "report/expr/variables.h"
#include "report/model/objects.h"
#include "report/model/property.h"

namespace report {

class DataSet;

struct DataSetItem {
  QString dataSetName;
  DataSet* dataSet = nullptr;  // resolved by name when not bound
};

enum class SilentMode { simMessageBoxes, simSilent, simReThrow };

struct PreviewOptions {
  int buttons = 0xFFF;  // pbPrint .. pbExportQuick, one bit each in that order
  double zoom = 1.0;
  bool allowEdit = true;
  bool maximized = true;
  bool modal = true;
  bool outlineExpand = true;
  bool outlineVisible = false;
  int outlineWidth = 120;
  int pagesInCache = 50;
  bool showCaptions = false;
  bool thumbnailVisible = false;
  int zoomMode = 0;  // zmDefault, zmWholePage, zmPageWidth, zmManyPages
  friend bool operator==(const PreviewOptions&, const PreviewOptions&) = default;
};

struct PrintOptions {
  QString printer = QStringLiteral("Default");
  int copies = 1;
  bool collate = true;
  QString pageNumbers;
  int printPages = 0;  // ppAll, ppOdd, ppEven
  int printMode = 0;
  int printOnSheet = 0;
  bool reverse = false;
  bool showDialog = true;
  friend bool operator==(const PrintOptions&, const PrintOptions&) = default;
};

struct ReportOptions {
  QString name;
  QString description;
  QString password;
  double createDate = 0;  // days since 1899-12-30
  double lastChange = 0;
  friend bool operator==(const ReportOptions&, const ReportOptions&) = default;
};

class Report {
 public:
  Report();
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // Drops pages, variables and datasets, and resets every setting.
  void Clear();
  // Takes over the template of `other` (pages, datasets, variables, settings),
  // leaving `other` cleared; the run-time state stays as it is.
  void TakeTemplate(Report& other);

  const std::vector<std::unique_ptr<Page>>& Pages() const { return m_pages; }
  Page* AddPage(std::unique_ptr<Page> page);
  std::vector<ReportPage*> ReportPages() const;

  std::vector<DataSetItem>& DataSets() { return m_dataSets; }
  const std::vector<DataSetItem>& DataSets() const { return m_dataSets; }
  // Adds (or fixes) the item of that name to use this dataset.
  void BindDataSet(const QString& name, DataSet* dataSet);

  expr::Variables& Variables() { return m_variables; }
  const expr::Variables& Variables() const { return m_variables; }

  REPORT_PROPERTY(QString, Version, QStringLiteral("4.3"))
  REPORT_PROPERTY(QString, ScriptLanguage, QStringLiteral("PascalScript"))
  REPORT_PROPERTY(QString, ScriptText, QStringLiteral("begin\n\nend."))
  REPORT_PROPERTY(QString, IniFile, QStringLiteral("\\Software\\Versanto Reports"))
  REPORT_PROPERTY(bool, DotMatrixReport, false)
  // Engine options
  REPORT_PROPERTY(bool, ConvertNulls, true)
  REPORT_PROPERTY(bool, DoublePass, false)
  REPORT_PROPERTY(bool, PrintIfEmpty, true)
  REPORT_PROPERTY(int, MaxMemSize, 10)
  REPORT_PROPERTY(bool, UseFileCache, false)
  REPORT_PROPERTY(QString, TempDir)
  REPORT_PROPERTY(report::SilentMode, SilentMode, report::SilentMode::simMessageBoxes)
  REPORT_PROPERTY(report::PreviewOptions, PreviewOptions)
  REPORT_PROPERTY(report::PrintOptions, PrintOptions)
  REPORT_PROPERTY(report::ReportOptions, ReportOptions)
  REPORT_PROPERTY(bool, OldStyleProgress, false)
  REPORT_PROPERTY(bool, ShowProgress, true)

 public:
  // Run-time state of a build.
  expr::ErrorList& ErrorList() { return m_errorList; }
  const expr::ErrorList& ErrorList() const { return m_errorList; }
  // Set by a cancel request (any thread); the engine stops at its next check.
  bool Terminated() const { return m_terminated.load(); }
  void SetTerminated(bool on) { m_terminated.store(on); }

 private:
  std::vector<std::unique_ptr<Page>> m_pages;
  std::vector<DataSetItem> m_dataSets;
  expr::Variables m_variables;
  expr::ErrorList m_errorList;
  std::atomic<bool> m_terminated{false};
};

}  // namespace report
