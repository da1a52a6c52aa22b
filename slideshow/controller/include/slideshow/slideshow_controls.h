#pragma once

#include <QColor>
#include <QString>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStatusBar;
class QWidget;

namespace slideshow {

class Diorama;

// The widgets the slideshow drives: the picture area, the settings panel's
// controls and the status bar's four panels. The window that holds them
// (the main window's description) makes and owns them all.
struct SlideshowControls {
  Diorama* diorama = nullptr;

  // "Transition"
  QLabel* lblStyleNumber = nullptr;
  QComboBox* cbStyle = nullptr;
  QRadioButton* rbStyleSequential = nullptr;
  QRadioButton* rbStyleRandom = nullptr;
  QRadioButton* rbStyleDisabled = nullptr;
  QRadioButton* rbProgressAuto = nullptr;
  QRadioButton* rbProgressManual = nullptr;
  QLabel* lblProgressStep = nullptr;
  QSpinBox* edtProgressStep = nullptr;
  QLabel* lblProgressDelay = nullptr;
  QSpinBox* edtProgressDelay = nullptr;
  QCheckBox* ckExactTiming = nullptr;
  QCheckBox* ckThreaded = nullptr;
  QSlider* tbProgress = nullptr;
  // "Layout"
  QCheckBox* ckCenter = nullptr;
  QCheckBox* ckStretch = nullptr;
  QCheckBox* ckProportional = nullptr;
  QComboBox* cbBackgroundMode = nullptr;
  QPushButton* btnChangeBackground = nullptr;
  QSpinBox* edtFrameWidth = nullptr;
  QPushButton* btnChangeFrameColor = nullptr;
  // "Images"
  QPushButton* btnChangePath = nullptr;
  QCheckBox* ckOverDraw = nullptr;
  QLabel* lblDisplayIntervalValue = nullptr;
  QSlider* tbDisplayInterval = nullptr;

  // Showing, next, count, folder.
  std::array<QLabel*, 4> statusPanels{};
  // Where a skipped picture is named for a while; may be null.
  QStatusBar* statusBar = nullptr;
};

// The boxes and dialogs the slideshow opens, so that tests can answer them.
class SlideshowDialogs {
 public:
  virtual ~SlideshowDialogs() = default;
  // The framework's warning box: caption "Warning", one button "Cancel".
  virtual void Warning(const QString& text);
  // The standard error box of the program.
  virtual void Error(const QString& text) = 0;
  // "Select Background Image": a picture file, or nothing on Cancel.
  virtual std::optional<QString> ChooseBackgroundFile(QWidget* parent);
  // The colour dialog preset to `current`.
  virtual std::optional<QColor> ChooseFrameColor(QWidget* parent, const QColor& current);
  // "Select folder of images for slide show:", starting at `start` when it
  // exists.
  virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& start);
};

}  // namespace slideshow
