// The cost lists from the main window: every place that launches them, the
// preview they open, which table each reads, where the tables are left, and
// the error box of a failing build over the preview.
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include <fstream>

#include "cost_lists.h"
#include "loads/data_folder.h"
#include "report/model/objects.h"
#include "report/store/prepared_pages.h"
#include "report/ui/preview_form.h"
#include "window_fixture.h"

namespace app {
namespace {

using report::lists::CostList;
using testing::Kind;

// The type column of page `i`, row by row.
std::vector<QString> TypeColumn(const report::PreparedPages& pages, int i) {
  std::vector<QString> types;
  for (const auto& object : pages.PageObjects(i)) {
    if (object->Name() == QLatin1String("Memo2")) {
      types.push_back(static_cast<const report::MemoView&>(*object).Text());
    }
  }
  return types;
}

class CostListWindowTest : public testing::WindowTest {
 protected:
  struct Shown {
    bool preview = false;
    int pages = -1;
    std::vector<QString> firstPageTypes;
    QString errorBox;  // the text of the "Error" box, if one came
    QString errorTitle;
  };

  // Launches from `name`, waits in the preview for the build to end, notes
  // what it showed (and the error box a failed build puts over it) and
  // closes it. Any other window that opens is a failure, and closed.
  Shown Launch(const char* name, Kind kind, CostList list) {
    Shown shown;
    report::PreparedPages& pages = form->Lists().Pages(list);
    bool finished = false;
    const auto connection = QObject::connect(&pages, &report::PreparedPages::BuildFinished,
                                             [&finished] { finished = true; });
    QTimer ticker;
    ticker.setInterval(10);
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      if (++ticks > 2000) ticker.stop();  // 20 s: give up rather than hang
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible()) return;
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        shown.errorBox = box->text();
        shown.errorTitle = box->windowTitle();
        box->close();
        return;
      }
      auto* preview = qobject_cast<report::PreviewForm*>(modal);
      if (preview == nullptr) {
        ADD_FAILURE() << "unexpected window \"" << modal->windowTitle().toStdString() << "\"";
        modal->close();
        return;
      }
      shown.preview = true;
      if (!finished) return;
      shown.pages = pages.Count();
      if (shown.pages > 0) shown.firstPageTypes = TypeColumn(pages, 0);
      preview->close();
    });
    ticker.start();
    Activate(name, kind);
    QObject::disconnect(connection);
    if (shown.pages < 0) shown.pages = pages.Count();
    return shown;
  }
};

struct Place {
  const char* name;
  Kind kind;
  CostList list;
};
constexpr Place kPlaces[] = {
    {"ListaDatiPistola1", Kind::MenuEntry, CostList::Pistol},
    {"DataTool", Kind::ToolButton, CostList::Pistol},
    {"BitstpDati", Kind::Button, CostList::Pistol},
    {"ListaDatiFucile1", Kind::MenuEntry, CostList::Rifle},
    {"PrintSCRTool", Kind::ToolButton, CostList::Rifle},
    {"BitStpFucile", Kind::Button, CostList::Rifle},
};

