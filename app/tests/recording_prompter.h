#pragma once

#include <QString>
#include <QStringList>

#include <deque>

#include "prompter.h"

namespace app::testing {

// Answers the program's message boxes without showing them and remembers
// what was asked, in order.
class RecordingPrompter : public Prompter {
 public:
  void Message(const QString& text) override { log << QStringLiteral("message: ") + text; }
  void Error(const QString& text) override { log << QStringLiteral("error: ") + text; }
  bool Question(const QString& text, const QString& caption) override {
    log << QStringLiteral("question: ") + caption + QStringLiteral(" / ") + text;
    return Next();
  }
  bool Confirm(const QString& text) override {
    log << QStringLiteral("confirm: ") + text;
    return Next();
  }

  QStringList log;
  std::deque<bool> answers;  // OK (true) when none are left

 private:
  bool Next() {
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace app::testing
