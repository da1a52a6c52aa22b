#pragma once

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

#include "slideshow/picture_loader.h"
#include "slideshow/slideshow_controls.h"

class QKeyEvent;

namespace slideshow {

// The slideshow of the main window: it lists the pictures of a folder, picks
// the next one at random and has it decoded on a worker thread while the
// current transition runs, starts a transition after every display interval,
// changes the effect by itself, maps the settings panel one to one onto the
// picture show, writes the status bar, and moves the picture area between its
// place in the window, the whole window and the whole screen.
//
// Cycle in automatic mode: timer -> ShowNextImage -> Execute -> OnStart
// (DioramaStart: timer off, next picture requested) -> transition -> OnStop
// (DioramaStop: timer on) -> display interval -> timer. A timer step that
// comes before the next picture is decoded waits for it without blocking.
class SlideshowController : public QObject {
  Q_OBJECT

 public:
  enum class FolderLoad { Loaded, Unchanged, NoPictures, Failed };
  enum class DisplayState { Placed, Window, Screen };

  // `window` holds the picture area in its Placed and Window states;
  // `imageFiles` is the window's picture-name list. Destroy the controller
  // before the window's widgets; it puts a full-screen picture area back
  // into the window, so that the window takes it along.
  SlideshowController(const SlideshowControls& controls, SlideshowDialogs& dialogs, QStringList& imageFiles,
                      QWidget* window);
  ~SlideshowController() override;

  // The set-up at start: the effect list and the settings controls from the
  // picture show, then `folder` loaded and the timer decided. The timer stays
  // off when the folder cannot be read.
  void SetUp(const QString& folder);

  FolderLoad LoadImageFolder(const QString& Folder);
  void PrepareNextImage();
  void ShowNextImage();
  void UpdateTimer();
  void SetFullScreen(bool Active);

  // --- Handlers, bound to the controls by the constructor.
  void TimerTimer() { ShowNextImage(); }
  void DioramaStart();
  void DioramaStop();
  void DioramaProgress();
  void DioramaDblClick();
  // Esc in the Placed or Screen state; true when the key was used.
  bool FormKeyDown(int key);
  void cbStyleChange();
  void rbProgressAutoClick();
  void rbProgressManualClick();
  void edtProgressStepChange();
  void edtProgressDelayChange();
  void ckExactTimingClick();
  void ckThreadedClick();
  void ckOverDrawClick();
  void ckCenterClick();
  void ckStretchClick();
  void ckProportionalClick();
  void tbProgressChange();
  void tbDisplayIntervalChange();
  void cbBackgroundModeChange();
  void btnChangeBackgroundClick();
  void btnChangeFrameColorClick();
  void btnChangePathClick();
  void edtFrameWidthChange();

  // --- State.
  const QStringList& ImageFiles() const { return *m_imageFiles; }
  QString ImageFolder() const { return m_imageFolder; }
  QString CurrentImage() const { return m_currentImage; }
  QString NextImage() const { return m_nextImage; }
  // Whether the picture show's Picture holds NextImage, decoded.
  bool NextImageReady() const { return m_nextReady; }
  QTimer& Timer() { return m_timer; }
  PictureLoader& Loader() { return m_loader; }
  DisplayState State() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Connect();
  void NextImageLoaded(LoadedPicture& loaded);
  void SetStatus(int panel, const QString& text);
  void ExecuteReporting();
  bool BelongsToShow(QObject* watched) const;

  SlideshowControls m_c;
  SlideshowDialogs& m_dialogs;
  QStringList* m_imageFiles;
  QPointer<QWidget> m_window;
  QPointer<QWidget> m_placeParent;  // where the picture area sits when not on the screen
  QString m_imageFolder;
  QString m_currentImage;
  QString m_nextImage;
  QSet<QString> m_unreadable;  // of the current folder, skipped from now on
  bool m_nextReady = false;
  bool m_showWhenReady = false;  // a timer step waits for the decode
  QString m_hint;                // the picture area's hint while full screen hides it
  QTimer m_timer;
  PictureLoader m_loader;
};

}  // namespace slideshow
