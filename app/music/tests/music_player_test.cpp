#include "music/music_player.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "disk_samples.h"
#include "testing/test_support.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Every test plays into a file of its own through SDL's disk driver, which
// writes the mixed samples (signed 16 bits, stereo) as they are produced.
class MusicPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = testing_support::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    samplesFile = folder / "samples.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", samplesFile.c_str(), 1);
  }
  void TearDown() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }

  static std::string Fixture(const char* name) { return (testing_support::TestDataDir() / name).string(); }

  int Peak() const { return testing::PeakOfDiskSamples(samplesFile); }

  static void Wait(std::chrono::milliseconds time) { std::this_thread::sleep_for(time); }

  fs::path folder;
  fs::path samplesFile;
};

TEST_F(MusicPlayerTest, FixturesPlayAudibly) {
  for (const char* name : {"tone.mp3", "scale.mid"}) {
    SCOPED_TRACE(name);
    {
      MusicPlayer player;
      player.SetFileName(Fixture(name));
      ASSERT_EQ(player.Open(), OpenResult::Opened) << player.LastError();
      EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
      player.Play();
      EXPECT_EQ(player.Mode(), PlayerMode::Playing);
      Wait(800ms);
    }
    EXPECT_GT(Peak(), 1000);
  }
}

TEST_F(MusicPlayerTest, OpeningDoesNotPlay) {
  {
    MusicPlayer player;
    player.SetFileName(Fixture("tone.mp3"));
    ASSERT_EQ(player.Open(), OpenResult::Opened) << player.LastError();
    Wait(400ms);
  }
  EXPECT_TRUE(fs::exists(samplesFile));
  EXPECT_EQ(Peak(), 0);
}

TEST_F(MusicPlayerTest, FilesThatCannotBeOpenedLeaveThePlayerClosed) {
  const std::string missing = (folder / "assente.mp3").string();
  for (const std::string& file : {Fixture("broken.mp3"), missing}) {
    SCOPED_TRACE(file);
    MusicPlayer player;
    player.SetFileName(Fixture("tone.mp3"));
    ASSERT_EQ(player.Open(), OpenResult::Opened);
    player.SetFileName(file);
    EXPECT_EQ(player.Open(), OpenResult::BadFile);
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(player.Mode(), PlayerMode::NotOpen);
    EXPECT_FALSE(player.LastError().empty());
    player.Play();  // nothing to play: no crash, still closed
    EXPECT_EQ(player.Mode(), PlayerMode::NotOpen);
  }
}

TEST_F(MusicPlayerTest, NoSoundDeviceIsReportedAsSuch) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  MusicPlayer player;
  player.SetFileName(Fixture("tone.mp3"));
  EXPECT_EQ(player.Open(), OpenResult::NoAudioDevice);
  EXPECT_FALSE(player.IsOpen());
  EXPECT_FALSE(player.LastError().empty());
}

TEST_F(MusicPlayerTest, DeckCommandsMoveBetweenModes) {
  MusicPlayer player;
  player.SetFileName(Fixture("scale.mid"));
  ASSERT_EQ(player.Open(), OpenResult::Opened) << player.LastError();

  const struct {
    void (MusicPlayer::*command)();
    PlayerMode mode;
    const char* step;
  } steps[] = {
      {&MusicPlayer::Pause, PlayerMode::Stopped, "pause before playing does nothing"},
      {&MusicPlayer::Play, PlayerMode::Playing, "play"},
      {&MusicPlayer::Pause, PlayerMode::Paused, "pause"},
      {&MusicPlayer::Pause, PlayerMode::Playing, "pause again carries on"},
      {&MusicPlayer::Stop, PlayerMode::Stopped, "stop"},
      {&MusicPlayer::Play, PlayerMode::Playing, "play after stop"},
      {&MusicPlayer::Prev, PlayerMode::Playing, "back to the start keeps playing"},
      {&MusicPlayer::Next, PlayerMode::Stopped, "to the end stops"},
      {&MusicPlayer::Prev, PlayerMode::Stopped, "back to the start while stopped"},
      {&MusicPlayer::Play, PlayerMode::Playing, "play from the start"},
  };
  for (const auto& step : steps) {
    (player.*step.command)();
    EXPECT_EQ(player.Mode(), step.mode) << step.step;
  }
  player.Close();
  EXPECT_EQ(player.Mode(), PlayerMode::NotOpen);
}

TEST_F(MusicPlayerTest, MusicThatEndsIsStopped) {
  MusicPlayer player;
  player.SetFileName(Fixture("tone.mp3"));
  ASSERT_EQ(player.Open(), OpenResult::Opened) << player.LastError();
  player.Play();
  for (int i = 0; i < 100 && player.Mode() == PlayerMode::Playing; ++i) Wait(50ms);
  EXPECT_EQ(player.Mode(), PlayerMode::Stopped);
  player.Play();  // and it can be played again
  EXPECT_EQ(player.Mode(), PlayerMode::Playing);
}

}  // namespace
}  // namespace app
