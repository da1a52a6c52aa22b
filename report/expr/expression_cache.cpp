#include "report/expr/expression_cache.h"

#include <algorithm>

#include "program_p.h"

namespace report::expr {

ExpressionCache::ExpressionCache() = default;
ExpressionCache::~ExpressionCache() = default;

void ExpressionCache::Clear(std::string scriptLanguage) {
  m_entries.clear();
  m_scriptLanguage = std::move(scriptLanguage);
}

std::vector<ExpressionCache::Entry>::const_iterator ExpressionCache::LowerBound(
    std::string_view text) const {
  return std::lower_bound(m_entries.begin(), m_entries.end(), text,
                          [](const Entry& e, std::string_view t) { return e.text < t; });
}

std::shared_ptr<const Program> ExpressionCache::Find(std::string_view text) const {
  const auto at = LowerBound(text);
  if (at == m_entries.end() || at->text != text) return nullptr;
  return at->program;
}

std::string ExpressionCache::NextFunctionName() const {
  return "exprf" + std::to_string(m_entries.size());
}

std::shared_ptr<const Program> ExpressionCache::Insert(std::string text,
                                                       std::shared_ptr<const Program> program) {
  const auto at = LowerBound(text);
  if (at != m_entries.end() && at->text == text) return at->program;
  const auto index = at - m_entries.begin();
  m_entries.insert(m_entries.begin() + index, Entry{std::move(text), program});
  return program;
}

std::string ExpressionCache::FunctionNameOf(std::string_view text) const {
  const auto program = Find(text);
  return program ? program->functionName : std::string();
}

}  // namespace report::expr
