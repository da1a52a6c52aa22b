#include "report/expr/evaluator.h"

#include <algorithm>

#include "compiler_p.h"
#include "evaluator_p.h"
#include "program_p.h"
#include "report/expr/same_text.h"

namespace report::expr {

namespace {

constexpr std::string_view kScriptLanguage = "PascalScript";

std::optional<SystemVariable> SystemVariableOf(std::string_view name) {
  // Every system name starts with one of these letters and is at most 11 long.
  if (name.empty() || name.size() > 11) return std::nullopt;
  for (std::size_t i = 0; i < kSystemVariableNames.size(); ++i) {
    if (SameText(name, kSystemVariableNames[i])) return static_cast<SystemVariable>(i);
  }
  return std::nullopt;
}

}  // namespace

// Limits how deep Calc may re-enter itself, whatever path leads back to it.
class Evaluator::DepthGuard {
 public:
  explicit DepthGuard(Evaluator& e) : m_e(e) {
    if (m_e.m_depth >= kMaxDepth) m_e.Fail(kNestedTooDeeply);
    ++m_e.m_depth;
  }
  ~DepthGuard() { --m_e.m_depth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  Evaluator& m_e;
};

Evaluator::Evaluator(Scope& scope) : m_scope(scope) {}
Evaluator::~Evaluator() = default;

void Evaluator::BeginBuild(std::string scriptLanguage) {
  m_cache.Clear(std::move(scriptLanguage));
  m_scriptValue = Value();
  m_variablesInProgress.clear();
}

void Evaluator::Fail(std::string text) {
  const std::string_view object = m_scope.CurrentObjectName();
  if (!object.empty()) text = std::string(object) + ": " + text;
  m_scope.Errors().Add(text);
  throw Error(text);
}

Value Evaluator::Calc(std::string_view expression) {
  const DepthGuard depth(*this);
  if (auto found = ResolveName(expression)) return std::move(*found);

  std::string error;
  auto program = m_cache.Find(expression);
  if (!program) {
    CompileResult compiled;
    if (SameText(m_cache.ScriptLanguage(), kScriptLanguage)) {
      compiled = Compile(expression, &m_scope, m_cache.NextFunctionName());
    } else {
      compiled.error = "Unknown script language: " + m_cache.ScriptLanguage();
    }
    if (compiled.program) {
      program = m_cache.Insert(std::string(expression), std::move(compiled.program));
    } else {
      error = "Error in expression '" + std::string(expression) + "': " + compiled.error;
    }
  }
  if (program) {
    try {
      return Run(*program);
    } catch (const std::exception& e) {
      error = e.what();
    }
  }
  Fail(std::move(error));
}

std::optional<Value> Evaluator::ResolveName(std::string_view name) {
  return Resolve(name, SplitName(name));
}

std::optional<Value> Evaluator::Resolve(std::string_view name, const NameSplit& split) {
  if (split.found && !split.field.empty()) {
    if (FieldSource* dataSet = m_scope.FindDataSet(split.dataSet)) {
      return FieldValue(*dataSet, split.field);
    }
  }
  if (const auto system = SystemVariableOf(name)) {
    if (*system != SystemVariable::CopyName) return m_scope.SystemValue(*system);
    const Variable* copyName = m_scope.GlobalVariables().Find("CopyName0");
    return copyName != nullptr ? copyName->value : Value();
  }
  const int index = m_scope.ReportVariables().IndexOf(name);
  if (index >= 0) {
    const Value& value = m_scope.ReportVariables().At(static_cast<std::size_t>(index)).value;
    // A text with line breaks is a text; any other text is an expression.
    if (!value.IsText() || value.AsText().find("\r\n") != std::string::npos) return value;
    return EvaluateVariable(static_cast<std::size_t>(index));
  }
  if (const Variable* global = m_scope.GlobalVariables().Find(name)) return global->value;
  if (SameText(name, "Value")) return m_scriptValue;
  return std::nullopt;
}

Value Evaluator::EvaluateVariable(std::size_t index) {
  const Variables& variables = m_scope.ReportVariables();
  if (std::find(m_variablesInProgress.begin(), m_variablesInProgress.end(), index) !=
      m_variablesInProgress.end()) {
    Fail("Circular reference in variable: " + variables.At(index).name);
  }
  // Copied: Set() may change the variable while its expression runs.
  const std::string expression = variables.At(index).value.AsText();
  m_variablesInProgress.push_back(index);
  struct Pop {
    std::vector<std::size_t>& list;
    ~Pop() { list.pop_back(); }
  } const pop{m_variablesInProgress};
  return Calc(expression);
}

Value Evaluator::Get(std::string_view name) { return GetSplit(name, SplitName(name)); }

Value Evaluator::GetSplit(std::string_view name, const NameSplit& split) {
  if (auto found = Resolve(name, split)) return std::move(*found);
  if (IsAggregateCall(name)) return Calc(name);
  m_scope.Errors().Add("Unknown variable or datafield: " + std::string(name));
  return Value();
}

FieldReference Evaluator::SplitFieldReference(std::string_view name) {
  const NameSplit split = SplitName(name);
  if (!split.found) return {};
  return {m_scope.FindDataSet(split.dataSet), std::string(split.field)};
}

Value Evaluator::FieldValue(FieldSource& dataSet, std::string_view field) {
  auto value = dataSet.FieldValue(field);
  if (!value) {
    RecordFieldNotFound(dataSet, field);
    return Value::Null();
  }
  if (!value->IsNull() || !m_scope.ConvertNulls()) return std::move(*value);
  switch (dataSet.FieldKind(field)) {
    case FieldType::fftNumeric: return Value(std::int32_t{0});
    case FieldType::fftString: return Value(std::string());
    case FieldType::fftBoolean: return Value(false);
  }
  return Value::Null();
}

std::string Evaluator::RecordFieldNotFound(const FieldSource& dataSet, std::string_view field) {
  std::string text =
      "Field not found: " + std::string(dataSet.UserName()) + ".\"" + std::string(field) + "\"";
  const std::string_view object = m_scope.CurrentObjectName();
  m_scope.Errors().Add(object.empty() ? text : std::string(object) + ": " + text);
  return text;
}

std::vector<AggregateCall> FindAggregateCalls(std::string_view expression) {
  std::vector<AggregateCall> calls;
  Compile(expression, nullptr, {}, &calls);
  return calls;
}

}  // namespace report::expr
