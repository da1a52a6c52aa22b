// The slideshow in the main window: the sample photos beside the program, the
// folder named on the command line, and the tool button "Ferma il Diorama".
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QStatusBar>

#include "program_folder.h"
#include "slideshow/diorama.h"
#include "slideshow/slideshow_controller.h"
#include "window_fixture.h"

namespace app {
namespace {

using testing::Kind;
using testing::WhenModal;

class SlideshowWindowTest : public testing::WindowTest {
 protected:
  void TearDown() override { SetPictureFolderArgument(QString()); }

  slideshow::Diorama& Show() const { return *qobject_cast<slideshow::Diorama*>(form->PictureArea()); }
  QString Panel(int i) const { return form->StatusPanel(i)->text(); }
  void ShortInterval() { Find<QSlider>("tbDisplayInterval")->setValue(500); }
};

TEST_F(SlideshowWindowTest, SamplePhotosComeInTurnWithChangingEffects) {
  Make();
  const QString photos = BesideProgram(QStringLiteral("Photos"));
  EXPECT_EQ(Panel(2), QStringLiteral("12 Image(s)"));
  EXPECT_EQ(Panel(3), QStringLiteral("Folder: ") + photos);
  EXPECT_TRUE(form->Slideshow().Timer().isActive());
  ShortInterval();
  Show().SetStep(25);
  QStringList shown;
  QList<int> styles;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return Show().Busy(); }, 10000)) << i;
    shown << form->Slideshow().CurrentImage();
    styles << Show().Style();
    EXPECT_EQ(Panel(0), QStringLiteral("Showing: ") + shown.last());
    EXPECT_EQ(Panel(1), QStringLiteral("Next: ") + form->Slideshow().NextImage());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Show().Busy(); }, 10000)) << i;
  }
  EXPECT_NE(shown[0], shown[1]);
  EXPECT_EQ(styles, (QList<int>{1, 2}));
  EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
  const QString out = qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/slideshow_window.png");
  EXPECT_TRUE(form->grab().save(out)) << out.toStdString();
}

TEST_F(SlideshowWindowTest, FermaIlDioramaEndsTheTransitionAndTheShowGoesOn) {
  Make();
  ShortInterval();
  Show().SetStep(1);
  Show().SetDelay(50);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Show().Busy(); }, 10000));
  EXPECT_FALSE(form->Slideshow().Timer().isActive());
  Activate("StopTool", Kind::ToolButton);
  EXPECT_FALSE(Show().Busy());
  EXPECT_TRUE(form->Slideshow().Timer().isActive());
  EXPECT_TRUE(QTest::qWaitFor([&] { return Show().Busy(); }, 10000));
}

TEST_F(SlideshowWindowTest, CommandLineFolderWithoutPicturesWarnsAndTheShowDoesNotRun) {
  const QString empty = dir + QStringLiteral("/empty");
  ASSERT_TRUE(QDir().mkpath(empty));
  SetPictureFolderArgument(empty);
  QString caption;
  QString text;
  QList<QAbstractButton*> buttons;
  WhenModal answer([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    buttons = box->buttons();
    box->button(QMessageBox::Cancel)->click();
  });
  Make();
  EXPECT_EQ(caption, QStringLiteral("Warning"));
  EXPECT_EQ(text, empty + QStringLiteral("\r\nThe specified folder does not contain any supported image file."));
  EXPECT_EQ(buttons.size(), 1);
  EXPECT_FALSE(form->Slideshow().Timer().isActive());
  EXPECT_TRUE(form->ImageFiles().isEmpty());
  EXPECT_EQ(Panel(2), QString());
}

TEST_F(SlideshowWindowTest, CommandLineFolderThatDoesNotExistIsReported) {
  const QString missing = dir + QStringLiteral("/missing");
  SetPictureFolderArgument(missing);
  Make();
  EXPECT_EQ(prompter.log, QStringList{QStringLiteral("error: La cartella \"%1\" non esiste.").arg(missing)});
  EXPECT_FALSE(form->Slideshow().Timer().isActive());
  // The rest of the window came up.
  EXPECT_TRUE(form->PistolTable().Active());
}

}  // namespace
}  // namespace app
