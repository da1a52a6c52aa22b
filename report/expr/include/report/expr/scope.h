#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "report/expr/error.h"
#include "report/expr/format_settings.h"
#include "report/expr/value.h"
#include "report/expr/variables.h"

// What the band engine gives the expressions: the report's datasets, its
// system values, variables and objects, the error list and the user's
// formats. The engine implements Scope once per report; the Evaluator calls
// it and never owns anything it hands out.
namespace report::expr {

class Evaluator;

enum class FieldType { fftNumeric, fftString, fftBoolean };

// A report dataset as expressions read it: the fields of its current row.
// Field names compare without regard to case.
class FieldSource {
 public:
  virtual ~FieldSource() = default;
  // The name expressions use, e.g. "repDBDataset1".
  virtual std::string_view UserName() const = 0;
  // Nothing when the dataset has no such field. Fixed-point decimals come as
  // reals, 64-bit integers as Int64, everything else as the field's own value.
  virtual std::optional<Value> FieldValue(std::string_view field) = 0;
  // The field's display text; nothing when there is no such field.
  virtual std::optional<std::string> FieldDisplayText(std::string_view field) = 0;
  virtual FieldType FieldKind(std::string_view field) = 0;
  // A large-text field, whose text a bound memo shows as its lines.
  virtual bool IsBlobField(std::string_view field) = 0;
};

// A report object (band, view, page, "Report", "Engine", "Outline") as
// designators reach it: `Memo1.Text`, `Engine.FreeSpace`, `Memo1.Lines[0]`.
class ScriptObject;
using Member = std::variant<Value, ScriptObject*>;

class ScriptObject {
 public:
  virtual ~ScriptObject() = default;
  // For `x IS TRepMemoView`; the class name compares without regard to case.
  virtual bool InheritsFrom(std::string_view className) const = 0;
  // A property (no arguments), an indexed property (`Lines[0]`: "Lines" with
  // the index; `Memo1[0]`: the empty name) or a method call. Nothing when the
  // object has no such member; throw report::expr::Error to fail the call.
  // Member names compare without regard to case, as everywhere in expressions.
  virtual std::optional<Member> GetMember(std::string_view name, std::span<const Value> args) = 0;
};

// The fixed list of system variable names, in lookup order.
enum class SystemVariable { Date, Time, Page, PageNo, TotalPages, TotalPagesNo, Line, LineNo, CopyName };
inline constexpr std::array<std::string_view, 9> kSystemVariableNames = {
    "Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#", "CopyName#"};

// A call of SUM, AVG, MIN, MAX or COUNT. These are macro functions: they
// receive their arguments as source text and the engine decides what they
// mean over the rows of a band (evaluating `expression` with Calc per row).
enum class AggregateKind { Sum, Avg, Min, Max, Count };
struct AggregateCall {
  AggregateKind kind = AggregateKind::Sum;
  std::string text;        // the whole call as written: "SUM(<Totale>, MasterData1)"
  std::string expression;  // Expr (empty for COUNT)
  std::string band = "0";  // Band, as written; "0" when left out
  std::string flags = "0"; // Flags, as written; "0" when left out
};

class Scope {
 public:
  virtual ~Scope() = default;

  // One of the report's own datasets (its DataSets list) by user name,
  // without regard to case; nullptr when there is none.
  virtual FieldSource* FindDataSet(std::string_view userName) = 0;
  // Date, Time, Page, Page#, TotalPages, TotalPages#, Line, Line#. CopyName#
  // is answered by the Evaluator from the global variable "CopyName0".
  virtual Value SystemValue(SystemVariable variable) = 0;
  // The report's variables; Set() changes them.
  virtual Variables& ReportVariables() = 0;
  // The process-wide variables.
  virtual const Variables& GlobalVariables() = 0;
  // A report object under its component name, or "Report", "Engine",
  // "Outline"; nullptr when there is none. Looked up when an expression is
  // compiled (an unknown name is a compile error) and again when it runs.
  virtual ScriptObject* FindObject(std::string_view name) = 0;
  // The value of an aggregate call met while an expression runs. Throw
  // report::expr::Error when it cannot be answered here.
  virtual Value Aggregate(const AggregateCall& call, Evaluator& evaluator) = 0;

  // The band or view being filled; it prefixes evaluation errors.
  virtual std::string_view CurrentObjectName() const = 0;
  virtual ErrorList& Errors() = 0;
  virtual const FormatSettings& Settings() const = 0;
  // The engine option ConvertNulls: a null field reads as 0, "" or false.
  virtual bool ConvertNulls() const = 0;
};

}  // namespace report::expr
