#include "report/ui/preview_form.h"

#include "fake_pages.h"
#include "report/ui/preview.h"
#include "report/ui/search_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

using namespace report;
using report::testing::FakePages;

class PreviewWindow : public ::testing::Test {
 protected:
  void Open(int buttons = kProgramButtons) {
    PreviewWindowOptions options;
    options.buttons = buttons;
    options.maximized = false;
    form.SetErrorHandler([this](const QString& text) { errors << text; });
    form.SetCancelHandler([this] { terminated = true; });
    form.Init(&pages, options);
    form.show();
    QCoreApplication::processEvents();
  }
  // A build as the engine runs it: pages one by one, stopping when asked.
  void Build(int count, const std::function<void(int)>& afterPage = {}) {
    terminated = false;
    pages.SetCount(0);
    form.BuildStarted();
    for (int i = 0; i < count && !terminated; ++i) {
      pages.Add();
      form.PageAdded(i);
      if (afterPage) afterPage(i);
    }
    form.BuildFinished();
  }
  QStringList MenuTexts() {
    QStringList texts;
    const std::unique_ptr<QMenu> menu = form.BuildContextMenu();
    for (QAction* a : menu->actions())
      if (a->isVisible()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
  }

  FakePages pages{3};
  PreviewForm form;
  QStringList errors;
  bool terminated = false;
};

TEST_F(PreviewWindow, ButtonsFollowTheOptionBits) {
  const QStringList navigator = {"FirstB", "PriorB", "PageE", "NextB", "LastB"};
  const QStringList zoom = {"ZoomPlusB", "ZoomCB", "ZoomMinusB", "FullScreenBtn"};
  const QStringList all = QStringList{"PrintB", "OpenB", "SaveB", "FindB"} + zoom +
                          QStringList{"OutlineB", "ThumbB", "PageSettingsB"} + navigator +
                          QStringList{"CancelB"};
  const struct {
    const char* name;
    int buttons;
    QStringList shown;
  } cases[] = {
      {"program's set", kProgramButtons, all},
      {"nothing", 0, {"CancelB"}},
      {"no close", pbNoClose, {}},
      {"print and find", pbPrint | pbFind, {"PrintB", "FindB", "CancelB"}},
      {"zoom", pbZoom, zoom + QStringList{"CancelB"}},
      {"zoom, no full screen", pbZoom | pbNoFullScreen,
       {"ZoomPlusB", "ZoomCB", "ZoomMinusB", "CancelB"}},
      {"outline", pbOutline, {"OutlineB", "ThumbB", "CancelB"}},
      {"navigator", pbNavigator, navigator + QStringList{"CancelB"}},
      {"export, edit, quick", pbExport | pbEdit | pbExportQuick | pbTools, {"CancelB"}},
      {"load, save, page setup", pbLoad | pbSave | pbPageSetup,
       {"OpenB", "SaveB", "PageSettingsB", "CancelB"}},
  };
  for (const auto& c : cases) {
    PreviewForm f;
    PreviewWindowOptions options;
    options.buttons = c.buttons;
    f.Init(&pages, options);
    EXPECT_EQ(f.VisibleItems(), c.shown) << c.name;
  }
}

TEST_F(PreviewWindow, HintsAndContextMenu) {
  Open();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview"));
  EXPECT_EQ(form.Item("ZoomPlusB")->toolTip(), QStringLiteral("Zoom In"));
  EXPECT_EQ(form.ItemWidget("PageE")->toolTip(), QStringLiteral("Page Number"));
  EXPECT_EQ(form.Item("ThumbB")->toolTip(), QStringLiteral("Thumbnails"));
  EXPECT_EQ(form.Item("CancelB")->text(), QStringLiteral("Close"));
  EXPECT_FALSE(form.Item("PrintB")->icon().isNull());
  EXPECT_EQ(MenuTexts(), (QStringList{"Print", "Open", "Save", "Find", "-", "Zoom In", "Zoom Out",
                                      "Full Screen"}));
  PreviewForm other;
  PreviewWindowOptions options;
  options.buttons = kProgramButtons & ~(pbPrint | pbZoom);
  other.Init(&pages, options);
  QStringList texts;
  const std::unique_ptr<QMenu> otherMenu = other.BuildContextMenu();
  for (QAction* a : otherMenu->actions())
    if (a->isVisible()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(texts, (QStringList{"Open", "Save", "Find", "-"}));
  // The menu's items are the buttons' own commands.
  const std::unique_ptr<QMenu> menu = form.BuildContextMenu();
  for (QAction* a : menu->actions())
    if (a->text() == QLatin1String("Zoom In")) a->trigger();
  EXPECT_DOUBLE_EQ(form.PreviewView()->Zoom(), 1.25);
}

TEST_F(PreviewWindow, ZoomCombo) {
  Open();
  QComboBox* combo = form.ZoomCombo();
  EXPECT_EQ(combo->count(), 8);
  EXPECT_EQ(combo->itemText(6), QStringLiteral("Page width"));
  EXPECT_EQ(combo->currentText(), QStringLiteral("100%"));
  combo->lineEdit()->setText(QStringLiteral("150 %"));
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  EXPECT_DOUBLE_EQ(form.PreviewView()->Zoom(), 1.5);
  EXPECT_EQ(combo->currentText(), QStringLiteral("150%"));
  combo->lineEdit()->setText(QStringLiteral("rubbish"));
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  EXPECT_DOUBLE_EQ(form.PreviewView()->Zoom(), 1.5);
  EXPECT_EQ(combo->currentText(), QStringLiteral("150%"));
  combo->lineEdit()->setText(QStringLiteral("5%"));
  QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(combo->currentText(), QStringLiteral("25%"));
  emit combo->activated(6);
  EXPECT_EQ(form.PreviewView()->ZoomMode(), ZoomMode::zmPageWidth);
  emit combo->activated(1);
  EXPECT_DOUBLE_EQ(form.PreviewView()->Zoom(), 0.5);
  EXPECT_EQ(form.PreviewView()->ZoomMode(), ZoomMode::zmDefault);
  form.Item("ZoomMinusB")->trigger();
  form.Item("ZoomMinusB")->trigger();
  EXPECT_EQ(combo->currentText(), QStringLiteral("25%"));
}

TEST_F(PreviewWindow, PageBoxAndNavigationButtons) {
  Open();
  QLineEdit* box = form.PageEdit();
  EXPECT_EQ(box->text(), QStringLiteral("1"));
  box->setText(QStringLiteral("3"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(form.PreviewView()->PageNo(), 3);
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Page 3 of 3"));
  box->setText(QStringLiteral("tre"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(form.PreviewView()->PageNo(), 3);
  EXPECT_EQ(box->text(), QStringLiteral("3"));
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], QStringLiteral("'tre' is not a valid integer value"));
  box->setText(QStringLiteral("0"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(form.PreviewView()->PageNo(), 1);
  form.Item("LastB")->trigger();
  EXPECT_EQ(box->text(), QStringLiteral("3"));
  form.Item("PriorB")->trigger();
  form.Item("PriorB")->trigger();
  form.Item("PriorB")->trigger();
  EXPECT_EQ(form.PreviewView()->PageNo(), 1);
  form.Item("NextB")->trigger();
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Page 2 of 3"));
}

TEST_F(PreviewWindow, FindDialogRemembersItsTextAndSearches) {
  pages.PutWord(2, 7, QStringLiteral("Hornady"));
  Open();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<SearchDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Find Text"));
    dialog->TextE()->setText(QStringLiteral("hornady"));
    dialog->TopCB()->setChecked(true);
    dialog->OkB()->click();
  });
  form.FindClick();
  EXPECT_EQ(form.PreviewView()->FoundPage(), 2);
  EXPECT_EQ(form.PreviewView()->PageNo(), 3);
  SearchDialog again;
  EXPECT_EQ(again.Text(), QStringLiteral("hornady"));
  EXPECT_EQ(again.TextE()->selectedText(), QStringLiteral("hornady"));
}

TEST_F(PreviewWindow, StatusDuringAndAfterABuild) {
  Open();
  QStringList seen;
  bool commandsOff = true;
  Build(60, [&](int i) {
    seen << form.StatusText(0);
    commandsOff = commandsOff && !form.Item("SaveB")->isEnabled() &&
                  !form.Item("FindB")->isEnabled() && !form.Item("OpenB")->isEnabled();
    if (i == 0) {
      EXPECT_EQ(form.Item("CancelB")->text(), QStringLiteral("Cancel"));
    }
  });
  EXPECT_TRUE(commandsOff);
  EXPECT_EQ(seen.first(), QStringLiteral("Page 1 of 1"));
  EXPECT_EQ(seen[1], QStringLiteral("Page 1 of 2"));
  EXPECT_EQ(seen[49], QStringLiteral("Page 1 of 50"));
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Page 1 of 60"));
  EXPECT_EQ(form.StatusText(1), QString());
  EXPECT_EQ(form.Item("CancelB")->text(), QStringLiteral("Close"));
  EXPECT_TRUE(form.Item("SaveB")->isEnabled());
  EXPECT_EQ(form.PreviewView()->PageCount(), 60);
  form.PreviewView()->Last();
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Page 60 of 60"));
}

TEST_F(PreviewWindow, CancelStopsTheBuildAndKeepsItsPages) {
  Open();
  Build(100, [&](int i) {
    if (i == 6) QTimer::singleShot(0, [&] { form.Item("CancelB")->trigger(); });
  });
  EXPECT_TRUE(terminated);
  EXPECT_EQ(pages.PageCount(), 8);  // the click is seen after page 7 has been added
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Page 1 of 8"));
  EXPECT_TRUE(form.isVisible());
  form.Item("CancelB")->trigger();  // now "Close"
  EXPECT_FALSE(form.isVisible());
}

TEST_F(PreviewWindow, ClosingDuringABuildStopsItThenCloses) {
  Open();
  bool visibleAfterClose = false;
  Build(100, [&](int i) {
    if (i == 3) {
      form.close();
      visibleAfterClose = form.isVisible();
    }
  });
  EXPECT_TRUE(visibleAfterClose);  // refused while the build runs
  EXPECT_TRUE(terminated);
  EXPECT_EQ(pages.PageCount(), 4);
  QCoreApplication::processEvents();
  EXPECT_FALSE(form.isVisible());
}

TEST_F(PreviewWindow, EscapeActsAsTheCloseButton) {
  Open();
  Build(20, [&](int i) {
    if (i == 2) QTest::keyClick(&form, Qt::Key_Escape);
  });
  EXPECT_TRUE(terminated);
  EXPECT_TRUE(form.isVisible());
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(PreviewWindow, SaveAndOpenAgain) {
  Open();
  pages.SetCount(7);
  pages.SetReportName(QStringLiteral("Pistola"));
  form.PreviewView()->UpdatePages();
  QTemporaryDir dir;
  const QString asked = dir.filePath(QStringLiteral("lista.txt"));
  ASSERT_TRUE(form.SaveFile(asked));
  const QString written = dir.filePath(QStringLiteral("lista.vpr"));
  EXPECT_TRUE(QFile::exists(written));
  EXPECT_FALSE(QFile::exists(asked));

  pages.SetCount(1);
  pages.SetReportName(QString());
  form.PreviewView()->SetPageNo(1);
  ASSERT_TRUE(form.OpenFile(written));
  EXPECT_EQ(form.PreviewView()->PageCount(), 7);
  EXPECT_EQ(form.PreviewView()->PageNo(), 1);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Pistola"));
  EXPECT_EQ(form.StatusText(0), QStringLiteral("Page 1 of 7"));
  EXPECT_TRUE(errors.isEmpty());

  EXPECT_EQ(PreviewForm::WithPreparedReportExtension(QStringLiteral("/a/b")),
            QStringLiteral("/a/b.vpr"));
  EXPECT_EQ(PreviewForm::WithPreparedReportExtension(QStringLiteral("/a.d/b.vpr")),
            QStringLiteral("/a.d/b.vpr"));
}

TEST_F(PreviewWindow, OpeningAFileThatIsNoPreparedReport) {
  Open();
  QTemporaryDir dir;
  const QString bad = dir.filePath(QStringLiteral("foto.vpr"));
  QFile file(bad);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\xff\xd8\xff\xe0 not a report");
  file.close();
  EXPECT_FALSE(form.OpenFile(bad));
  EXPECT_EQ(errors, QStringList{"Invalid file format"});
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview"));
  // Still usable: the commands work, and a good file opens afterwards.
  EXPECT_TRUE(form.Item("OpenB")->isEnabled());
  EXPECT_FALSE(form.findChild<QWidget*>(QStringLiteral("LockPanel"))->isVisible());
  pages.SetCount(2);
  ASSERT_TRUE(form.SaveFile(dir.filePath(QStringLiteral("good"))));
  EXPECT_TRUE(form.OpenFile(dir.filePath(QStringLiteral("good.vpr"))));
  EXPECT_EQ(form.PreviewView()->PageCount(), 2);
}

TEST_F(PreviewWindow, FullScreenAndPanels) {
  Open();
  auto* toolBar = form.findChild<QToolBar*>(QStringLiteral("ToolBar"));
  form.Item("FullScreenBtn")->trigger();
  EXPECT_TRUE(form.FullScreen());
  EXPECT_FALSE(toolBar->isVisible());
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  QTest::mouseDClick(form.PreviewView()->viewport(), Qt::LeftButton);
  EXPECT_FALSE(form.FullScreen());
  EXPECT_TRUE(toolBar->isVisible());
  EXPECT_FALSE(form.windowFlags() & Qt::FramelessWindowHint);

  form.Item("ThumbB")->trigger();
  Preview* thumbs = form.ThumbnailView();
  EXPECT_TRUE(thumbs->isVisible());
  EXPECT_DOUBLE_EQ(thumbs->Zoom(), 0.1);
  form.Item("OutlineB")->trigger();  // one panel hides the other
  EXPECT_FALSE(thumbs->isVisible());
  form.Item("ThumbB")->trigger();
  thumbs->SetPageNo(3);
  EXPECT_EQ(form.PreviewView()->PageNo(), 3);
  form.Item("ThumbB")->trigger();
  EXPECT_FALSE(thumbs->isVisible());
}

TEST_F(PreviewWindow, PictureOfTheWindowShowingAPage) {
  pages.PutWord(0, 2, QStringLiteral("Federal"));
  Open();
  form.resize(1000, 760);
  form.Item("ThumbB")->trigger();
  QCoreApplication::processEvents();
  form.PreviewView()->Find(QStringLiteral("Federal"), false, true);
  QCoreApplication::processEvents();
  const QImage picture = form.grab().toImage();
  EXPECT_EQ(picture.size(), QSize(1000, 760) * picture.devicePixelRatio());
  const QString folder = qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/test-output");
  QDir().mkpath(folder);
  EXPECT_TRUE(picture.save(folder + QStringLiteral("/preview_window.png")));
}

}  // namespace
