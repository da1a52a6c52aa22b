#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QWidget>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "slideshow/cursor_display.h"
#include "slideshow/diorama.h"
#include "slideshow/settings_panel.h"
#include "slideshow/slideshow_controller.h"
#include "testing/test_support.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace slideshow_test {

// Answers the slideshow's boxes and dialogs and keeps what they said.
class RecordingDialogs : public slideshow::SlideshowDialogs {
 public:
  void Warning(const QString& text) override { log << QStringLiteral("warning: ") + text; }
  void Error(const QString& text) override { log << QStringLiteral("error: ") + text; }
  std::optional<QString> ChooseBackgroundFile(QWidget*) override { return backgroundFile; }
  std::optional<QColor> ChooseFrameColor(QWidget*, const QColor& current) override {
    presetColor = current;
    return frameColor;
  }
  std::optional<QString> ChooseFolder(QWidget*, const QString& start) override {
    folderStart = start;
    return folder;
  }

  QStringList log;
  std::optional<QString> backgroundFile;
  std::optional<QColor> frameColor;
  QColor presetColor;
  std::optional<QString> folder;
  QString folderStart;
};

// A window with the picture area in its client area, the settings panel's
// controls with the ranges of the main window, and a status bar.
class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = QString::fromStdString(
        testing_support::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name()).string());
    window.resize(900, 600);
    client = new QWidget(&window);
    client->setGeometry(0, 30, 900, 540);
    diorama = new slideshow::Diorama(client);
    diorama->setGeometry(600, 60, 240, 200);
    diorama->setToolTip(QStringLiteral("Double click for FULL SCREEN"));
    // Short transitions: one step.
    diorama->SetStep(100);
    diorama->SetDelay(5);
    diorama->SetStyle(0);
    diorama->SetProportional(true);
    diorama->SetCenter(true);

    auto* panel = new QWidget(&window);
    panel->setGeometry(0, 0, 10, 10);
    c = slideshow::MakeSettingsControls(panel);
    c.diorama = diorama;
    c.statusBar->setParent(&window);
    c.statusBar->setGeometry(0, 570, 900, 20);
  }

  void TearDown() override {
    controller.reset();
    ASSERT_EQ(slideshow::CursorDisplay::Count(), 0) << "a test left the cursor count changed";
  }

  void Make() {
    controller = std::make_unique<slideshow::SlideshowController>(c, dialogs, imageFiles, &window);
  }
  void MakeShown() {
    Make();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  QString Panel(int i) const { return c.statusPanels[static_cast<std::size_t>(i)]->text(); }

  // Waits (serving events) until the next picture is decoded or none is due.
  bool WaitForNext() {
    return QTest::qWaitFor([&] { return controller->NextImageReady() || !controller->Loader().Pending(); }, 5000);
  }
  bool WaitIdle() {
    return QTest::qWaitFor([&] { return !diorama->Busy(); }, 5000);
  }
  // One timer step with the next picture ready, run to the end of its transition.
  void Step() {
    ASSERT_TRUE(WaitForNext());
    controller->ShowNextImage();
    ASSERT_TRUE(WaitIdle());
  }

  QString File(const QString& name) const { return QDir(dir).filePath(name); }

  QString dir;
  QWidget window;
  QWidget* client = nullptr;
  slideshow::Diorama* diorama = nullptr;
  slideshow::SlideshowControls c;
  RecordingDialogs dialogs;
  QStringList imageFiles;
  std::unique_ptr<slideshow::SlideshowController> controller;
};

// Small picture files.
void WritePicture(const QString& path, int width, int height, QColor color = QColor(200, 40, 40),
                  const char* format = nullptr);
void WriteText(const QString& path, const QByteArray& bytes);

}  // namespace slideshow_test
