#pragma once

#include <QString>

namespace app {

// The program's message boxes. Commands ask through Prompts(), so that tests
// can answer them without a person at the screen.
class Prompter {
 public:
  virtual ~Prompter() = default;

  // The plain message: text, OK, the application title as caption.
  virtual void Message(const QString& text);
  // The standard error box: the error's text, OK, critical icon, the title.
  virtual void Error(const QString& text);
  // OK/Cancel with the stop icon and a caption of its own, OK the default;
  // true for OK.
  virtual bool Question(const QString& text, const QString& caption);
  // The data grid's confirmation ("Delete record?"): OK/Cancel; true for OK.
  virtual bool Confirm(const QString& text);
};

Prompter& Prompts();

// Puts another prompter in place for its lifetime (tests).
class ScopedPrompter {
 public:
  explicit ScopedPrompter(Prompter& replacement);
  ~ScopedPrompter();
  ScopedPrompter(const ScopedPrompter&) = delete;
  ScopedPrompter& operator=(const ScopedPrompter&) = delete;

 private:
  Prompter* m_previous;
};

}  // namespace app
