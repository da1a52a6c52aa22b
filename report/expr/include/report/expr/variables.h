#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/expr/value.h"

namespace report::expr {

struct Variable {
  std::string name;
  Value value;  // for an ordinary report variable: text holding an expression
};

// An ordered list of named values: a report's Variables or the process-wide
// ones. A name beginning with a blank is a category header that groups the
// variables after it for editing; it is never found by name.
class Variables {
 public:
  static bool IsCategory(std::string_view name) { return !name.empty() && name.front() == ' '; }

  void Add(std::string name, Value value);
  // Assigns the first variable of that name, or appends it.
  void Set(std::string_view name, Value value);
  // Index of the first variable of that name (case-insensitive), or -1.
  int IndexOf(std::string_view name) const;
  const Variable* Find(std::string_view name) const;
  void Clear() { m_items.clear(); }

  std::size_t Size() const { return m_items.size(); }
  const Variable& At(std::size_t i) const { return m_items[i]; }
  const std::vector<Variable>& Items() const { return m_items; }

 private:
  std::vector<Variable> m_items;
};

}  // namespace report::expr
