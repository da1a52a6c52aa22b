#pragma once

#include <QObject>

#include <memory>

#include "report/lists/cost_list_templates.h"

namespace loads {
class DataSource;
}
namespace report {
class DBDataset;
class PreparedPages;
class Report;
}  // namespace report

namespace app {

class MainForm;

// The main window's two cost lists: repReport1 (pistol) over repDBDataset1
// and repReport2 (rifle) over repDBDataset2, each dataset reading its own
// table through that table's data source, whichever table the window shows.
// Made with the window and freed with it.
//
// It connects "Lista Dati Pistola", the tool button DataTool and the button
// BitstpDati to MainForm::BitstpDatiClick, and "Lista Dati Fucile",
// PrintSCRTool and BitStpFucile to MainForm::BitStpFucileClick.
class CostLists : public QObject {
  Q_OBJECT

 public:
  explicit CostLists(MainForm& form);
  ~CostLists() override;

  report::Report& Report(report::lists::CostList list);
  report::DBDataset& DataSet(report::lists::CostList list);
  // What the last build of that list produced; kept until the next one.
  report::PreparedPages& Pages(report::lists::CostList list);

  // Prepares the list anew, discarding the pages of the last build, and shows
  // it in the preview window; returns when the window is closed. A table
  // that cannot be opened is reported by the build's error box.
  void Show(report::lists::CostList list);

 private:
  struct List;
  List& Of(report::lists::CostList list);
  void ConnectCommands(MainForm& form);

  std::unique_ptr<List> m_pistol;
  std::unique_ptr<List> m_rifle;
};

}  // namespace app
