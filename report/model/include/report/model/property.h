#pragma once

#include <utility>

// A published property P of a report object: P() reads it, SetP(v) writes it.
// The model's setters only store; whatever reacts to a change (the engine, the
// preview) reads the values when it next runs.
#define REPORT_PROPERTY(Type, Name, ...)                       \
 public:                                                       \
  const Type& Name() const { return m_##Name; }                \
  void Set##Name(Type value) { m_##Name = std::move(value); }  \
                                                               \
 private:                                                      \
  Type m_##Name{__VA_ARGS__};                                  \
                                                               \
 public:
