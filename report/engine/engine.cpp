#include "report/engine/engine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>

#include "regional/regional_qt.h"
#include "report/expr/error.h"
#include "report/expr/same_text.h"
#include "report/expr/value_ops.h"
#include "report/model/dataset.h"
#include "report/model/text_layout.h"
#include "report/model/units.h"
#include "report/store/prepared_pages.h"

namespace report {

// Per build: what organising a page found out about each band.
struct Engine::BandInfo {
  Band* header = nullptr;
  Band* footer = nullptr;
  Band* dataBand = nullptr;  // for a header or footer: the data band it belongs to
  DataSet* dataSet = nullptr;
  int line = 1;
  int lineThrough = 1;
};

struct Engine::PagePlan {
  ReportPage* page = nullptr;
  int sourceIndex = 0;
  std::vector<Band*> masters;
  Band* title = nullptr;
  Band* pageHeader = nullptr;
  Band* pageFooter = nullptr;
  Band* summary = nullptr;
  std::vector<View*> pageViews;  // lying directly on the page
};

struct Engine::MemoPlan {
  expr::MemoData base;
  std::string name;
  bool isStatic = false;  // nothing to evaluate: the template text is printed
};

struct Engine::AggregateState {
  expr::AggregateCall call;
  Band* dataBand = nullptr;
  expr::Value sum;
  expr::Value min;
  expr::Value max;
  int values = 0;  // non-null values seen
  int rows = 0;
};

// A report object as expressions see it: `Memo1.Text`, `Engine.FreeSpace`.
class Engine::ObjectAdapter : public expr::ScriptObject {
 public:
  enum class What { Object, Engine, Report, Outline };
  ObjectAdapter(Engine& engine, What what, Component* object = nullptr)
      : m_engine(engine), m_what(what), m_object(object) {}

  bool InheritsFrom(std::string_view className) const override {
    std::vector<std::string> classes;
    switch (m_what) {
      case What::Engine: classes = {"TRepEngine"}; break;
      case What::Report: classes = {"TRepReport", "TRepComponent"}; break;
      case What::Outline: classes = {"TRepOutline"}; break;
      case What::Object:
        classes = {m_object->ClassName().toStdString(), "TRepComponent"};
        if (m_object->Type() == ObjectType::Band) classes.push_back("TRepBand");
        if (m_object->Type() == ObjectType::MemoView) classes.push_back("TRepCustomMemoView");
        if (dynamic_cast<View*>(m_object)) classes.push_back("TRepView");
        break;
    }
    return std::any_of(classes.begin(), classes.end(),
                       [&](const std::string& c) { return expr::SameText(c, className); });
  }

