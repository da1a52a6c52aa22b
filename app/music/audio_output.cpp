#include "audio_output.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>

namespace app {

namespace {

constexpr int kSampleRate = 44100;    // samples per second
constexpr int kChannels = 2;
constexpr int kChunkSize = 2048;      // sample frames per mixing buffer

std::weak_ptr<AudioOutput> g_output;

}  // namespace

std::shared_ptr<AudioOutput> AudioOutput::Acquire(std::string& error) {
  if (std::shared_ptr<AudioOutput> open = g_output.lock()) return open;

  // The program's window system owns the signals; SDL only plays sound here.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  // Decoders that fail to load only make their files unplayable; opening a
  // file of that kind then reports it.
  Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
  if (Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, kChannels, kChunkSize) != 0) {
    error = Mix_GetError();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  std::error_code ignored;
  if (std::filesystem::exists(kSoundFontPath, ignored)) Mix_SetSoundFonts(kSoundFontPath);

  auto output = std::make_shared<AudioOutput>(Key{});
  g_output = output;
  return output;
}

AudioOutput::~AudioOutput() {
  Mix_HaltMusic();
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace app
