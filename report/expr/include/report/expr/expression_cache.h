#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace report::expr {

struct Program;  // a compiled expression (private to the library)

// Each distinct expression text compiled in this build, kept sorted by text
// for a binary search. Emptied at the start of every build, so an expression
// is compiled once per build and then only run. Entries are shared so that an
// expression keeps running while a nested one is compiled and inserted.
class ExpressionCache {
 public:
  ExpressionCache();
  ~ExpressionCache();
  ExpressionCache(const ExpressionCache&) = delete;
  ExpressionCache& operator=(const ExpressionCache&) = delete;

  void Clear(std::string scriptLanguage);
  const std::string& ScriptLanguage() const { return m_scriptLanguage; }

  std::shared_ptr<const Program> Find(std::string_view text) const;
  // The name of the next compiled function: "exprf" + how many this build holds.
  std::string NextFunctionName() const;
  std::shared_ptr<const Program> Insert(std::string text, std::shared_ptr<const Program> program);

  std::size_t Size() const { return m_entries.size(); }
  // The function name an expression was compiled as, or "" when absent.
  std::string FunctionNameOf(std::string_view text) const;

 private:
  struct Entry {
    std::string text;
    std::shared_ptr<const Program> program;
  };
  std::vector<Entry>::const_iterator LowerBound(std::string_view text) const;

  std::vector<Entry> m_entries;
  std::string m_scriptLanguage = "PascalScript";
};

}  // namespace report::expr
