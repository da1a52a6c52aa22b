#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <array>
#include <filesystem>

#include "media_player.h"
#include "music/tests/disk_samples.h"
#include "window_fixture.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using testing::WhenModal;
using testing::WindowTest;
using testing::Kind;

const QString kBadFile = QStringLiteral("message: File non trovato o non corretto");
constexpr std::array kPlayerButtons{"btnPlay", "btnPause", "btnStop", "btnNext",
                                    "btnPrev", "btnRecord", "btnEject"};

// The player plays through SDL's disk driver into a file of the test's own.
class MusicTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    samples = folder / "samples.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", samples.c_str(), 1);
    previousFolder = QDir::currentPath();
  }
  void TearDown() override {
    Destroy();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    QDir::setCurrent(previousFolder);
  }

  void Destroy() {
    prices.reset();
    about.reset();
    form.reset();
  }

  MediaPlayer& Player() const { return form->Player(); }

  // Picks `file` in the music dialog opened from `place` (nothing: Cancel).
  void Choose(const char* place, Kind kind, const fs::path& file) {
    const WhenModal watch([&](QWidget* window) {
      auto* dialog = qobject_cast<QFileDialog*>(window);
      ASSERT_NE(dialog, nullptr);
      if (file.empty()) {
        dialog->reject();
        return;
      }
      // As typed by the user into the name box, which has the focus.
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      name->setText(QString::fromStdString(file.string()));
      static_cast<QDialog*>(dialog)->accept();
    });
    Activate(place, kind);
  }

  void Press(const char* button) { QTest::mouseClick(Find<QToolButton>(button), Qt::LeftButton); }

  // The enabled player buttons, in the row's order, as a string of 0 and 1.
  std::string EnabledButtons() const {
    std::string enabled;
    for (const char* name : kPlayerButtons) enabled += Find<QToolButton>(name)->isEnabled() ? '1' : '0';
    return enabled;
  }

  int Peak() const { return testing::PeakOfDiskSamples(samples); }

  fs::path samples;
  QString previousFolder;
};

