#include "help_key.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "help_context.h"
#include "help_window.h"

namespace app {

namespace {

const QObject* HoveredToolButton(const QWidget* window) {
  for (const QToolBar* bar : window->findChildren<QToolBar*>()) {
    for (const QToolButton* button : bar->findChildren<QToolButton*>()) {
      if (button->isVisible() && button->underMouse()) return button;
    }
  }
  return nullptr;
}

// What F1 asks about, given the widget the key went to.
const QObject* HelpTarget(QWidget* receiver) {
  if (const auto* menu = qobject_cast<QMenu*>(receiver)) {
    if (const QAction* entry = menu->activeAction(); entry != nullptr && HelpContextOf(entry) != 0) {
      return entry;
    }
    return menu;
  }
  if (const QObject* button = HoveredToolButton(receiver->window())) return button;
  return receiver;
}

}  // namespace

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  auto* receiver = qobject_cast<QWidget*>(watched);
  if (receiver == nullptr) return false;  // the window system's window; its widget comes next

  const int context = HelpContextFor(HelpTarget(receiver));
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  Help().ShowContext(context);
  return true;
}

void InstallHelpKey(QObject* owner) { qApp->installEventFilter(new HelpKey(owner)); }

}  // namespace app
