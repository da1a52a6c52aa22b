#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "program_p.h"
#include "report/expr/scope.h"

namespace report::expr {

inline constexpr int kMaxParseDepth = 200;

struct CompileResult {
  std::shared_ptr<Program> program;  // null on failure
  std::string error;                 // the compiler's message
};

// Compiles one expression. With a scope, identifiers must name a function,
// "Value" or a report object; without one only the syntax is checked.
// `aggregates`, when given, receives every aggregate call met.
CompileResult Compile(std::string_view expression, Scope* scope, std::string functionName,
                      std::vector<AggregateCall>* aggregates = nullptr);

// "Name" of `dataset."field"`: the text before the first `."` and the text
// after it without its last character.
struct NameSplit {
  bool found = false;
  std::string_view dataSet;
  std::string_view field;
};
NameSplit SplitName(std::string_view name);

// Whether `name` is a call of SUM, AVG, MIN, MAX or COUNT: the text before the
// first "(", trimmed, is one of them.
bool IsAggregateCall(std::string_view name);

}  // namespace report::expr
