#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace report::expr {

// What Calc raises after recording its text in the ErrorList; the band engine
// catches it and ends the build.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The texts of one build's errors, sorted, each at most once.
class ErrorList {
 public:
  void Add(std::string text);
  void Clear() { m_texts.clear(); }
  bool Empty() const { return m_texts.empty(); }
  std::size_t Size() const { return m_texts.size(); }
  bool Contains(const std::string& text) const;
  const std::vector<std::string>& Texts() const { return m_texts; }
  // The texts one per line, as the error box shows them.
  std::string Joined() const;

 private:
  std::vector<std::string> m_texts;
};

}  // namespace report::expr
