#pragma once

#include <memory>
#include <string>

struct _Mix_Music;

namespace app {

class AudioOutput;

enum class PlayerMode { NotOpen, Stopped, Playing, Paused };

enum class OpenResult {
  Opened,
  NoAudioDevice,  // the file was not looked at: there is nothing to play it on
  BadFile,        // missing, unreadable, or not music of a kind we decode
};

// A music player for one file at a time (MP3, MIDI and whatever else the
// mixer decodes), with the commands of a tape deck. Opening a file neither
// plays it nor keeps the previous one: a failed Open leaves the player
// closed. Stop keeps the position, so Play carries on from there; Prev goes
// back to the start, Next to the end. Plain C++ over SDL2_mixer; use it from
// one thread.
class MusicPlayer {
 public:
  MusicPlayer();
  ~MusicPlayer();
  MusicPlayer(const MusicPlayer&) = delete;
  MusicPlayer& operator=(const MusicPlayer&) = delete;

  const std::string& FileName() const { return m_fileName; }
  void SetFileName(std::string fileName) { m_fileName = std::move(fileName); }

  // Closes what is open, then opens FileName().
  OpenResult Open();
  void Close();
  // Why the last Open failed, in the words of the library (English).
  const std::string& LastError() const { return m_lastError; }

  // Starts, or carries on from where Stop or Pause left it.
  void Play();
  // Pauses while playing; carries on while paused.
  void Pause();
  void Stop();
  void Prev();
  void Next();

  // Notices the end of the music: a file that has played to its end is
  // stopped at its start.
  PlayerMode Mode();
  bool IsOpen() const { return m_music != nullptr; }

 private:
  struct MusicDeleter {
    void operator()(_Mix_Music* music) const;
  };

  std::string m_fileName;
  std::string m_lastError;
  std::shared_ptr<AudioOutput> m_output;
  std::unique_ptr<_Mix_Music, MusicDeleter> m_music;
  PlayerMode m_mode = PlayerMode::NotOpen;
  // The music is in the mixer (played and not halted): Play resumes it
  // instead of starting it again.
  bool m_started = false;
};

}  // namespace app
