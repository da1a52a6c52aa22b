#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "report/expr/display_format.h"
#include "report/expr/scope.h"
#include "report/expr/value.h"

// Filling a memo view: its bracketed expressions evaluated and formatted, or
// the field it is bound to.
namespace report::expr {

class Evaluator;

// What the memo operations read and write of a memo view; the engine's memo
// view maps its properties onto it before filling and takes text and value back.
struct MemoData {
  std::string text;  // the memo's lines joined with line breaks
  bool allowExpressions = true;
  std::string expressionDelimiters = "[,]";  // open,close
  DisplayFormat displayFormat;
  bool hideZeros = false;
  FieldSource* dataSet = nullptr;  // with dataField: a memo bound to that field
  std::string dataField;
  Value value;  // the memo's current value: the last one computed for it

  bool IsBoundToField() const { return dataSet != nullptr && !dataField.empty(); }
};

struct Delimiters {
  std::string open;
  std::string close;
};
// "open,close" split at the first comma (the close part at most 255 characters).
Delimiters SplitDelimiters(std::string_view expressionDelimiters);

// One bracketed expression found from `position` (byte offsets, `end` past the
// closing delimiter). Delimiters inside single or double quotes do not count;
// nested pairs are part of the inner text. An opening delimiter never closed
// gives nothing, so that the unclosed tail stays literal text.
struct BracketedExpression {
  bool found = false;
  std::size_t start = 0;
  std::size_t end = 0;
  std::string_view inner;
};
BracketedExpression FindBracketedExpression(std::string_view text, std::string_view open,
                                            std::string_view close, std::size_t position);

// The memo's data step. A memo bound to a field shows the field (its blob
// text, its formatted value or its display text); any other memo has each
// bracketed expression replaced by EvaluateAndFormat of it, scanning on after
// the inserted text, and then gives its value to the script variable "Value".
// Evaluation errors propagate as report::expr::Error and leave the text as it was.
void ExpandMemoText(MemoData& memo, Evaluator& evaluator);

// The text for one bracketed expression: "expr #Nformat" carries an inline
// format (B boolean, D/T date-time, N numeric with its ',', '-' or '.' taken as
// the decimal separator and written '.', else text); "TOTALPAGES#" and
// "COPYNAME#" stay as placeholders for the page store. Sets memo.value.
std::string EvaluateAndFormat(MemoData& memo, std::string_view text, Evaluator& evaluator);

// The expressions of a memo's brackets, inline formats removed, without
// evaluating them (for the engine to look for aggregate calls).
std::vector<std::string> MemoExpressions(const MemoData& memo);

}  // namespace report::expr
