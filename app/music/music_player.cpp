#include "music_player.h"

#include <SDL_mixer.h>

#include "audio_output.h"

namespace app {

void MusicPlayer::MusicDeleter::operator()(_Mix_Music* music) const { Mix_FreeMusic(music); }

MusicPlayer::MusicPlayer() = default;

MusicPlayer::~MusicPlayer() { Close(); }

OpenResult MusicPlayer::Open() {
  Close();
  m_lastError.clear();
  if (!m_output) m_output = AudioOutput::Acquire(m_lastError);
  if (!m_output) return OpenResult::NoAudioDevice;

  m_music.reset(Mix_LoadMUS(m_fileName.c_str()));
  if (!m_music) {
    m_lastError = Mix_GetError();
    return OpenResult::BadFile;
  }
  m_mode = PlayerMode::Stopped;
  return OpenResult::Opened;
}

void MusicPlayer::Close() {
  if (!m_music) return;
  Mix_HaltMusic();
  m_music.reset();
  m_mode = PlayerMode::NotOpen;
  m_started = false;
}

void MusicPlayer::Play() {
  switch (Mode()) {
    case PlayerMode::NotOpen:
    case PlayerMode::Playing:
      return;
    case PlayerMode::Paused:
    case PlayerMode::Stopped:
      break;
  }
  if (m_started) {
    Mix_ResumeMusic();
  } else {
    if (Mix_PlayMusic(m_music.get(), 1) != 0) {
      m_lastError = Mix_GetError();
      return;
    }
    m_started = true;
  }
  m_mode = PlayerMode::Playing;
}

void MusicPlayer::Pause() {
  switch (Mode()) {
    case PlayerMode::Playing:
      Mix_PauseMusic();
      m_mode = PlayerMode::Paused;
      return;
    case PlayerMode::Paused:
      Mix_ResumeMusic();
      m_mode = PlayerMode::Playing;
      return;
    case PlayerMode::NotOpen:
    case PlayerMode::Stopped:
      return;
  }
}

void MusicPlayer::Stop() {
  const PlayerMode mode = Mode();
  if (mode != PlayerMode::Playing && mode != PlayerMode::Paused) return;
  Mix_PauseMusic();
  m_mode = PlayerMode::Stopped;
}

// Not every decoder can seek (MIDI cannot), so the start is reached by
// starting the music again.
void MusicPlayer::Prev() {
  const PlayerMode mode = Mode();
  if (mode == PlayerMode::NotOpen) return;
  Mix_HaltMusic();
  m_started = false;
  m_mode = PlayerMode::Stopped;
  if (mode == PlayerMode::Playing) Play();
}

// One file has no next track: its end is as far as one can go, and Play
// from there starts it again.
void MusicPlayer::Next() {
  if (Mode() == PlayerMode::NotOpen) return;
  Mix_HaltMusic();
  m_started = false;
  m_mode = PlayerMode::Stopped;
}

PlayerMode MusicPlayer::Mode() {
  if (m_mode == PlayerMode::Playing && Mix_PlayingMusic() == 0) {
    m_mode = PlayerMode::Stopped;
    m_started = false;
  }
  return m_mode;
}

}  // namespace app
