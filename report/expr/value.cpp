#include "report/expr/value.h"

#include <cmath>

namespace report::expr {

Currency Currency::FromDouble(double value) {
  return Currency{static_cast<std::int64_t>(std::llround(value * kScale))};
}

std::string_view KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::Empty: return "Empty";
    case ValueKind::Null: return "Null";
    case ValueKind::Boolean: return "Boolean";
    case ValueKind::Integer: return "Integer";
    case ValueKind::Int64: return "Int64";
    case ValueKind::Real: return "Double";
    case ValueKind::Currency: return "Currency";
    case ValueKind::DateTime: return "Date";
    case ValueKind::Text: return "String";
  }
  return "Unknown";
}

}  // namespace report::expr
