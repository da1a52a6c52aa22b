#include "splash_form.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include "raster/random.h"
#include "slideshow/diorama.h"

namespace app {

namespace {

// The offscreen and minimal platforms have a screen of their own making,
// not one a person looks at: there is nothing under the window to copy.
bool SessionHasScreenToCopy() {
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

int RandomStyle() { return raster::Random(176) + 1; }

}  // namespace

SplashForm::SplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_diorama(new slideshow::Diorama(this)) {
  setObjectName(QStringLiteral("SplashForm"));
  setFixedSize(kClientWidth, kClientHeight);
  m_diorama->setObjectName(QStringLiteral("Diorama"));
  m_diorama->setGeometry(0, 0, kClientWidth, kClientHeight);
  m_diorama->SetBgMode(slideshow::BackgroundMode::bmCentered);
  m_diorama->SetDelay(30);
  m_diorama->SetStep(6);
  m_diorama->SetStretch(true);
  m_diorama->SetThreaded(false);
  m_diorama->SetStyle(52);
  // Built into the program: a failure here is a broken build, reported as
  // any other error at start-up.
  m_diorama->Picture().LoadFromFile(QStringLiteral(":/pictures/splash.jpg"));
  m_diorama->SetOnProgress([this](slideshow::CustomDiorama&) { DioramaProgress(); });
}

SplashForm::~SplashForm() { m_diorama->SetOnProgress(nullptr); }

QImage SplashForm::GrabScreen(const QRect& area) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || !SessionHasScreenToCopy()) return {};
  return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

void SplashForm::ReseedGenerator() { raster::Randomize(); }

void SplashForm::CaptureBackground() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect screenArea = screen != nullptr ? screen->geometry() : QRect();
  // Whole-number division truncating toward zero, as for the window itself.
  const int left = (screenArea.width() - width()) / 2;
  const int top = (screenArea.height() - height()) / 2;
  move(screenArea.topLeft() + QPoint(left, top));
  QImage copy = GrabScreen(QRect(left, top, width(), height()));
  if (copy.isNull() || copy.width() <= 0 || copy.height() <= 0) {
    m_diorama->BgPicture().Clear();
    return;
  }
  // On a dense screen the copy comes in device pixels; the window is laid out
  // in Qt's pixels.
  if (copy.size() != size()) copy = copy.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  m_diorama->BgPicture().SetImage(copy);
}

void SplashForm::Animate() {
  CaptureBackground();
  show();
  // The window system maps the window a moment later; the first frames
  // would otherwise go to a window nobody sees.
  QElapsedTimer waited;
  waited.start();
  while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 500) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  repaint();
  ReseedGenerator();
  m_diorama->SetStyle(RandomStyle());
  // With Threaded off this returns when the whole run, there and back, is over.
  m_diorama->Execute();
  QThread::msleep(kEndPauseMs);
}

void SplashForm::DioramaProgress() {
  if (m_diorama->Progress() != 100 || m_diorama->Reverse()) return;
  m_diorama->SetStyle(RandomStyle());
  m_diorama->SetReverse(true);
  QThread::msleep(kHoldMs);
}

std::unique_ptr<SplashForm> CreateSplash() { return CreateSplash(QCoreApplication::arguments()); }

std::unique_ptr<SplashForm> CreateSplash(const QStringList& arguments) {
  auto splash = std::make_unique<SplashForm>();
  // The first entry is the program itself.
  if (arguments.size() > 1) return splash;
  splash->Animate();
  return splash;
}

}  // namespace app
