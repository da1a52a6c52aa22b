#include "report/expr/variables.h"

#include "report/expr/same_text.h"

namespace report::expr {

void Variables::Add(std::string name, Value value) {
  m_items.push_back({std::move(name), std::move(value)});
}

void Variables::Set(std::string_view name, Value value) {
  const int i = IndexOf(name);
  if (i < 0) {
    Add(std::string(name), std::move(value));
    return;
  }
  m_items[static_cast<std::size_t>(i)].value = std::move(value);
}

int Variables::IndexOf(std::string_view name) const {
  if (IsCategory(name)) return -1;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (!IsCategory(m_items[i].name) && SameText(m_items[i].name, name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

const Variable* Variables::Find(std::string_view name) const {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : &m_items[static_cast<std::size_t>(i)];
}

}  // namespace report::expr