// Each list reads its own table, whichever table the window shows.
TEST_F(CostListWindowTest, EveryPlaceOpensItsOwnListInThePreview) {
  Make();
  for (const bool showRifle : {false, true}) {
    if (showRifle) QTest::mouseClick(Find<QRadioButton>("RBtabella2"), Qt::LeftButton);
    for (const Place& place : kPlaces) {
      SCOPED_TRACE(place.name);
      const Shown shown = Launch(place.name, place.kind, place.list);
      EXPECT_TRUE(shown.preview);
      EXPECT_TRUE(shown.errorBox.isEmpty()) << shown.errorBox.toStdString();
      // The sample loads of a new data file: nine of each, on one page.
      EXPECT_EQ(shown.pages, 1);
      ASSERT_EQ(shown.firstPageTypes.size(), 9u);
      EXPECT_EQ(shown.firstPageTypes.front(), place.list == CostList::Pistol
                                                  ? QStringLiteral("9x21 IMI FMJ 124 grs")
                                                  : QStringLiteral(".223 Remington FMJ 55 grs"));
    }
  }
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(CostListWindowTest, ListLeavesItsTableOnTheLastRowAndTheTableShownAlone) {
  Make();
  loads::LoadTable& pistol = form->PistolTable();
  loads::LoadTable& rifle = form->RifleTable();
  QTest::mouseClick(Find<QRadioButton>("RBtabella2"), Qt::LeftButton);
  ASSERT_TRUE(rifle.MoveTo(2).ok());
  ASSERT_TRUE(pistol.MoveTo(1).ok());
  const QString rifleBox = Find<QLineEdit>("copalle")->text();

  // The window shows the rifle table: the pistol list does not touch it.
  Launch("BitstpDati", Kind::Button, CostList::Pistol);
  EXPECT_EQ(rifle.RecNo(), 2);
  EXPECT_EQ(Find<QLineEdit>("copalle")->text(), rifleBox);
  EXPECT_EQ(pistol.RecNo(), pistol.RecordCount() - 1);
  EXPECT_TRUE(pistol.Eof());

  // The rifle list moves the table shown, and its boxes follow.
  Launch("BitStpFucile", Kind::Button, CostList::Rifle);
  EXPECT_TRUE(rifle.Active());
  EXPECT_EQ(rifle.RecNo(), rifle.RecordCount() - 1);
  EXPECT_TRUE(rifle.Eof());
  EXPECT_EQ(Find<QLineEdit>("copalle")->text(), rifle.FieldText(u"copalle"));
}

TEST_F(CostListWindowTest, ZeroPackSizeShowsTheErrorOverThePagesBuilt) {
  Make();
  loads::LoadTable& pistol = form->PistolTable();
  ASSERT_TRUE(pistol.MoveTo(3).ok());
  ASSERT_TRUE(pistol.Edit().ok());
  ASSERT_TRUE(pistol.SetFieldText(u"Palle", QStringLiteral("0")).ok());
  ASSERT_TRUE(pistol.Post().ok());

  const Shown shown = Launch("ListaDatiPistola1", Kind::MenuEntry, CostList::Pistol);
  EXPECT_TRUE(shown.preview);
  EXPECT_EQ(shown.errorTitle, QStringLiteral("Error"));
  EXPECT_EQ(shown.errorBox,
            QStringLiteral("The following error(s) have occured:\n"
                           "costoPalla: Floating point division by zero"));
}

TEST_F(CostListWindowTest, EmptyTablePrintsOnePage) {
  Make();
  loads::LoadTable& rifle = form->RifleTable();
  ASSERT_TRUE(rifle.Open().ok());
  while (!rifle.IsEmpty()) ASSERT_TRUE(rifle.Delete().ok());

  const Shown shown = Launch("PrintSCRTool", Kind::ToolButton, CostList::Rifle);
  EXPECT_TRUE(shown.errorBox.isEmpty()) << shown.errorBox.toStdString();
  EXPECT_EQ(shown.pages, 1);
  EXPECT_TRUE(shown.firstPageTypes.empty());
}

TEST_F(CostListWindowTest, TableThatCannotBeOpenedIsReportedByTheBuild) {
  {
    std::ofstream broken(folder / loads::kRifleFileName);
    broken << "not a load database";
  }
  Make();
  const Shown shown = Launch("ListaDatiFucile1", Kind::MenuEntry, CostList::Rifle);
  EXPECT_EQ(shown.errorTitle, QStringLiteral("Error"));
  EXPECT_TRUE(shown.errorBox.startsWith(QStringLiteral("The following error(s) have occured:\n")))
      << shown.errorBox.toStdString();
  EXPECT_GT(shown.errorBox.size(), 40);
  EXPECT_FALSE(form->RifleTable().Active());
}

}  // namespace
}  // namespace app
