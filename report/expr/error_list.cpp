#include "report/expr/error.h"

#include <algorithm>

namespace report::expr {

void ErrorList::Add(std::string text) {
  const auto at = std::lower_bound(m_texts.begin(), m_texts.end(), text);
  if (at != m_texts.end() && *at == text) return;
  m_texts.insert(at, std::move(text));
}

bool ErrorList::Contains(const std::string& text) const {
  return std::binary_search(m_texts.begin(), m_texts.end(), text);
}

std::string ErrorList::Joined() const {
  std::string out;
  for (const auto& text : m_texts) {
    if (!out.empty()) out += '\n';
    out += text;
  }
  return out;
}

}  // namespace report::expr
