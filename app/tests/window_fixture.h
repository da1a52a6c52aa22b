#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "formabout.h"
#include "main_form.h"
#include "recording_prompter.h"
#include "testing/test_support.h"
#include "tprezzi.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace app::testing {

// Runs `act` with the first modal window that opens, from inside its own
// event loop; gives up after a few seconds. Any other modal window that
// opens while it lives (a warning the test did not expect) is closed and
// reported as a failure, so that a test never hangs on it.
class WhenModal {
 public:
  explicit WhenModal(std::function<void(QWidget*)> act) : m_act(std::move(act)) {
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
    m_timer.start();
  }

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == m_handled) {
      if (m_handled == nullptr && ++m_ticks > 500) m_timer.stop();
      return;
    }
    if (m_handled != nullptr) {
      const auto* box = qobject_cast<QMessageBox*>(modal);
      ADD_FAILURE() << "unexpected window \"" << modal->windowTitle().toStdString() << "\": "
                    << (box != nullptr ? box->text().toStdString() : std::string());
      modal->close();
      return;
    }
    m_handled = modal;
    // Outside this timer's own slot: a timer does not fire again while its
    // slot runs, and the act may open a window of its own.
    QMetaObject::invokeMethod(
        &m_timer, [this, modal] { m_act(modal); }, Qt::QueuedConnection);
  }

  std::function<void(QWidget*)> m_act;
  QTimer m_timer;
  QPointer<QWidget> m_handled;
  int m_ticks = 0;
};

// A command's place: a button, a menu entry or a tool button.
enum class Kind { Button, MenuEntry, ToolButton };

// The main window with the about box and the example-prices window, made as
// the program makes them, on a data folder of the test's own.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = testing_support::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    dir = QString::fromStdString(folder.string());
  }

  void Make() {
    form = std::make_unique<MainForm>(dir);
    about = std::make_unique<Formabout>(form.get());
    prices = std::make_unique<Tprezzi>(form.get());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }

  template <class T>
  T* Find(const char* name) const {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  QWidget* ToolButton(const char* action) const {
    return Find<QToolBar>("ToolBar1")->widgetForAction(Find<QAction>(action));
  }

  void Activate(const char* name, Kind kind) {
    switch (kind) {
      case Kind::Button:
        QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton);
        return;
      case Kind::MenuEntry:
        Find<QAction>(name)->trigger();
        return;
      case Kind::ToolButton:
        QTest::mouseClick(ToolButton(name), Qt::LeftButton);
        return;
    }
  }

  static std::filesystem::path MusicFixture(const char* name) {
    return std::filesystem::path(qEnvironmentVariable("VERSANTO_SOURCE_DIR").toStdString()) / "app" /
           "music" / "tests" / "data" / name;
  }

  std::filesystem::path folder;
  QString dir;
  RecordingPrompter prompter;
  ScopedPrompter scoped{prompter};
  // Destroyed in reverse: the dialogs before the main window, as in the program.
  std::unique_ptr<MainForm> form;
  std::unique_ptr<Formabout> about;
  std::unique_ptr<Tprezzi> prices;
};

}  // namespace app::testing
