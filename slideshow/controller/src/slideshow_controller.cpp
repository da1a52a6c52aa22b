#include "slideshow/slideshow_controller.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolTip>

#include "raster/random.h"
#include "slideshow/cursor_display.h"
#include "slideshow/diorama.h"
#include "slideshow/picture_folder.h"

namespace slideshow {

namespace {

// How long the name of a skipped picture stays in the status bar.
constexpr int kSkippedMessageMs = 6000;

}  // namespace

SlideshowController::SlideshowController(const SlideshowControls& controls, SlideshowDialogs& dialogs,
                                         QStringList& imageFiles, QWidget* window)
    : m_c(controls),
      m_dialogs(dialogs),
      m_imageFiles(&imageFiles),
      m_window(window),
      m_placeParent(controls.diorama->parentWidget()),
      m_loader(this) {
  m_timer.setInterval(1000);
  Connect();
  qApp->installEventFilter(this);
}

SlideshowController::~SlideshowController() {
  qApp->removeEventFilter(this);
  m_loader.Cancel();
  if (m_c.diorama != nullptr) {
    if (m_c.diorama->isWindow()) {
      CursorDisplay::ShowCursor(true);
      m_c.diorama->hide();
      if (m_placeParent) m_c.diorama->setParent(m_placeParent, Qt::Widget);
    }
    m_c.diorama->SetOnStart(nullptr);
    m_c.diorama->SetOnStop(nullptr);
    m_c.diorama->SetOnProgress(nullptr);
    m_c.diorama->SetOnDblClick(nullptr);
  }
}

void SlideshowController::Connect() {
  Diorama& d = *m_c.diorama;
  connect(&m_timer, &QTimer::timeout, this, &SlideshowController::TimerTimer);
  d.SetOnStart([this](CustomDiorama&, raster::Bitmap&, raster::Bitmap&) { DioramaStart(); });
  d.SetOnStop([this](CustomDiorama&) { DioramaStop(); });
  d.SetOnProgress([this](CustomDiorama&) { DioramaProgress(); });
  d.SetOnDblClick([this](CustomDiorama&) { DioramaDblClick(); });

  // The user's choice only: the timer step selects entries itself and then
  // applies the selection explicitly.
  connect(m_c.cbStyle, &QComboBox::activated, this, &SlideshowController::cbStyleChange);
  connect(m_c.rbProgressAuto, &QRadioButton::toggled, this, [this](bool on) {
    if (on) rbProgressAutoClick();
  });
  connect(m_c.rbProgressManual, &QRadioButton::toggled, this, [this](bool on) {
    if (on) rbProgressManualClick();
  });
  connect(m_c.edtProgressStep, &QSpinBox::valueChanged, this, &SlideshowController::edtProgressStepChange);
  connect(m_c.edtProgressDelay, &QSpinBox::valueChanged, this, &SlideshowController::edtProgressDelayChange);
  connect(m_c.ckExactTiming, &QCheckBox::toggled, this, &SlideshowController::ckExactTimingClick);
  connect(m_c.ckThreaded, &QCheckBox::toggled, this, &SlideshowController::ckThreadedClick);
  connect(m_c.ckOverDraw, &QCheckBox::toggled, this, &SlideshowController::ckOverDrawClick);
  connect(m_c.ckCenter, &QCheckBox::toggled, this, &SlideshowController::ckCenterClick);
  connect(m_c.ckStretch, &QCheckBox::toggled, this, &SlideshowController::ckStretchClick);
  connect(m_c.ckProportional, &QCheckBox::toggled, this, &SlideshowController::ckProportionalClick);
  connect(m_c.tbProgress, &QSlider::valueChanged, this, &SlideshowController::tbProgressChange);
  connect(m_c.tbDisplayInterval, &QSlider::valueChanged, this, &SlideshowController::tbDisplayIntervalChange);
  connect(m_c.cbBackgroundMode, &QComboBox::currentIndexChanged, this,
          &SlideshowController::cbBackgroundModeChange);
  connect(m_c.btnChangeBackground, &QPushButton::clicked, this, &SlideshowController::btnChangeBackgroundClick);
  connect(m_c.btnChangeFrameColor, &QPushButton::clicked, this, &SlideshowController::btnChangeFrameColorClick);
  connect(m_c.btnChangePath, &QPushButton::clicked, this, &SlideshowController::btnChangePathClick);
  connect(m_c.edtFrameWidth, &QSpinBox::valueChanged, this, &SlideshowController::edtFrameWidthChange);
}

void SlideshowController::SetUp(const QString& folder) {
  Diorama& d = *m_c.diorama;
  QStringList names;
  d.GetStyleNames(names);
  m_c.cbStyle->clear();
  m_c.cbStyle->addItems(names);
  m_c.cbStyle->setCurrentIndex(d.Style() - 1);  // style 0 selects nothing
  if (d.Manual()) {
    m_c.rbProgressManual->setChecked(true);
  } else {
    m_c.rbProgressAuto->setChecked(true);
  }
  m_c.edtProgressStep->setValue(d.Step());
  m_c.edtProgressDelay->setValue(d.Delay());
  m_c.ckExactTiming->setChecked(d.ExactTiming());
  m_c.ckThreaded->setChecked(d.Threaded());
  m_c.tbProgress->setValue(d.Progress());
  m_c.ckOverDraw->setChecked(d.OverDraw());
  m_c.ckCenter->setChecked(d.Center());
  m_c.ckStretch->setChecked(d.Stretch());
  m_c.ckProportional->setChecked(d.Proportional());
  m_c.cbBackgroundMode->setCurrentIndex(static_cast<int>(d.BgMode()));
  m_c.edtFrameWidth->setValue(d.FrameWidth());
  m_c.tbDisplayInterval->setValue(m_timer.interval());
  m_c.tbProgress->setRange(0, 100);
  m_c.tbProgress->setTickInterval(10);

  if (LoadImageFolder(folder) == FolderLoad::Failed) return;
  UpdateTimer();
}

SlideshowController::FolderLoad SlideshowController::LoadImageFolder(const QString& Folder) {
  if (Folder == m_imageFolder) return FolderLoad::Unchanged;
  const PictureFolderListing listing = ListPictureFolder(Folder);
  if (!listing.ok) {
    m_dialogs.Error(listing.error);
    return FolderLoad::Failed;
  }
  if (listing.files.isEmpty()) {
    m_dialogs.Warning(Folder + QStringLiteral("\r\nThe specified folder does not contain any supported image file."));
    return FolderLoad::NoPictures;
  }
  *m_imageFiles = listing.files;
  m_imageFolder = WithoutTrailingSeparator(Folder);
  m_unreadable.clear();
  SetStatus(2, QString::number(m_imageFiles->size()) + QStringLiteral(" Image(s)"));
  SetStatus(3, QStringLiteral("Folder: ") + Folder);
  PrepareNextImage();
  return FolderLoad::Loaded;
}

void SlideshowController::PrepareNextImage() {
  m_nextImage.clear();
  m_nextReady = false;
  m_loader.Cancel();
  QStringList candidates;
  for (const QString& name : *m_imageFiles) {
    if (!m_unreadable.contains(name)) candidates.append(name);
  }
  if (!candidates.isEmpty()) {
    // Ensure the next picture differs from the one shown, so that no picture
    // stays twice as long as the others.
    QString drawn;
    do {
      drawn = candidates.at(raster::Random(static_cast<int>(candidates.size())));
    } while (candidates.size() >= 2 && drawn == m_currentImage);
    m_nextImage = drawn;
    m_loader.Request(m_imageFolder + QLatin1Char('/') + drawn, drawn, m_c.diorama->Picture().TargetSize(),
                     [this](LoadedPicture& loaded) { NextImageLoaded(loaded); });
  }
  SetStatus(1, QStringLiteral("Next: ") + m_nextImage);
}

void SlideshowController::NextImageLoaded(LoadedPicture& loaded) {
  if (!loaded.Ok()) {
    // One bad file must not halt the show: it is named and left out.
    m_unreadable.insert(loaded.name);
    if (m_c.statusBar != nullptr) {
      m_c.statusBar->showMessage(QStringLiteral("Immagine saltata, non leggibile: %1").arg(loaded.name),
                                 kSkippedMessageMs);
    }
    PrepareNextImage();
    if (m_nextImage.isEmpty()) m_showWhenReady = false;
    return;
  }
  m_c.diorama->Picture().SetBitmap(std::move(loaded.bitmap), loaded.hasAlpha);
  m_nextReady = true;
  if (m_showWhenReady) {
    m_showWhenReady = false;
    ShowNextImage();
  }
}

void SlideshowController::UpdateTimer() {
  const bool run = !m_c.diorama->Busy() && m_c.rbProgressAuto->isChecked() && !m_imageFiles->isEmpty();
  if (!run) {
    m_timer.stop();
  } else if (!m_timer.isActive()) {
    m_timer.start();
  }
}

void SlideshowController::ShowNextImage() {
  m_timer.stop();
  if (m_imageFiles->isEmpty()) return;
  if (!m_nextReady) {
    // The picture handed over must be whole: wait for the worker, without
    // holding up the window. No next picture at all (every file unreadable)
    // leaves the show halted.
    m_showWhenReady = !m_nextImage.isEmpty();
    return;
  }
  Diorama& d = *m_c.diorama;
  if (d.Busy()) d.Stop();
  const int count = m_c.cbStyle->count();
  if (count > 0) {
    if (m_c.rbStyleSequential->isChecked()) {
      m_c.cbStyle->setCurrentIndex((m_c.cbStyle->currentIndex() + 1) % count);
    } else if (m_c.rbStyleRandom->isChecked()) {
      m_c.cbStyle->setCurrentIndex(raster::Random(count));
    }
  }
  cbStyleChange();
  m_currentImage = m_nextImage;
  SetStatus(0, QStringLiteral("Showing: ") + m_currentImage);
  ExecuteReporting();
}

void SlideshowController::ExecuteReporting() {
  try {
    m_c.diorama->Execute();
  } catch (const std::exception& error) {
    // The transition does not run and the timer stays off until the user
    // starts the show again.
    m_dialogs.Error(QString::fromUtf8(error.what()));
  }
}

void SlideshowController::DioramaStart() {
  UpdateTimer();
  PrepareNextImage();
}

void SlideshowController::DioramaStop() {
  UpdateTimer();
  m_c.diorama->Stop();
}

void SlideshowController::DioramaProgress() { m_c.tbProgress->setValue(m_c.diorama->Progress()); }

void SlideshowController::DioramaDblClick() { SetFullScreen(m_c.diorama->Align() == Align::alClient); }

bool SlideshowController::FormKeyDown(int key) {
  if (key != Qt::Key_Escape || m_c.diorama->Align() == Align::alClient) return false;
  SetFullScreen(false);
  return true;
}

void SlideshowController::cbStyleChange() {
  Diorama& d = *m_c.diorama;
  const int style = m_c.cbStyle->currentIndex() + 1;
  if (style == d.Style()) return;
  d.SetStyle(style);
  m_c.lblStyleNumber->setText(QStringLiteral("[ #%1 ]").arg(d.Style()));
  m_c.lblStyleNumber->repaint();
  m_c.cbStyle->setToolTip(d.StyleName());
  if (m_c.cbStyle->underMouse()) QToolTip::hideText();
}

void SlideshowController::rbProgressAutoClick() {
  m_c.diorama->SetManual(false);
  for (QWidget* w : std::initializer_list<QWidget*>{m_c.lblProgressStep, m_c.edtProgressStep, m_c.lblProgressDelay,
                                                    m_c.edtProgressDelay, m_c.ckExactTiming, m_c.ckThreaded}) {
    w->setEnabled(true);
  }
  m_c.tbProgress->setEnabled(false);
  UpdateTimer();
}

void SlideshowController::rbProgressManualClick() {
  Diorama& d = *m_c.diorama;
  d.SetManual(true);
  for (QWidget* w : std::initializer_list<QWidget*>{m_c.lblProgressStep, m_c.edtProgressStep, m_c.lblProgressDelay,
                                                    m_c.edtProgressDelay, m_c.ckExactTiming, m_c.ckThreaded}) {
    w->setEnabled(false);
  }
  m_c.tbProgress->setEnabled(true);
  m_c.tbProgress->setPageStep(d.Step());
  m_c.tbProgress->setValue(d.Progress());
  UpdateTimer();
  if (!d.Busy() && !d.Empty()) {
    if (m_window) m_window->repaint();
    ExecuteReporting();
  }
}

void SlideshowController::edtProgressStepChange() {
  m_c.diorama->SetStep(static_cast<std::uint16_t>(m_c.edtProgressStep->value()));
}

void SlideshowController::edtProgressDelayChange() {
  m_c.diorama->SetDelay(static_cast<std::uint16_t>(m_c.edtProgressDelay->value()));
}

void SlideshowController::ckExactTimingClick() { m_c.diorama->SetExactTiming(m_c.ckExactTiming->isChecked()); }
void SlideshowController::ckThreadedClick() { m_c.diorama->SetThreaded(m_c.ckThreaded->isChecked()); }
void SlideshowController::ckOverDrawClick() { m_c.diorama->SetOverDraw(m_c.ckOverDraw->isChecked()); }
void SlideshowController::ckCenterClick() { m_c.diorama->SetCenter(m_c.ckCenter->isChecked()); }
void SlideshowController::ckStretchClick() { m_c.diorama->SetStretch(m_c.ckStretch->isChecked()); }
void SlideshowController::ckProportionalClick() {
  m_c.diorama->SetProportional(m_c.ckProportional->isChecked());
}

void SlideshowController::tbProgressChange() {
  if (m_c.diorama->Manual()) m_c.diorama->SetProgress(m_c.tbProgress->value());
}

void SlideshowController::tbDisplayIntervalChange() {
  m_timer.setInterval(m_c.tbDisplayInterval->value());
  m_c.lblDisplayIntervalValue->setText(
      QStringLiteral("[ %1 Seconds ]").arg(QLocale().toString(m_timer.interval() / 1000.0, 'f', 1)));
}

void SlideshowController::cbBackgroundModeChange() {
  const int index = m_c.cbBackgroundMode->currentIndex();
  if (index < 0 || index > static_cast<int>(BackgroundMode::bmCentered)) return;
  m_c.diorama->SetBgMode(static_cast<BackgroundMode>(index));
}

void SlideshowController::btnChangeBackgroundClick() {
  const std::optional<QString> file = m_dialogs.ChooseBackgroundFile(m_window);
  if (!file) return;
  QString error;
  // The background keeps its picture when the file cannot be read.
  if (!m_c.diorama->BgPicture().TryLoadFromFile(*file, &error)) m_dialogs.Error(error);
}

void SlideshowController::btnChangeFrameColorClick() {
  const std::optional<QColor> color = m_dialogs.ChooseFrameColor(m_window, m_c.diorama->FrameColor());
  if (color) m_c.diorama->SetFrameColor(*color);
}

void SlideshowController::btnChangePathClick() {
  const std::optional<QString> folder = m_dialogs.ChooseFolder(m_window, m_imageFolder);
  if (folder) LoadImageFolder(*folder);
}

void SlideshowController::edtFrameWidthChange() { m_c.diorama->SetFrameWidth(m_c.edtFrameWidth->value()); }

SlideshowController::DisplayState SlideshowController::State() const {
  if (m_c.diorama->isWindow()) return DisplayState::Screen;
  return m_c.diorama->Align() == Align::alClient ? DisplayState::Window : DisplayState::Placed;
}

void SlideshowController::SetFullScreen(bool Active) {
  Diorama& d = *m_c.diorama;
  const bool aligned = d.Align() == Align::alClient;
  if (Active && aligned) {
    d.setFocus();
    d.SetAlign(Align::alNone);
    d.SetBgMode(BackgroundMode::bmNone);
    d.SetFrameWidth(0);
    m_hint = d.toolTip();
    d.setToolTip(QString());
    d.setParent(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const QScreen* screen = m_window ? m_window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, d.width(), d.height());
    d.setGeometry(area);
    d.show();
    d.raise();
    d.activateWindow();
    d.setFocus();
    CursorDisplay::ShowCursor(false);
  } else if (!Active && !aligned) {
    if (d.isWindow() && m_placeParent) {
      d.setParent(m_placeParent, Qt::Widget);
      if (m_window) m_window->activateWindow();
    }
    d.SetAlign(Align::alClient);
    d.raise();
    d.show();
    d.SetBgMode(static_cast<BackgroundMode>(std::clamp(m_c.cbBackgroundMode->currentIndex(), 0, 3)));
    d.SetFrameWidth(m_c.edtFrameWidth->value());
    if (!m_hint.isEmpty()) {
      d.setToolTip(m_hint);
      m_hint.clear();
    }
    CursorDisplay::ShowCursor(true);
  }
}

bool SlideshowController::BelongsToShow(QObject* watched) const {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return false;
  const QWidget* top = widget->window();
  return top == m_window || top == m_c.diorama;
}

// The window sees its keys before its controls do (key preview), also while
// the picture area is a window of its own on the screen.
bool SlideshowController::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && BelongsToShow(watched)) {
    if (FormKeyDown(static_cast<QKeyEvent*>(event)->key())) return true;
  }
  // Closing the full-screen picture (Alt+F4) would leave it hidden with the
  // cursor still hidden: it goes back into the window instead.
  if (event->type() == QEvent::Close && watched == m_c.diorama && m_c.diorama->isWindow()) {
    event->ignore();
    SetFullScreen(false);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void SlideshowController::SetStatus(int panel, const QString& text) {
  if (QLabel* label = m_c.statusPanels[static_cast<std::size_t>(panel)]) label->setText(text);
}

}  // namespace slideshow
