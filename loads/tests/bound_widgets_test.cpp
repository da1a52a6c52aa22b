#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "loads/data_folder.h"
#include "loads/data_grid.h"
#include "loads/field_link.h"
#include "loads/navigator.h"
#include "testing/test_support.h"

namespace loads {
namespace {

class BoundWidgetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto dir = testing_support::FreshDir(
        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    file = QString::fromStdString((dir / kPistolFileName).string());
    OpenTable();
  }

  void OpenTable() {
    table = std::make_unique<LoadTable>(file, SampleSet::Pistol);
    ASSERT_TRUE(table->Open().ok());
    source = std::make_unique<DataSource>(table.get());
  }

  QString file;
  std::unique_ptr<LoadTable> table;
  std::unique_ptr<DataSource> source;
};

TEST_F(BoundWidgetsTest, NavigatorShowsChosenButtonsWithTheirHints) {
  Navigator navigator;
  navigator.resize(340, 28);
  navigator.SetVisibleButtons(
      {NavButton::Prior, NavButton::Next, NavButton::Insert, NavButton::Delete, NavButton::Edit});
  navigator.SetHints({"Primo record", "Precedente", "Successivo", "ultimo record", "Aggiungi un tipo",
                      "CAncella un Tipo", "Edita i Dati", "Post edit", "Cancel edit", "Refresh data"});
  navigator.SetDataSource(source.get());
  EXPECT_TRUE(navigator.Button(NavButton::First)->isHidden());
  EXPECT_FALSE(navigator.Button(NavButton::Prior)->isHidden());
  EXPECT_EQ(navigator.Button(NavButton::Prior)->toolTip(), QStringLiteral("Precedente"));
  EXPECT_EQ(navigator.Button(NavButton::Delete)->toolTip(), QStringLiteral("CAncella un Tipo"));
  EXPECT_EQ(navigator.Button(NavButton::Edit)->toolTip(), QStringLiteral("Edita i Dati"));
  // Left to right in the set's order, sharing the width.
  EXPECT_EQ(navigator.Button(NavButton::Prior)->x(), 0);
  EXPECT_LT(navigator.Button(NavButton::Next)->x(), navigator.Button(NavButton::Insert)->x());
  EXPECT_EQ(navigator.Button(NavButton::Edit)->geometry().right(), 339);
  // At the first record there is nothing before it.
  EXPECT_FALSE(navigator.Button(NavButton::Prior)->isEnabled());
  QTest::mouseClick(navigator.Button(NavButton::Next), Qt::LeftButton);
  EXPECT_EQ(table->RecNo(), 1);
  EXPECT_TRUE(navigator.Button(NavButton::Prior)->isEnabled());
}

TEST_F(BoundWidgetsTest, DeleteAsksAndHonoursBothAnswers) {
  Navigator navigator;
  navigator.SetDataSource(source.get());
  QStringList asked;
  bool answer = false;
  navigator.SetConfirmDelete([&](const QString& q) {
    asked << q;
    return answer;
  });
  const int count = table->RecordCount();
  QTest::mouseClick(navigator.Button(NavButton::Delete), Qt::LeftButton);
  EXPECT_EQ(asked, QStringList{QStringLiteral("Delete record?")});
  EXPECT_EQ(table->RecordCount(), count);
  answer = true;
  QTest::mouseClick(navigator.Button(NavButton::Delete), Qt::LeftButton);
  EXPECT_EQ(table->RecordCount(), count - 1);
  OpenTable();
  EXPECT_EQ(table->RecordCount(), count - 1);
}

TEST_F(BoundWidgetsTest, TypingEditsAndTheNextMovePostsIt) {
  QLineEdit edit;
  auto* link = new FieldLink(&edit, QStringLiteral("CoBoss"), source.get());
  EXPECT_EQ(FieldLink::Of(&edit), link);
  Navigator navigator;
  navigator.SetDataSource(source.get());
  EXPECT_EQ(edit.text(), QStringLiteral("0.25"));
  edit.selectAll();
  QTest::keyClicks(&edit, "0.3");
  EXPECT_EQ(table->State(), TableState::Edit);
  EXPECT_EQ(table->FieldText(u"coboss"), QStringLiteral("0.3"));
  EXPECT_TRUE(navigator.Button(NavButton::Post)->isEnabled());
  QTest::mouseClick(navigator.Button(NavButton::Next), Qt::LeftButton);
  EXPECT_EQ(table->State(), TableState::Browse);
  EXPECT_EQ(edit.text(), table->FieldText(u"CoBoss"));  // the edit follows the move
  OpenTable();
  EXPECT_EQ(table->FieldText(u"CoBoss"), QStringLiteral("0.3"));
}

TEST_F(BoundWidgetsTest, BoundEditWithoutOpenTableTakesNoText) {
  LoadTable closed(file, SampleSet::Pistol);
  DataSource closedSource(&closed);
  QLineEdit edit;
  new FieldLink(&edit, QStringLiteral("Palle"), &closedSource);
  EXPECT_TRUE(edit.isReadOnly());
  EXPECT_EQ(edit.text(), QString());
}

TEST_F(BoundWidgetsTest, GridAndTableFollowEachOther) {
  DataGrid grid;
  grid.SetColumns({{QStringLiteral("tipologia"), QStringLiteral(" Tipologia")}});
  grid.SetDataSource(source.get());
  ASSERT_EQ(grid.model()->rowCount(), table->RecordCount());
  EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral(" Tipologia"));
  EXPECT_EQ(grid.model()->index(2, 0).data().toString(), table->FieldText(2, 0));
  grid.setCurrentIndex(grid.model()->index(3, 0));
  EXPECT_EQ(table->RecNo(), 3);
  ASSERT_TRUE(table->First().ok());
  EXPECT_EQ(grid.currentIndex().row(), 0);
  // A move refused by a failing post leaves the grid on the table's record.
  ASSERT_TRUE(table->Edit().ok());
  ASSERT_TRUE(table->SetFieldText(u"Palle", QStringLiteral("molte")).ok());
  QStringList errors;
  grid.SetErrorHandler([&](const QString& m) { errors << m; });
  grid.setCurrentIndex(grid.model()->index(4, 0));
  EXPECT_EQ(table->RecNo(), 0);
  EXPECT_EQ(grid.currentIndex().row(), 0);
  EXPECT_EQ(errors, QStringList{QStringLiteral("'molte' is not a valid integer value")});
}

}  // namespace
}  // namespace loads
