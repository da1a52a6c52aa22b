#include "slideshow/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>

namespace slideshow {

namespace {

QSpinBox* Spin(QWidget* parent, int minimum, int maximum, int step, int value) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(minimum, maximum);
  spin->setSingleStep(step);
  spin->setValue(value);
  return spin;
}

QCheckBox* Check(QWidget* parent, const char* text, bool checked) {
  auto* box = new QCheckBox(QString::fromLatin1(text), parent);
  box->setChecked(checked);
  return box;
}

}  // namespace

SlideshowControls MakeSettingsControls(QWidget* parent) {
  SlideshowControls c;
  c.lblStyleNumber = new QLabel(QStringLiteral("[ #0 ]"), parent);
  c.cbStyle = new QComboBox(parent);
  // Each radio group in a box of its own, so that the two groups do not
  // exclude each other.
  auto* styleGroup = new QWidget(parent);
  c.rbStyleSequential = new QRadioButton(QStringLiteral("Sequentially"), styleGroup);
  c.rbStyleRandom = new QRadioButton(QStringLiteral("Randomly"), styleGroup);
  c.rbStyleDisabled = new QRadioButton(QStringLiteral("Disabled"), styleGroup);
  c.rbStyleSequential->setChecked(true);
  auto* progressGroup = new QWidget(parent);
  c.rbProgressAuto = new QRadioButton(QStringLiteral("Automatic"), progressGroup);
  c.rbProgressManual = new QRadioButton(QStringLiteral("Manual"), progressGroup);
  c.rbProgressAuto->setChecked(true);
  c.lblProgressStep = new QLabel(QStringLiteral("Step (%):"), parent);
  c.edtProgressStep = Spin(parent, 1, 25, 1, 3);
  c.lblProgressDelay = new QLabel(QStringLiteral("Interval (ms):"), parent);
  c.edtProgressDelay = Spin(parent, 5, 1000, 5, 30);
  c.ckExactTiming = Check(parent, "Preserve Exact Timing", true);
  c.ckThreaded = Check(parent, "Use Separate Thread", true);
  c.tbProgress = new QSlider(Qt::Horizontal, parent);
  c.tbProgress->setRange(0, 100);
  c.tbProgress->setPageStep(5);
  c.tbProgress->setTickInterval(10);
  c.tbProgress->setEnabled(false);
  c.ckCenter = Check(parent, "Center", true);
  c.ckStretch = Check(parent, "Stretch / Shrink", false);
  c.ckProportional = Check(parent, "Preserve Aspect Ratio", true);
  c.cbBackgroundMode = new QComboBox(parent);
  c.cbBackgroundMode->addItems(
      {QStringLiteral("None"), QStringLiteral("Tile"), QStringLiteral("Stretch"), QStringLiteral("Center")});
  c.cbBackgroundMode->setCurrentIndex(1);
  c.btnChangeBackground = new QPushButton(QStringLiteral("Change Background..."), parent);
  c.edtFrameWidth = Spin(parent, 0, 10, 1, 1);
  c.btnChangeFrameColor = new QPushButton(QStringLiteral("Change Color..."), parent);
  c.btnChangePath = new QPushButton(QStringLiteral("Select Images Folder..."), parent);
  c.ckOverDraw = Check(parent, "Over Draw Images (same size only)", true);
  c.lblDisplayIntervalValue = new QLabel(QStringLiteral("[ 1.0 Seconds ]"), parent);
  c.tbDisplayInterval = new QSlider(Qt::Horizontal, parent);
  c.tbDisplayInterval->setRange(500, 9500);
  c.tbDisplayInterval->setSingleStep(500);
  c.tbDisplayInterval->setPageStep(500);
  c.tbDisplayInterval->setTickInterval(500);
  c.tbDisplayInterval->setValue(1000);
  c.statusBar = new QStatusBar(parent);
  for (auto& label : c.statusPanels) {
    label = new QLabel(c.statusBar);
    c.statusBar->addWidget(label);
  }
  return c;
}

}  // namespace slideshow