  std::optional<expr::Member> GetMember(std::string_view name, std::span<const expr::Value> args) override {
    auto is = [&](const char* n) { return expr::SameText(name, n); };
    if (m_what == What::Engine) {
      if (!args.empty()) {
        return std::nullopt;
      }
      if (is("FreeSpace")) return expr::Member(expr::Value(m_engine.FreeSpace()));
      if (is("CurX")) return expr::Member(expr::Value(m_engine.CurX()));
      if (is("CurY")) return expr::Member(expr::Value(m_engine.CurY()));
      if (is("PageWidth")) return expr::Member(expr::Value(m_engine.PageWidth()));
      if (is("PageHeight")) return expr::Member(expr::Value(m_engine.PageHeight()));
      if (is("CurLine")) return expr::Member(expr::Value(std::int32_t(m_engine.CurLine())));
      if (is("CurLineThrough")) return expr::Member(expr::Value(std::int32_t(m_engine.CurLineThrough())));
      if (is("TotalPages")) return expr::Member(expr::Value(std::int32_t(m_engine.TotalPages())));
      if (is("FinalPass")) return expr::Member(expr::Value(m_engine.FinalPass()));
      if (is("StopReport")) {
        m_engine.StopReport();
        return expr::Member(expr::Value());
      }
      return std::nullopt;
    }
    if (m_what == What::Report) {
      if (is("Terminated")) return expr::Member(expr::Value(m_engine.m_report.Terminated()));
      if (is("Engine")) return expr::Member(m_engine.FindObject("Engine"));
      if (is("Version")) return expr::Member(expr::Value(m_engine.m_report.Version().toStdString()));
      return std::nullopt;
    }
    if (m_what == What::Outline || !args.empty()) return std::nullopt;
    const Component& o = *m_object;
    if (is("Name")) return expr::Member(expr::Value(o.Name().toStdString()));
    if (is("Left")) return expr::Member(expr::Value(o.Left()));
    if (is("Top")) return expr::Member(expr::Value(o.Top()));
    if (is("Width")) return expr::Member(expr::Value(o.Width()));
    if (is("Height")) return expr::Member(expr::Value(o.Height()));
    if (is("Visible")) return expr::Member(expr::Value(o.Visible()));
    if (is("Tag")) return expr::Member(expr::Value(std::int32_t(o.Tag())));
    if (o.Type() == ObjectType::MemoView && (is("Text") || is("Memo"))) {
      return expr::Member(expr::Value(static_cast<const MemoView&>(o).Text().toStdString()));
    }
    return std::nullopt;
  }