TEST_F(MusicTest, ChosenMusicPlaysThroughThePlayerButtons) {
  const struct {
    const char* place;
    Kind kind;
    const char* file;
  } rows[] = {{"BitBtn5", Kind::Button, "tone.mp3"}, {"CaricaFileMusicale1", Kind::MenuEntry, "scale.mid"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    Make();
    Choose(row.place, row.kind, MusicFixture(row.file));
    EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(Player().FileName(), QString::fromStdString(MusicFixture(row.file).string()));
    EXPECT_EQ(Player().Mode(), PlayerMode::Stopped);  // it waits for Play
    Press("btnPlay");
    EXPECT_EQ(Player().Mode(), PlayerMode::Playing);
    QTest::qWait(800);
    Destroy();
    EXPECT_GT(Peak(), 1000);
  }
}

TEST_F(MusicTest, PlayerButtonsFollowTheMode) {
  Make();
  EXPECT_EQ(EnabledButtons(), "0000000");  // nothing open
  Choose("BitBtn5", Kind::Button, MusicFixture("scale.mid"));
  ASSERT_EQ(Player().Mode(), PlayerMode::Stopped);
  EXPECT_EQ(EnabledButtons(), "1001101");

  // Buttons: Play Pause Stop Next Prev Record Eject.
  const struct {
    const char* press;
    PlayerMode mode;
    const char* enabled;
  } steps[] = {
      {"btnPlay", PlayerMode::Playing, "0111101"},  {"btnPause", PlayerMode::Paused, "1111101"},
      {"btnPause", PlayerMode::Playing, "0111101"}, {"btnStop", PlayerMode::Stopped, "1001101"},
      {"btnPlay", PlayerMode::Playing, "0111101"},  {"btnPrev", PlayerMode::Playing, "0111101"},
      {"btnNext", PlayerMode::Stopped, "1001101"},  {"btnEject", PlayerMode::NotOpen, "0000000"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.press);
    Press(step.press);
    EXPECT_EQ(Player().Mode(), step.mode);
    EXPECT_EQ(EnabledButtons(), step.enabled);
  }
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(MusicTest, MusicThatPlaysToItsEndGivesBackThePlayButton) {
  Make();
  Choose("BitBtn5", Kind::Button, MusicFixture("tone.mp3"));
  Press("btnPlay");
  for (int i = 0; i < 100 && Player().Mode() == PlayerMode::Playing; ++i) QTest::qWait(50);
  QTest::qWait(300);  // the player row looks again every quarter of a second
  EXPECT_EQ(Player().Mode(), PlayerMode::Stopped);
  EXPECT_TRUE(Find<QToolButton>("btnPlay")->isEnabled());
}

TEST_F(MusicTest, AFileThatCannotBeOpenedIsSaidSoAndLeavesThePlayerClosed) {
  Make();
  Choose("BitBtn5", Kind::Button, MusicFixture("tone.mp3"));
  ASSERT_EQ(Player().Mode(), PlayerMode::Stopped);
  Choose("BitBtn5", Kind::Button, MusicFixture("broken.mp3"));
  EXPECT_EQ(prompter.log, QStringList{kBadFile});
  EXPECT_EQ(Player().Mode(), PlayerMode::NotOpen);
  EXPECT_EQ(EnabledButtons(), "0000000");
}

TEST_F(MusicTest, CancelInASecondDialogKeepsTheFirstFileOpen) {
  Make();
  const fs::path first = MusicFixture("scale.mid");
  Choose("BitBtn5", Kind::Button, first);
  Press("btnPlay");
  Choose("CaricaFileMusicale1", Kind::MenuEntry, {});
  EXPECT_EQ(Player().FileName(), QString::fromStdString(first.string()));
  EXPECT_EQ(Player().Mode(), PlayerMode::Playing);
  EXPECT_TRUE(prompter.log.isEmpty());
}

TEST_F(MusicTest, WithoutASoundDeviceThePlayerSaysSoAndTheProgramGoesOn) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  Make();
  Choose("BitBtn5", Kind::Button, MusicFixture("tone.mp3"));
  ASSERT_EQ(prompter.log.size(), 1);
  EXPECT_TRUE(prompter.log[0].startsWith(QStringLiteral("message: Nessun dispositivo audio disponibile")));
  EXPECT_EQ(Player().Mode(), PlayerMode::NotOpen);

  prompter.log.clear();
  QTest::mouseClick(Find<QAbstractButton>("BitCalcola"), Qt::LeftButton);
  EXPECT_TRUE(prompter.log.isEmpty());
  EXPECT_NE(Find<QLabel>("euro50")->text(), QStringLiteral("Costo in Euro"));  // a cost was calculated
}

TEST_F(MusicTest, StartUpOpensTheDefaultMusicFileWhenItIsThere) {
  enum class Present { No, Music, Broken };
  const struct {
    const char* name;
    Present present;
    const char* driver;
    PlayerMode mode;
    const char* says;  // the one message at start-up, or nothing
  } rows[] = {
      {"absent", Present::No, "disk", PlayerMode::NotOpen, nullptr},
      {"present", Present::Music, "disk", PlayerMode::Stopped, nullptr},
      {"not music", Present::Broken, "disk", PlayerMode::NotOpen, "File non trovato o non corretto"},
      {"no sound device", Present::Music, "no-such-driver", PlayerMode::NotOpen,
       "Nessun dispositivo audio disponibile"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path working = testing_support::FreshDir(std::string("working-") + row.name);
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(working.string())));
    if (row.present != Present::No) {
      fs::copy_file(MusicFixture(row.present == Present::Music ? "tone.mp3" : "broken.mp3"),
                    working / "prova.mp3");
    }
    setenv("SDL_AUDIODRIVER", row.driver, 1);
    prompter.log.clear();
    Make();
    EXPECT_EQ(Player().FileName(), QStringLiteral("prova.mp3"));
    EXPECT_EQ(Player().Mode(), row.mode);
    if (row.says == nullptr) {
      EXPECT_TRUE(prompter.log.isEmpty()) << prompter.log.join(QLatin1Char('\n')).toStdString();
    } else {
      ASSERT_EQ(prompter.log.size(), 1);
      EXPECT_TRUE(prompter.log[0].startsWith(QStringLiteral("message: ") + QString::fromLatin1(row.says)));
    }
    // Start-up went on: the pistol table is open and shown.
    EXPECT_TRUE(form->PistolTable().Active());
    EXPECT_TRUE(form->isVisible());
    Destroy();
  }
}

}  // namespace
}  // namespace app
