#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/expr/expression_cache.h"
#include "report/expr/scope.h"
#include "report/expr/value.h"

// Evaluation of report expressions: Calc, ResolveName, Get and the cache.
//
//   Calc(text)          ResolveName(text) if it finds it; else the cached (or newly
//                       compiled) expression run. An error is prefixed with
//                       CurrentObjectName + ": ", added to the ErrorList and raised
//                       as report::expr::Error; a level reached through another
//                       expression prefixes and records it again on the way out.
//   ResolveName(name)   dataset field (`ds."field"`), system variable, report
//                       variable (its expression evaluated through Calc), global
//                       variable, the script variable "Value"; never raises for an
//                       unknown name.
//   Get(name)           what `<name>` compiles to: ResolveName, aggregate calls
//                       through Calc, else "Unknown variable or datafield: name" in
//                       the ErrorList and an empty value.
//
// Re-entrant on one thread: a variable's expression may use other variables and
// a new expression may be compiled while another runs. Nesting is limited to
// kMaxDepth levels and a variable met again while it is being evaluated is
// reported as "Circular reference in variable: name", so no text can recurse
// without end.
namespace report::expr {

struct Program;
struct NameSplit;
struct MacroSite;

struct FieldReference {
  FieldSource* dataSet = nullptr;  // none when the name is not `dataset."field"` of this report
  std::string fieldName;
};

class Evaluator {
 public:
  static constexpr int kMaxDepth = 64;

  explicit Evaluator(Scope& scope);
  ~Evaluator();
  Evaluator(const Evaluator&) = delete;
  Evaluator& operator=(const Evaluator&) = delete;

  // At the start of every build: empties the cache, takes the script language
  // and clears the script variable "Value". The ErrorList is the engine's.
  void BeginBuild(std::string scriptLanguage = "PascalScript");

  Value Calc(std::string_view expression);
  std::optional<Value> ResolveName(std::string_view name);
  Value Get(std::string_view name);
  FieldReference SplitFieldReference(std::string_view name);

  // A field of the current row, recording "Field not found: ..." and giving
  // null for a field the dataset lacks; ConvertNulls applies.
  Value FieldValue(FieldSource& dataSet, std::string_view field);
  // Records the missing field with the object prefix and returns the text
  // without it, as a bound memo shows it.
  std::string RecordFieldNotFound(const FieldSource& dataSet, std::string_view field);

  // The script variable "Value": the last filled memo's value.
  const Value& ScriptValue() const { return m_scriptValue; }
  void SetScriptValue(Value value) { m_scriptValue = std::move(value); }

  Scope& GetScope() { return m_scope; }
  const ExpressionCache& Cache() const { return m_cache; }

 private:
  struct Slot;
  class DepthGuard;

  std::optional<Value> Resolve(std::string_view name, const NameSplit& split);
  Value GetSplit(std::string_view name, const NameSplit& split);
  Value RunMacro(const MacroSite& site);
  Value EvaluateVariable(std::size_t index);
  [[noreturn]] void Fail(std::string text);
  Value Run(const Program& program);

  Scope& m_scope;
  ExpressionCache m_cache;
  Value m_scriptValue;
  int m_depth = 0;
  std::vector<std::size_t> m_variablesInProgress;  // indices into the report variables
  std::vector<Slot> m_stack;  // the operand stack, shared by nested runs
};

// The aggregate calls an expression makes (also inside IIF arguments and
// `<SUM(...)>` references), found without evaluating anything, so that the
// engine can prepare its totals before the rows are printed.
std::vector<AggregateCall> FindAggregateCalls(std::string_view expression);

}  // namespace report::expr
