#pragma once

// The run-time error texts, shared by the value operations and the machine.
namespace report::expr {

inline constexpr const char* kFloatDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kFloatOverflow = "Floating point overflow";
inline constexpr const char* kIntegerDivisionByZero = "Division by zero";
inline constexpr const char* kIntegerOverflow = "Integer overflow";
inline constexpr const char* kInvalidVariantOperation = "Invalid variant operation";
inline constexpr const char* kTypeMismatch = "Type mismatch";

}  // namespace report::expr
