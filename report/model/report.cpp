#include "report/model/report.h"

namespace report {

Report::Report() = default;
Report::~Report() = default;

void Report::Clear() {
  Report fresh;
  TakeTemplate(fresh);
  m_errorList.Clear();
}

void Report::TakeTemplate(Report& other) {
  m_pages = std::move(other.m_pages);
  m_dataSets = std::move(other.m_dataSets);
  m_variables = std::move(other.m_variables);
  m_Version = std::move(other.m_Version);
  m_ScriptLanguage = std::move(other.m_ScriptLanguage);
  m_ScriptText = std::move(other.m_ScriptText);
  m_IniFile = std::move(other.m_IniFile);
  m_DotMatrixReport = other.m_DotMatrixReport;
  m_ConvertNulls = other.m_ConvertNulls;
  m_DoublePass = other.m_DoublePass;
  m_PrintIfEmpty = other.m_PrintIfEmpty;
  m_MaxMemSize = other.m_MaxMemSize;
  m_UseFileCache = other.m_UseFileCache;
  m_TempDir = std::move(other.m_TempDir);
  m_SilentMode = other.m_SilentMode;
  m_PreviewOptions = std::move(other.m_PreviewOptions);
  m_PrintOptions = std::move(other.m_PrintOptions);
  m_ReportOptions = std::move(other.m_ReportOptions);
  m_OldStyleProgress = other.m_OldStyleProgress;
  m_ShowProgress = other.m_ShowProgress;
  other.m_pages.clear();
  other.m_dataSets.clear();
  other.m_variables.Clear();
}

Page* Report::AddPage(std::unique_ptr<Page> page) {
  m_pages.push_back(std::move(page));
  return m_pages.back().get();
}

std::vector<ReportPage*> Report::ReportPages() const {
  std::vector<ReportPage*> pages;
  for (const auto& p : m_pages) {
    if (p->Type() == ObjectType::ReportPage) pages.push_back(static_cast<ReportPage*>(p.get()));
  }
  return pages;
}

void Report::BindDataSet(const QString& name, DataSet* dataSet) {
  for (auto& item : m_dataSets) {
    if (item.dataSetName.compare(name, Qt::CaseInsensitive) == 0) {
      item.dataSet = dataSet;
      return;
    }
  }
  m_dataSets.push_back({name, dataSet});
}

}  // namespace report
