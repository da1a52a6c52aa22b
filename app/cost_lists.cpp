#include "cost_lists.h"

#include <QAction>
#include <QPushButton>

#include "application.h"
#include "main_form.h"
#include "report/engine/db_dataset.h"
#include "report/model/report.h"
#include "report/model/template_xml.h"
#include "report/store/prepared_pages.h"
#include "report/ui/show_report.h"

namespace app {

using report::lists::CostList;

struct CostLists::List {
  List(const char* dataSetName, loads::DataSource* source, CostList list)
      : dataSet(QString::fromLatin1(dataSetName)) {
    dataSet.SetDataSource(source);
    dataSet.SetCloseDataSource(false);
    // The templates are compiled into the program, so this fails only with a
    // broken build; the error is kept and shown when the list is asked for.
    templateLoaded = report::LoadTemplate(report, report::lists::TemplateFile(list), &templateError);
    report.BindDataSet(QString::fromLatin1(dataSetName), &dataSet);
  }

  report::DBDataset dataSet;
  report::Report report;
  report::PreparedPages pages;
  bool templateLoaded = false;
  report::TemplateError templateError;
};

CostLists::CostLists(MainForm& form)
    : QObject(&form),
      m_pistol(std::make_unique<List>("repDBDataset1", &form.PistolDataSource(), CostList::Pistol)),
      m_rifle(std::make_unique<List>("repDBDataset2", &form.RifleDataSource(), CostList::Rifle)) {
  ConnectCommands(form);
}

CostLists::~CostLists() = default;

CostLists::List& CostLists::Of(CostList list) {
  return list == CostList::Pistol ? *m_pistol : *m_rifle;
}

report::Report& CostLists::Report(CostList list) { return Of(list).report; }

report::DBDataset& CostLists::DataSet(CostList list) { return Of(list).dataSet; }

report::PreparedPages& CostLists::Pages(CostList list) { return Of(list).pages; }

void CostLists::Show(CostList list) {
  List& chosen = Of(list);
  if (!chosen.templateLoaded) {
    ShowStandardError(chosen.templateError.Text());
    return;
  }
  report::ShowReport(chosen.report, chosen.pages, /*clearLastReport=*/true);
}

// The menu entries, tool buttons and buttons are the window's own (main_form.ui);
// only their commands are set here.
void CostLists::ConnectCommands(MainForm& form) {
  const auto action = [&form](const char* name) {
    return form.findChild<QAction*>(QString::fromLatin1(name));
  };
  const auto button = [&form](const char* name) {
    return form.findChild<QPushButton*>(QString::fromLatin1(name));
  };
  connect(action("ListaDatiPistola1"), &QAction::triggered, &form, &MainForm::BitstpDatiClick);
  connect(action("DataTool"), &QAction::triggered, &form, &MainForm::BitstpDatiClick);
  connect(button("BitstpDati"), &QPushButton::clicked, &form, &MainForm::BitstpDatiClick);
  connect(action("ListaDatiFucile1"), &QAction::triggered, &form, &MainForm::BitStpFucileClick);
  connect(action("PrintSCRTool"), &QAction::triggered, &form, &MainForm::BitStpFucileClick);
  connect(button("BitStpFucile"), &QPushButton::clicked, &form, &MainForm::BitStpFucileClick);
}

// The handlers do nothing else: neither choosing a table nor refreshing it.
void MainForm::BitstpDatiClick() { m_costLists->Show(CostList::Pistol); }

void MainForm::BitStpFucileClick() { m_costLists->Show(CostList::Rifle); }

}  // namespace app
