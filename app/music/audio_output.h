#pragma once

#include <memory>
#include <string>

namespace app {

// The sound device the music plays on, opened through SDL2_mixer with the
// decoders for MP3 and MIDI. SDL_mixer has one device per process, so every
// player shares the one open output; it closes when the last holder lets go.
// Used from the user-interface thread only.
class AudioOutput {
 public:
  // The open output, opening it first when nobody holds it; nullptr when no
  // sound device can be opened, with the reason in `error`.
  static std::shared_ptr<AudioOutput> Acquire(std::string& error);

  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

 private:
  struct Key {};  // only Acquire makes one

 public:
  explicit AudioOutput(Key) {}
};

// The General MIDI sound bank the MIDI files are played with.
inline constexpr char kSoundFontPath[] = "/usr/share/sounds/sf2/TimGM6mb.sf2";

}  // namespace app
