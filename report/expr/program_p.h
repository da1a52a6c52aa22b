#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/expr/scope.h"
#include "report/expr/value.h"

// A compiled expression: postfix code for a small stack machine, so that
// running it needs no recursion however long the expression is.
namespace report::expr {

enum class Op : std::uint8_t {
  PushConst,        // a: constant
  GetName,          // a: get site; `<name>` and Get('name')
  GetDynamic,       // pops the name
  LoadScriptValue,  // the script variable "Value"
  LoadObject,       // a: name
  Member,           // a: name ("" = default), b: argument count; pops args and object
  CallSet,          // pops value and name
  Macro,            // a: macro site
  Negate,
  Not,
  Binary,           // a: BinaryOp
  Compare,          // a: Relation
  InSet,            // a: set site; pops the items and the tested value
  Is,               // a: class name; pops the object
  JumpIfFalse,      // a: target; taken when the top is Boolean false (kept)
  JumpIfTrue,       // a: target; taken when the top is Boolean true (kept)
};

struct Instruction {
  Op op = Op::PushConst;
  std::uint32_t a = 0;
  std::uint32_t b = 0;
};

// `<name>` with its `dataset."field"` split done once at compile time.
struct GetSite {
  std::string name;
  bool fieldReference = false;
  std::string dataSetName;
  std::string fieldName;
};

enum class MacroKind { Iif, Aggregate };
struct MacroSite {
  MacroKind kind = MacroKind::Iif;
  std::vector<std::string> args;  // IIF: the three argument texts
  AggregateCall aggregate;
};

struct Program {
  std::string functionName;  // "exprf" + n
  std::vector<Instruction> code;
  std::vector<Value> constants;
  std::vector<std::string> names;
  std::vector<GetSite> gets;
  std::vector<MacroSite> macros;
  std::vector<std::vector<bool>> sets;  // per item: a range lo..hi (two values) or one value
};

}  // namespace report::expr
