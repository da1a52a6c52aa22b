#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>

#include "music/music_player.h"

class QToolButton;
class QWidget;

namespace app {

// The main window's music player: the row of buttons Play, Pause, Stop,
// Next, Prev, Record and Eject (btnPlay ... btnEject inside the frame it is
// given) over a MusicPlayer. The buttons that would do nothing now are
// disabled; Record always is, since music files are only played. Opening a
// file tells the user nothing by itself: the caller decides, with
// FailureMessage().
class MediaPlayer : public QObject {
  Q_OBJECT

 public:
  explicit MediaPlayer(QWidget* frame);

  QString FileName() const;
  void SetFileName(const QString& fileName);
  OpenResult Open();
  void Close();
  PlayerMode Mode();

  void Play();
  void Pause();
  void Stop();
  void Next();
  void Prev();
  // A file is not a disc: ejecting it closes it.
  void Eject();

  // What the user is told when Open gave `result` (not Opened).
  QString FailureMessage(OpenResult result) const;

 signals:
  void ModeChanged();

 private:
  enum Button { kPlay, kPause, kStop, kNext, kPrev, kRecord, kEject, kButtonCount };

  void Run(void (MusicPlayer::*command)());
  void Refresh();

  MusicPlayer m_player;
  std::array<QToolButton*, kButtonCount> m_buttons{};
  QTimer m_watch;  // notices the end of the music while it plays
  PlayerMode m_shown = PlayerMode::NotOpen;
};

}  // namespace app
