#include "media_player.h"

#include <QFile>
#include <QToolButton>
#include <QWidget>

namespace app {

namespace {
constexpr int kWatchIntervalMs = 250;
}  // namespace

MediaPlayer::MediaPlayer(QWidget* frame) : QObject(frame) {
  const auto find = [frame](const char* name) {
    return frame->findChild<QToolButton*>(QString::fromLatin1(name));
  };
  m_buttons = {find("btnPlay"), find("btnPause"), find("btnStop"), find("btnNext"),
               find("btnPrev"), find("btnRecord"), find("btnEject")};
  const std::array<void (MediaPlayer::*)(), kButtonCount> commands{
      &MediaPlayer::Play, &MediaPlayer::Pause, &MediaPlayer::Stop, &MediaPlayer::Next,
      &MediaPlayer::Prev, nullptr, &MediaPlayer::Eject};
  for (int i = 0; i < kButtonCount; ++i) {
    if (m_buttons[i] == nullptr || commands[i] == nullptr) continue;
    connect(m_buttons[i], &QToolButton::clicked, this, commands[i]);
  }
  m_watch.setInterval(kWatchIntervalMs);
  connect(&m_watch, &QTimer::timeout, this, &MediaPlayer::Refresh);
  Refresh();
}

QString MediaPlayer::FileName() const {
  return QFile::decodeName(QByteArray::fromStdString(m_player.FileName()));
}

void MediaPlayer::SetFileName(const QString& fileName) {
  m_player.SetFileName(QFile::encodeName(fileName).toStdString());
}

OpenResult MediaPlayer::Open() {
  const OpenResult result = m_player.Open();
  Refresh();
  return result;
}

void MediaPlayer::Close() { Run(&MusicPlayer::Close); }

PlayerMode MediaPlayer::Mode() { return m_player.Mode(); }

void MediaPlayer::Play() { Run(&MusicPlayer::Play); }

void MediaPlayer::Pause() { Run(&MusicPlayer::Pause); }

void MediaPlayer::Stop() { Run(&MusicPlayer::Stop); }

void MediaPlayer::Next() { Run(&MusicPlayer::Next); }

void MediaPlayer::Prev() { Run(&MusicPlayer::Prev); }

void MediaPlayer::Eject() { Close(); }

void MediaPlayer::Run(void (MusicPlayer::*command)()) {
  (m_player.*command)();
  Refresh();
}

QString MediaPlayer::FailureMessage(OpenResult result) const {
  switch (result) {
    case OpenResult::Opened:
      return {};
    case OpenResult::BadFile:
      return QStringLiteral("File non trovato o non corretto");
    case OpenResult::NoAudioDevice:
      return QStringLiteral(
                 "Nessun dispositivo audio disponibile: la musica non può essere suonata.\n(%1)")
          .arg(QString::fromStdString(m_player.LastError()));
  }
  return {};
}

void MediaPlayer::Refresh() {
  const PlayerMode mode = m_player.Mode();
  const bool open = mode != PlayerMode::NotOpen;
  const bool playing = mode == PlayerMode::Playing;
  const bool paused = mode == PlayerMode::Paused;
  const std::array<bool, kButtonCount> enabled{
      open && !playing, playing || paused, playing || paused, open, open, false, open};
  for (int i = 0; i < kButtonCount; ++i) {
    if (m_buttons[i] != nullptr) m_buttons[i]->setEnabled(enabled[i]);
  }
  if (playing) {
    m_watch.start();
  } else {
    m_watch.stop();
  }
  if (mode != m_shown) {
    m_shown = mode;
    emit ModeChanged();
  }
}

}  // namespace app
