#pragma once

#include <QImage>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace slideshow {
class Diorama;
}

namespace app {

// The splash window: the program's picture comes in over a copy of the
// screen beneath the window with a random transition, stays two seconds and
// goes out with another, leaving the copy, so that the window seems to melt
// into the desktop. Frameless, on top, 450 x 260 pixels, centred.
//
// Where the screen cannot be copied (the offscreen platform, a Wayland
// compositor that refuses captures) the picture comes and goes over the
// picture show's colour instead, without a word: a splash is no reason to
// bother anyone.
class SplashForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 450;   // pixels
  static constexpr int kClientHeight = 260;  // pixels
  static constexpr int kHoldMs = 2000;       // the picture fully shown
  static constexpr int kEndPauseMs = 500;    // the copy of the screen shown again

  explicit SplashForm(QWidget* parent = nullptr);
  ~SplashForm() override;

  slideshow::Diorama& Diorama() { return *m_diorama; }

  // Centres the window on the screen and copies the screen under it into the
  // picture show's BgPicture. Leaves BgPicture empty where there is no
  // screen to copy.
  void CaptureBackground();
  // Shows the window, re-seeds the shared generator, runs the whole
  // transition there and back and waits for its end.
  void Animate();

  // The picture show's OnProgress handler: at the top, picks the effect that
  // takes the picture away again and holds the picture.
  void DioramaProgress();

 protected:
  // The pixels of the screen in `area` (screen coordinates, pixels), or a
  // null image when the session cannot give them.
  virtual QImage GrabScreen(const QRect& area);
  // Seeds the shared generator from the clock.
  virtual void ReseedGenerator();

 private:
  slideshow::Diorama* m_diorama;  // owned as a child
};

// Creates the splash window without an owner. Without command-line
// arguments beyond the program's name it is captured, shown and animated,
// and the call returns when the animation is over; with any argument it is
// returned hidden and untouched. The caller frees it.
std::unique_ptr<SplashForm> CreateSplash();
std::unique_ptr<SplashForm> CreateSplash(const QStringList& arguments);

}  // namespace app
