#pragma once

#include "report/expr/evaluator.h"

namespace report::expr {

// One entry of the operand stack: a value, or a report object on its way to
// a member access or IS.
struct Evaluator::Slot {
  Value value;
  ScriptObject* object = nullptr;
};

inline constexpr const char* kNestedTooDeeply = "Expression nested too deeply";

}  // namespace report::expr
