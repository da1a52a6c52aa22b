#include "prompter.h"

#include <QApplication>
#include <QMessageBox>

#include "application.h"

namespace app {

namespace {

Prompter* g_current = nullptr;

QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
  if (buttons.testFlag(QMessageBox::Ok)) box.setDefaultButton(QMessageBox::Ok);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void Prompter::Message(const QString& text) {
  Ask(QMessageBox::NoIcon, Title(), text, QMessageBox::Ok);
}

void Prompter::Error(const QString& text) {
  Ask(QMessageBox::Critical, Title(), text, QMessageBox::Ok);
}

bool Prompter::Question(const QString& text, const QString& caption) {
  return Ask(QMessageBox::Critical, caption, text, QMessageBox::Ok | QMessageBox::Cancel) ==
         QMessageBox::Ok;
}

bool Prompter::Confirm(const QString& text) {
  return Ask(QMessageBox::Question, QStringLiteral("Confirm"), text,
             QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

Prompter& Prompts() {
  static Prompter standard;
  return g_current != nullptr ? *g_current : standard;
}

ScopedPrompter::ScopedPrompter(Prompter& replacement) : m_previous(g_current) {
  g_current = &replacement;
}

ScopedPrompter::~ScopedPrompter() { g_current = m_previous; }

}  // namespace app