 private:
  Engine& m_engine;
  What m_what;
  Component* m_object;
};

expr::Variables& GlobalVariables() {
  static expr::Variables variables;
  return variables;
}

namespace {

// Child bands may chain; templates are checked for loops when loaded, and
// this bound keeps a template built in code from recursing without end.
constexpr int kMaxChildDepth = 64;

expr::FormatSettings SystemSettings() {
  expr::FormatSettings s;
  s.numbers = regional::FromQLocale(QLocale());
  return s;
}

double DaysSince1899(const QDateTime& t) {
  return static_cast<double>(QDate(1899, 12, 30).daysTo(t.date())) +
         static_cast<double>(t.time().msecsSinceStartOfDay()) / 86400000.0;
}

}  // namespace

Engine::Engine(Report& report, PreparedPages& pages)
    : m_report(report), m_pages(pages), m_settings(SystemSettings()), m_evaluator(*this) {}

Engine::~Engine() = default;

QString Engine::ErrorSummary() const {
  QString text = QStringLiteral("The following error(s) have occured:");
  for (const std::string& e : m_report.ErrorList().Texts()) {
    text += QLatin1Char('\n') + QString::fromStdString(e);
  }
  return text;
}

bool Engine::BuildReport(bool clearLastReport) {
  if (m_running) return false;
  struct RunningGuard {
    bool& flag;
    explicit RunningGuard(bool& f) : flag(f) { flag = true; }
    ~RunningGuard() { flag = false; }
  } guard(m_running);

  if (clearLastReport) m_pages.Clear();
  expr::ErrorList& errors = m_report.ErrorList();
  errors.Clear();
  m_report.SetTerminated(false);
  m_firstPageMs = -1;
  m_timer.start();

  for (DataSetItem& item : m_report.DataSets()) {
    if (!item.dataSet) item.dataSet = DataSetRegistry::Find(item.dataSetName);
    if (!item.dataSet) {
      errors.Add("Dataset \"" + item.dataSetName.toStdString() + "\" does not exist");
    }
  }
  if (!errors.Empty()) return false;

  try {
    m_evaluator.BeginBuild(m_report.ScriptLanguage().toStdString());
    // The expression language has no statements; a template whose script
    // holds any cannot be run as written.
    static const QRegularExpression emptyScript(QStringLiteral("^\\s*(begin\\s*end\\.)?\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
    if (!emptyScript.match(m_report.ScriptText()).hasMatch()) {
      errors.Add("Script error at 1:1: script statements are not supported");
    } else {
      RunEngine();
    }
  } catch (const std::exception& e) {
    errors.Add(e.what());
  }
  return errors.Empty();
}

DataSet* Engine::ResolveDataSet(const QString& name) {
  if (name.isEmpty()) return nullptr;
  for (const DataSetItem& item : m_report.DataSets()) {
    if (item.dataSet && item.dataSet->UserNameText().compare(name, Qt::CaseInsensitive) == 0) {
      return item.dataSet;
    }
  }
  return DataSetRegistry::Find(name);
}

void Engine::Organise(PagePlan& plan) {
  expr::ErrorList& errors = m_report.ErrorList();
  ReportPage& page = *plan.page;
  std::vector<Band*> related;
  for (const auto& object : page.Objects()) {
    if (object->Type() != ObjectType::Band) {
      plan.pageViews.push_back(static_cast<View*>(object.get()));
      continue;
    }
    Band* band = static_cast<Band*>(object.get());
    m_bands[band] = BandInfo{};
    if (band->IsDataRelated()) related.push_back(band);
  }
  std::stable_sort(related.begin(), related.end(),
                   [](const Band* a, const Band* b) { return a->Top() < b->Top(); });
  std::vector<bool> used(related.size(), false);
  for (std::size_t i = 0; i < related.size(); ++i) {
    Band* band = related[i];
    if (band->Kind() != BandType::MasterData) continue;
    used[i] = true;
    BandInfo& info = m_bands[band];
    if (i > 0 && !used[i - 1] && related[i - 1]->Kind() == BandType::Header) {
      info.header = related[i - 1];
      m_bands[info.header].dataBand = band;
      used[i - 1] = true;
    }
    if (i + 1 < related.size() && related[i + 1]->Kind() == BandType::Footer) {
      info.footer = related[i + 1];
      m_bands[info.footer].dataBand = band;
      used[i + 1] = true;
    }
    plan.masters.push_back(band);
    if (!band->DataSetName().isEmpty()) {
      info.dataSet = ResolveDataSet(band->DataSetName());
      if (!info.dataSet) {
        errors.Add("Dataset \"" + band->DataSetName().toStdString() + "\" does not exist");
      } else if (std::find(m_initialised.begin(), m_initialised.end(), info.dataSet) ==
                 m_initialised.end()) {
        m_initialised.push_back(info.dataSet);
      }
      if (!page.DataSetName().isEmpty() &&
          page.DataSetName().compare(band->DataSetName(), Qt::CaseInsensitive) == 0) {
        errors.Add("Cannot use the same dataset for Page.DataSet and Band.DataSet");
      }
    }
  }
  for (std::size_t i = 0; i < related.size(); ++i) {
    if (used[i]) continue;
    const Band* band = related[i];
    if (band->Kind() == BandType::Header || band->Kind() == BandType::Footer) {
      errors.Add("Unconnected header/footer " + band->Name().toStdString());
    } else {
      errors.Add("Incorrect band position: " + band->Name().toStdString());
    }
  }
  plan.title = page.FirstBand(BandType::ReportTitle);
  plan.pageHeader = page.FirstBand(BandType::PageHeader);
  plan.pageFooter = page.FirstBand(BandType::PageFooter);
  plan.summary = page.FirstBand(BandType::ReportSummary);
}

void Engine::PrepareObjects() {
  m_objects.clear();
  auto add = [&](const QString& name, std::unique_ptr<ObjectAdapter> adapter) {
    m_objects.emplace(name.toLower().toStdString(), std::move(adapter));
  };
  add(QStringLiteral("Engine"), std::make_unique<ObjectAdapter>(*this, ObjectAdapter::What::Engine));
  add(QStringLiteral("Report"), std::make_unique<ObjectAdapter>(*this, ObjectAdapter::What::Report));
  add(QStringLiteral("Outline"), std::make_unique<ObjectAdapter>(*this, ObjectAdapter::What::Outline));
  for (const auto& page : m_report.Pages()) {
    add(page->Name(), std::make_unique<ObjectAdapter>(*this, ObjectAdapter::What::Object, page.get()));
    if (page->Type() != ObjectType::ReportPage) continue;
    for (const auto& object : static_cast<ReportPage&>(*page).Objects()) {
      add(object->Name(), std::make_unique<ObjectAdapter>(*this, ObjectAdapter::What::Object, object.get()));
      if (object->Type() != ObjectType::Band) continue;
      for (const auto& view : static_cast<Band&>(*object).Objects()) {
        add(view->Name(), std::make_unique<ObjectAdapter>(*this, ObjectAdapter::What::Object, view.get()));
      }
    }
  }
}

Band* Engine::AggregateBand(const expr::AggregateCall& call, Band* context) const {
  QString name = QString::fromStdString(call.band).trimmed();
  if (name.size() >= 2 && (name.front() == QLatin1Char('\'') || name.front() == QLatin1Char('"'))) {
    name = name.mid(1, name.size() - 2);
  }
  if (!name.isEmpty() && name != QLatin1String("0") && m_plan) {
    Band* band = m_plan->page->FindBand(name);
    if (!band || band->Kind() != BandType::MasterData) {
      throw expr::Error("Band " + name.toStdString() + " of " + call.text + " is not a data band");
    }
    return band;
  }
  if (context) {
    if (context->Kind() == BandType::MasterData) return context;
    const auto it = m_bands.find(context);
    if (it != m_bands.end() && it->second.dataBand) return it->second.dataBand;
  }
  if (m_plan && !m_plan->masters.empty()) return m_plan->masters.front();
  throw expr::Error("No data band for " + call.text);
}

void Engine::PrepareAggregates() {
  m_aggregates.clear();
  for (const auto& plan : m_plans) {
    m_plan = plan.get();
    auto scan = [&](const std::string& expression, Band* context) {
      for (const expr::AggregateCall& call : expr::FindAggregateCalls(expression)) {
        Band* band = AggregateBand(call, context);
        AggregateState& state = m_aggregates[{call.text, band}];
        state.call = call;
        state.dataBand = band;
      }
    };
    for (const auto& object : plan->page->Objects()) {
      if (object->Type() != ObjectType::Band) continue;
      Band* band = static_cast<Band*>(object.get());
      for (const auto& view : band->Objects()) {
        if (view->Type() != ObjectType::MemoView) continue;
        expr::MemoData data;
        data.text = static_cast<MemoView&>(*view).Text().toStdString();
        data.expressionDelimiters = static_cast<MemoView&>(*view).ExpressionDelimiters().toStdString();
        for (const std::string& e : expr::MemoExpressions(data)) scan(e, band);
      }
    }
    for (const expr::Variable& v : m_report.Variables().Items()) {
      if (v.value.IsText()) scan(v.value.AsText(), nullptr);
    }
  }
  m_plan = nullptr;
}

bool Engine::RunEngine() {
  expr::ErrorList& errors = m_report.ErrorList();
  m_plans.clear();
  m_bands.clear();
  m_memos.clear();
  m_initialised.clear();
  m_headerList.clear();
  m_curBand = nullptr;
  m_currentObjectName.clear();

  m_pages.BeginBuild();
  struct Finally {
    Engine& e;
    ~Finally() {
      for (DataSet* d : e.m_initialised) {
        try {
          d->Finalize();
        } catch (const std::exception& ex) {
          e.m_report.ErrorList().Add(ex.what());
        }
      }
      e.m_pages.EndBuild();
    }
  } finally{*this};

  const QDateTime now = QDateTime::currentDateTime();
  m_startDate = static_cast<double>(QDate(1899, 12, 30).daysTo(now.date()));
  m_startTime = DaysSince1899(now) - m_startDate;

  for (const DataSetItem& item : m_report.DataSets()) {
    if (item.dataSet) m_initialised.push_back(item.dataSet);
  }
  for (ReportPage* page : m_report.ReportPages()) {
    auto plan = std::make_unique<PagePlan>();
    plan->page = page;
    Organise(*plan);
    m_plans.push_back(std::move(plan));
  }
  if (!errors.Empty()) return false;

  PrepareObjects();
  PrepareAggregates();
  for (DataSet* d : m_initialised) d->Initialize();
  for (auto& plan : m_plans) plan->sourceIndex = m_pages.AddSourcePage(*plan->page);
  m_pages.SetInfo({m_report.DotMatrixReport(), m_report.PreviewOptions().outlineVisible,
                   m_report.PreviewOptions().outlineWidth, m_report.ReportOptions().name});

  m_finalPass = !m_report.DoublePass();
  m_totalPages = 0;
  for (auto& plan : m_plans) {
    if (m_report.Terminated()) break;
    RunPage(*plan);
  }
  if (m_report.DoublePass() && !m_report.Terminated()) {
    m_totalPages = m_pages.Count();
    m_pages.DropPages();
    m_finalPass = true;
    for (auto& plan : m_plans) {
      if (m_report.Terminated()) break;
      RunPage(*plan);
    }
  }
  return errors.Empty();
}

void Engine::RunPage(PagePlan& plan) {
  m_plan = &plan;
  if (!m_report.PrintIfEmpty() || !plan.page->PrintIfEmpty()) {
    bool anyRow = false;
    for (Band* master : plan.masters) {
      DataSet* d = m_bands[master].dataSet;
      if (d) {
        d->First();
        anyRow = anyRow || !d->Eof();
      } else {
        anyRow = anyRow || master->RowCount() > 0;
      }
    }
    if (!anyRow) return;
  }
  m_newRun = true;
  StartPage();
  ShowNullBand();
  for (Band* master : plan.masters) {
    if (m_report.Terminated()) break;
    RunMasterBand(master);
  }
  m_lastPage = true;
  EndPage();
  m_plan = nullptr;
}

void Engine::StartPage() {
  PagePlan& plan = *m_plan;
  m_headerList.clear();
  if (plan.page->TitleBeforeHeader()) {
    if (plan.title) m_headerList.push_back({plan.title});
    if (plan.pageHeader) m_headerList.push_back({plan.pageHeader});
  } else {
    if (plan.pageHeader) m_headerList.push_back({plan.pageHeader});
    if (plan.title) m_headerList.push_back({plan.title});
  }
  m_pageHeight = plan.page->PrintableHeight();
  m_pageWidth = plan.page->PrintableWidth();
  m_curX = 0;
  m_curY = 0;
  m_curColumn = 1;
  m_firstPage = true;
  m_lastPage = false;
  AddOutputPage();
  m_headerList.erase(std::remove_if(m_headerList.begin(), m_headerList.end(),
                                    [&](const HeaderItem& h) { return h.band == plan.title; }),
                     m_headerList.end());
}

void Engine::AddOutputPage() {
  PagePlan& plan = *m_plan;
  m_pages.AddPage(plan.sourceIndex, m_newRun && plan.page->ResetPageNumbers());
  m_newRun = false;
  m_curY = 0;
  const std::vector<HeaderItem> items = m_headerList;
  for (const HeaderItem& item : items) {
    Band* band = item.band;
    if (band == plan.pageHeader && m_firstPage && !band->PrintOnFirstPage()) {
      if (Band* child = plan.page->FindBand(band->Child())) ShowBandAt(child, true, false, 1);
      continue;
    }
    ShowBandAt(band, true, false, 0);
  }
  m_pageFresh = true;
}

void Engine::EndPage() {
  PagePlan& plan = *m_plan;
  const bool last = m_lastPage;
  if (last && plan.summary) {
    // Cleared first: a summary that breaks the page must not print again on
    // the page it leaves.
    m_lastPage = false;
    ShowBandAt(plan.summary, false, true, 0);
  }
  Band* footer = plan.pageFooter;
  if (footer && !(m_firstPage && !footer->PrintOnFirstPage()) && !(last && !footer->PrintOnLastPage())) {
    m_curY = m_pageHeight - footer->Height();
    ShowBandAt(footer, true, false, 0);
  }
  m_firstPage = false;
  m_lastPage = false;
  PageDone();
}

void Engine::PageDone() {
  const int index = m_pages.CurPage();
  if (m_firstPageMs < 0) m_firstPageMs = m_timer.elapsed();
  m_pages.FinishPage(index);
  if (m_processEvents && QCoreApplication::instance()) QCoreApplication::processEvents();
}

void Engine::NewPage() {
  if (!m_plan) return;
  EndPage();
  AddOutputPage();
}

double Engine::FreeSpace() const {
  if (!m_plan) return 0;
  if (m_plan->page->EndlessHeight()) return 1000000;
  const double footer = m_plan->pageFooter ? m_plan->pageFooter->Height() : 0;
  return m_pageHeight - footer - m_curY;
}

void Engine::StopReport() { m_report.SetTerminated(true); }

void Engine::ShowBand(Band* band) {
  if (band) ShowBandAt(band, false, true, 0);
}

void Engine::ShowNullBand() {
  PagePlan& plan = *m_plan;
  for (View* view : plan.pageViews) {
    m_currentObjectName = view->Name().toStdString();
    if (!view->Visible()) continue;
    bool changed = false;
    QString text;
    if (view->Type() == ObjectType::MemoView) text = FillMemo(static_cast<MemoView&>(*view), changed);
    const QRectF rect(view->Left(), view->Top(), view->Width(), view->Height());
    m_pages.AddRecord(m_pages.AliasOf(plan.sourceIndex, view), rect, changed ? &text : nullptr);
  }
}

QString Engine::FillMemo(const MemoView& memo, bool& changed) {
  auto it = m_memos.find(&memo);
  if (it == m_memos.end()) {
    MemoPlan plan;
    plan.name = memo.Name().toStdString();
    expr::MemoData& d = plan.base;
    d.text = memo.Text().toStdString();
    d.allowExpressions = memo.AllowExpressions();
    d.expressionDelimiters = memo.ExpressionDelimiters().toStdString();
    d.displayFormat = memo.DisplayFormat();
    d.hideZeros = memo.HideZeros();
    d.dataSet = memo.DataSetName().isEmpty() ? nullptr : FindDataSet(memo.DataSetName().toStdString());
    d.dataField = memo.DataField().toStdString();
    const std::string open = expr::SplitDelimiters(d.expressionDelimiters).open;
    plan.isStatic = !d.IsBoundToField() &&
                    (!d.allowExpressions || open.empty() || d.text.find(open) == std::string::npos);
    it = m_memos.emplace(&memo, std::move(plan)).first;
  }
  const MemoPlan& plan = it->second;
  if (plan.isStatic) {
    changed = false;
    return memo.Text();
  }
  expr::MemoData data = plan.base;
  expr::ExpandMemoText(data, m_evaluator);
  QString text = QString::fromStdString(data.text);
  changed = text != memo.Text();
  return text;
}

void Engine::ShowBandAt(Band* band, bool fromHeaderList, bool allowBreak, int depth) {
  if (depth > kMaxChildDepth) return;
  PagePlan& plan = *m_plan;
  Band* previousBand = m_curBand;
  m_curBand = band;

  struct Filled {
    View* view;
    QRectF rect;  // relative to the band
    QString text;
    bool changed;
  };
  std::vector<Filled> filled;
  filled.reserve(band->Objects().size());
  for (const auto& v : band->Objects()) {
    View* view = v.get();
    m_currentObjectName = view->Name().toStdString();
    if (!view->Visible()) continue;
    Filled f{view, QRectF(view->Left(), view->Top(), view->Width(), view->Height()), {}, false};
    if (view->Type() == ObjectType::MemoView) f.text = FillMemo(static_cast<MemoView&>(*view), f.changed);
    filled.push_back(std::move(f));
  }

  double height = band->Height();
  if (band->Stretched()) {
    for (Filled& f : filled) {
      if (f.view->Type() != ObjectType::MemoView) continue;
      const auto& memo = static_cast<const MemoView&>(*f.view);
      if (memo.StretchMode() != StretchMode::smActualHeight) continue;
      const MemoLines lines = BreakMemoLines(memo, f.text, memo.EffectiveFont(), f.rect.width());
      f.rect.setHeight(lines.TextHeight(memo.GapY()));
    }
    for (const Filled& f : filled) height = std::max(height, f.rect.bottom());
    for (Filled& f : filled) {
      if (f.view->Type() == ObjectType::MemoView &&
          static_cast<const MemoView&>(*f.view).StretchMode() == StretchMode::smMaxHeight) {
        f.rect.setHeight(std::max(0.0, height - f.rect.top()));
      }
    }
  }

  if (band->Visible()) {
    if (allowBreak && !m_pageFresh) {
      // A band that does not fit even on a fresh page is placed there once,
      // overflowing it, rather than starting page after page.
      if (band->StartNewPage() || FreeSpace() + kUnitEpsilon < height) NewColumn();
    }
    const std::uint32_t alias = m_pages.AliasOf(plan.sourceIndex, band);
    if (!fromHeaderList || !m_pages.CurrentPageHolds(alias)) {
      const QPointF origin(m_curX, m_curY);
      m_pages.AddRecord(alias, QRectF(origin, QSizeF(band->Width(), height)), nullptr);
      for (const Filled& f : filled) {
        m_pages.AddRecord(m_pages.AliasOf(plan.sourceIndex, f.view), f.rect.translated(origin),
                          f.changed ? &f.text : nullptr);
      }
    }
    m_curY += height;
    if (!fromHeaderList) m_pageFresh = false;
  }

  if (!band->Child().isEmpty() && (band->Visible() || band->PrintChildIfInvisible())) {
    if (Band* child = plan.page->FindBand(band->Child())) {
      ShowBandAt(child, fromHeaderList, allowBreak, depth + 1);
    }
  }
  m_curBand = previousBand;
}

void Engine::RunMasterBand(Band* band) {
  BandInfo& info = m_bands[band];
  DataSet* data = info.dataSet;
  int rowsLeft = band->RowCount();
  if (data) data->First();
  info.line = 1;
  info.lineThrough = 1;
  ResetAggregates(band);
  bool first = true;
  bool printed = false;
  auto atEnd = [&] { return data ? data->Eof() : rowsLeft <= 0; };
  while (!atEnd() && !m_report.Terminated()) {
    if (first && info.header) {
      ShowBandAt(info.header, false, true, 0);
      if (info.header->ReprintOnNewPage()) m_headerList.push_back({info.header});
    }
    m_curLine = info.line;
    m_curLineThrough = info.lineThrough;
    AccumulateAggregates(band);
    ShowBandAt(band, false, true, 0);
    ++info.line;
    ++info.lineThrough;
    first = false;
    printed = true;
    if (band->FooterAfterEach() && info.footer) ShowBandAt(info.footer, false, true, 0);
    if (data) {
      data->Next();
    } else {
      --rowsLeft;
    }
  }
  if (printed) {
    if (info.footer && !band->FooterAfterEach()) ShowBandAt(info.footer, false, true, 0);
    m_headerList.erase(std::remove_if(m_headerList.begin(), m_headerList.end(),
                                      [&](const HeaderItem& h) { return h.band == info.header; }),
                       m_headerList.end());
  }
}

void Engine::ResetAggregates(Band* dataBand) {
  for (auto& [key, state] : m_aggregates) {
    if (state.dataBand != dataBand) continue;
    // Flag 2 keeps a running total over every run of the band.
    const auto flags = expr::ToInt64(expr::Value(state.call.flags), m_settings).value_or(0);
    if (flags & 2) continue;
    state.sum = expr::Value();
    state.min = expr::Value();
    state.max = expr::Value();
    state.values = 0;
    state.rows = 0;
  }
}

void Engine::AccumulateAggregates(Band* dataBand) {
  for (auto& [key, state] : m_aggregates) {
    if (state.dataBand != dataBand) continue;
    ++state.rows;
    if (state.call.kind == expr::AggregateKind::Count) continue;
    m_currentObjectName = dataBand->Name().toStdString();
    const expr::Value v = m_evaluator.Calc(state.call.expression);
    if (v.IsNull() || v.IsEmpty()) continue;
    if (state.values == 0) {
      state.sum = v;
      state.min = v;
      state.max = v;
    } else {
      state.sum = expr::Apply(expr::BinaryOp::Add, state.sum, v, m_settings);
      if (expr::Compare(expr::Relation::Less, v, state.min, m_settings)) state.min = v;
      if (expr::Compare(expr::Relation::Greater, v, state.max, m_settings)) state.max = v;
    }
    ++state.values;
  }
}

expr::Value Engine::Aggregate(const expr::AggregateCall& call, expr::Evaluator&) {
  Band* band = AggregateBand(call, m_curBand);
  const auto it = m_aggregates.find({call.text, band});
  if (it == m_aggregates.end()) throw expr::Error("Aggregate " + call.text + " is not known here");
  const AggregateState& s = it->second;
  switch (call.kind) {
    case expr::AggregateKind::Count: return expr::Value(std::int32_t(s.rows));
    case expr::AggregateKind::Sum: return s.values ? s.sum : expr::Value(std::int32_t(0));
    case expr::AggregateKind::Min: return s.values ? s.min : expr::Value(std::int32_t(0));
    case expr::AggregateKind::Max: return s.values ? s.max : expr::Value(std::int32_t(0));
    case expr::AggregateKind::Avg:
      return s.values ? expr::Apply(expr::BinaryOp::Divide, s.sum, expr::Value(std::int32_t(s.values)), m_settings)
                      : expr::Value(std::int32_t(0));
  }
  return {};
}

expr::FieldSource* Engine::FindDataSet(std::string_view userName) {
  for (const DataSetItem& item : m_report.DataSets()) {
    if (item.dataSet && expr::SameText(item.dataSet->UserName(), userName)) return item.dataSet;
  }
  return nullptr;
}

expr::Value Engine::SystemValue(expr::SystemVariable variable) {
  using SV = expr::SystemVariable;
  switch (variable) {
    case SV::Date: return expr::Value(expr::DateTime{m_startDate});
    case SV::Time: return expr::Value(expr::DateTime{m_startTime});
    case SV::Page: return expr::Value(std::int32_t(m_pages.LogicalPageNumber(m_pages.CurPage()).first));
    case SV::PageNo: return expr::Value(std::int32_t(m_pages.CurPage() + 1));
    case SV::TotalPages:
    case SV::TotalPagesNo: return expr::Value(std::int32_t(m_totalPages));
    case SV::Line: return expr::Value(std::int32_t(m_curLine));
    case SV::LineNo: return expr::Value(std::int32_t(m_curLineThrough));
    case SV::CopyName: break;
  }
  return {};
}

expr::Variables& Engine::ReportVariables() { return m_report.Variables(); }
const expr::Variables& Engine::GlobalVariables() { return report::GlobalVariables(); }

expr::ScriptObject* Engine::FindObject(std::string_view name) {
  const auto it = m_objects.find(QString::fromUtf8(name.data(), qsizetype(name.size())).toLower().toStdString());
  return it == m_objects.end() ? nullptr : it->second.get();
}

expr::ErrorList& Engine::Errors() { return m_report.ErrorList(); }
bool Engine::ConvertNulls() const { return m_report.ConvertNulls(); }

}  // namespace report
