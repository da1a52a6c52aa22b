#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

// The value of a report expression, a report variable or a dataset field.
namespace report::expr {

enum class ValueKind { Empty, Null, Boolean, Integer, Int64, Real, Currency, DateTime, Text };

// Fixed point with four decimals: 1.5 is stored as 15000.
struct Currency {
  std::int64_t scaled = 0;
  static constexpr std::int64_t kScale = 10000;

  // Rounded to four decimals, halves away from zero; the value must fit.
  static Currency FromDouble(double value);
  double ToDouble() const { return static_cast<double>(scaled) / kScale; }
  friend bool operator==(Currency, Currency) = default;
};

// Days since 1899-12-30; the fraction is the time of day.
struct DateTime {
  double days = 0;
  friend bool operator==(DateTime, DateTime) = default;
};

struct NullValue {
  friend bool operator==(NullValue, NullValue) = default;
};

class Value {
 public:
  Value() = default;  // empty: never assigned
  Value(bool v) : m_data(v) {}
  Value(std::int32_t v) : m_data(v) {}
  Value(std::int64_t v) : m_data(v) {}
  Value(double v) : m_data(v) {}
  Value(Currency v) : m_data(v) {}
  Value(DateTime v) : m_data(v) {}
  Value(std::string v) : m_data(std::move(v)) {}
  Value(std::string_view v) : m_data(std::string(v)) {}
  Value(const char* v) : m_data(std::string(v)) {}
  static Value Null() { return Value(NullValue{}); }

  ValueKind Kind() const { return static_cast<ValueKind>(m_data.index()); }
  bool IsEmpty() const { return Kind() == ValueKind::Empty; }
  bool IsNull() const { return Kind() == ValueKind::Null; }
  bool IsText() const { return Kind() == ValueKind::Text; }

  // Each accessor requires the matching kind.
  bool AsBoolean() const { return std::get<bool>(m_data); }
  std::int32_t AsInteger() const { return std::get<std::int32_t>(m_data); }
  std::int64_t AsInt64() const { return std::get<std::int64_t>(m_data); }
  double AsReal() const { return std::get<double>(m_data); }
  Currency AsCurrency() const { return std::get<Currency>(m_data); }
  DateTime AsDateTime() const { return std::get<DateTime>(m_data); }
  const std::string& AsText() const { return std::get<std::string>(m_data); }

  // Same kind and same content (0 and 0.0 differ here; see Compare for
  // equality as expressions mean it).
  friend bool operator==(const Value&, const Value&) = default;

 private:
  explicit Value(NullValue v) : m_data(v) {}

  // The order of the alternatives is the order of ValueKind.
  std::variant<std::monostate, NullValue, bool, std::int32_t, std::int64_t, double, Currency,
               DateTime, std::string>
      m_data;
};

// The name of a kind as error texts use it: "String", "Double", ...
std::string_view KindName(ValueKind kind);

}  // namespace report::expr
