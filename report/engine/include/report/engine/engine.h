#pragma once

// The band engine (`TRepEngine`): turns a report template and its datasets
// into prepared pages.
//
//   report::Report rep;  report::LoadTemplate(rep, file, &error);
//   report::PreparedPages pages;
//   report::Engine engine(rep, pages);
//   connect(&pages, &report::PreparedPages::PageFinished, view, ...);  // show page n
//   const bool ok = engine.BuildReport(true);   // false: engine.ErrorSummary()
//
// The build runs on the calling thread. After every finished page the
// pending events of the application are processed (SetProcessEvents), so a
// preview repaints and its Cancel button can call rep.SetTerminated(true); the
// build then stops at its next check and the pages made so far stay. While a
// build runs, BuildReport refuses to start another one, and neither the
// engine, the report nor the pages may be destroyed.
//
// Errors of a build are collected in rep.ErrorList() (sorted, each once);
// evaluation errors end the build. The engine shows no message box: the
// caller shows ErrorSummary() in a box titled "Error" (SilentMode says whether).

#include <QElapsedTimer>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "report/expr/evaluator.h"
#include "report/expr/format_settings.h"
#include "report/expr/memo.h"
#include "report/expr/scope.h"
#include "report/model/objects.h"
#include "report/model/report.h"

namespace report {

class DataSet;
class PreparedPages;

// The process-wide variables (`repGlobalVariables`); "CopyName0" gives CopyName#.
expr::Variables& GlobalVariables();

class Engine : public expr::Scope {
 public:
  Engine(Report& report, PreparedPages& pages);
  ~Engine() override;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Runs the whole build. With clearLastReport the prepared pages are cleared
  // first. True when the error list stayed empty.
  bool BuildReport(bool clearLastReport);
  bool Running() const { return m_running; }
  // "The following error(s) have occured:" and the error list, one per line.
  QString ErrorSummary() const;

  // How values become text; the default is the system locale's numbers.
  void SetFormatSettings(expr::FormatSettings settings) { m_settings = std::move(settings); }
  // Process pending events after every page (default on; off for tools).
  void SetProcessEvents(bool on) { m_processEvents = on; }

  // Engine operations (also visible to expressions as Engine.*).
  void ShowBand(Band* band);
  void NewPage();
  void NewColumn() { NewPage(); }
  double FreeSpace() const;
  void StopReport();

  double CurX() const { return m_curX; }
  double CurY() const { return m_curY; }
  double PageWidth() const { return m_pageWidth; }
  double PageHeight() const { return m_pageHeight; }
  int CurLine() const { return m_curLine; }
  int CurLineThrough() const { return m_curLineThrough; }
  int TotalPages() const { return m_totalPages; }
  bool FinalPass() const { return m_finalPass; }
  // Milliseconds from the start of the build to the end of its first page
  // (-1 before that), for the figures tools print.
  qint64 FirstPageMs() const { return m_firstPageMs; }

  // expr::Scope
  expr::FieldSource* FindDataSet(std::string_view userName) override;
  expr::Value SystemValue(expr::SystemVariable variable) override;
  expr::Variables& ReportVariables() override;
  const expr::Variables& GlobalVariables() override;
  expr::ScriptObject* FindObject(std::string_view name) override;
  expr::Value Aggregate(const expr::AggregateCall& call, expr::Evaluator& evaluator) override;
  std::string_view CurrentObjectName() const override { return m_currentObjectName; }
  expr::ErrorList& Errors() override;
  const expr::FormatSettings& Settings() const override { return m_settings; }
  bool ConvertNulls() const override;

 private:
  struct BandInfo;
  struct PagePlan;
  struct MemoPlan;
  struct AggregateState;
  struct HeaderItem {
    Band* band;
  };
  class ObjectAdapter;

  bool RunEngine();
  void Organise(PagePlan& plan);
  void PrepareObjects();
  void PrepareAggregates();
  DataSet* ResolveDataSet(const QString& name);
  void RunPage(PagePlan& plan);
  void StartPage();
  void EndPage();
  void AddOutputPage();
  void ShowNullBand();
  void RunMasterBand(Band* band);
  void ShowBandAt(Band* band, bool fromHeaderList, bool allowBreak, int depth);
  QString FillMemo(const MemoView& memo, bool& changed);
  Band* AggregateBand(const expr::AggregateCall& call, Band* context) const;
  void ResetAggregates(Band* dataBand);
  void AccumulateAggregates(Band* dataBand);
  void PageDone();

  Report& m_report;
  PreparedPages& m_pages;
  expr::FormatSettings m_settings;
  expr::Evaluator m_evaluator;
  bool m_processEvents = true;
  bool m_running = false;

  // Build state
  std::vector<std::unique_ptr<PagePlan>> m_plans;
  PagePlan* m_plan = nullptr;
  std::unordered_map<const Band*, BandInfo> m_bands;
  std::unordered_map<const MemoView*, MemoPlan> m_memos;
  std::map<std::pair<std::string, const Band*>, AggregateState> m_aggregates;
  std::unordered_map<std::string, std::unique_ptr<ObjectAdapter>> m_objects;  // lower-case names
  std::vector<DataSet*> m_initialised;
  std::vector<HeaderItem> m_headerList;
  std::string m_currentObjectName;
  Band* m_curBand = nullptr;
  double m_curX = 0, m_curY = 0;  // report units, from the printable area's top-left
  double m_pageWidth = 0, m_pageHeight = 0;
  int m_curColumn = 1;
  bool m_firstPage = false;
  bool m_lastPage = false;
  bool m_pageFresh = false;  // nothing but the header list on the current page yet
  bool m_newRun = false;
  int m_curLine = 0, m_curLineThrough = 0;
  int m_totalPages = 0;
  bool m_finalPass = true;
  double m_startDate = 0, m_startTime = 0;  // days since 1899-12-30 and its fraction
  QElapsedTimer m_timer;
  qint64 m_firstPageMs = -1;
};

}  // namespace report
