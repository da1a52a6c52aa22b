#pragma once

// A report in miniature for the expression tests and the benchmark: datasets
// as tables in memory, variables, system values and objects set by the test.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "report/expr/evaluator.h"
#include "report/expr/same_text.h"
#include "report/expr/scope.h"
#include "report/expr/value_ops.h"
#include "test_settings.h"

namespace report::expr::testing {

class FakeDataSet : public FieldSource {
 public:
  struct Field {
    std::string name;
    FieldType type = FieldType::fftNumeric;
    bool blob = false;
  };

  FakeDataSet(std::string userName, std::vector<Field> fields)
      : m_userName(std::move(userName)), m_fields(std::move(fields)) {}

  void AddRow(std::vector<Value> row) { m_rows.push_back(std::move(row)); }
  void SetRow(std::size_t row) { m_row = row; }
  std::size_t RowCount() const { return m_rows.size(); }

  std::string_view UserName() const override { return m_userName; }

  std::optional<Value> FieldValue(std::string_view field) override {
    const int i = IndexOf(field);
    if (i < 0) return std::nullopt;
    if (m_row >= m_rows.size()) return Value::Null();
    return m_rows[m_row][static_cast<std::size_t>(i)];
  }

  std::optional<std::string> FieldDisplayText(std::string_view field) override {
    auto value = FieldValue(field);
    if (!value) return std::nullopt;
    return TextOf(*value, m_displaySettings);
  }

  FieldType FieldKind(std::string_view field) override {
    const int i = IndexOf(field);
    return i < 0 ? FieldType::fftNumeric : m_fields[static_cast<std::size_t>(i)].type;
  }

  bool IsBlobField(std::string_view field) override {
    const int i = IndexOf(field);
    return i >= 0 && m_fields[static_cast<std::size_t>(i)].blob;
  }

 private:
  int IndexOf(std::string_view field) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
      if (SameText(m_fields[i].name, field)) return static_cast<int>(i);
    }
    return -1;
  }

  std::string m_userName;
  std::vector<Field> m_fields;
  std::vector<std::vector<Value>> m_rows;
  std::size_t m_row = 0;
  FormatSettings m_displaySettings = Italian();
};

class FakeObject : public ScriptObject {
 public:
  explicit FakeObject(std::vector<std::string> classes) : m_classes(std::move(classes)) {}

  std::map<std::string, Member> members;

  bool InheritsFrom(std::string_view className) const override {
    for (const auto& c : m_classes) {
      if (SameText(c, className)) return true;
    }
    return false;
  }

  std::optional<Member> GetMember(std::string_view name, std::span<const Value> args) override {
    if (name == "Add" && args.size() == 2) {  // a method with arguments
      return Member(Apply(BinaryOp::Add, args[0], args[1], FormatSettings{}));
    }
    for (const auto& [member, value] : members) {
      if (SameText(member, name)) return value;
    }
    return std::nullopt;
  }

 private:
  std::vector<std::string> m_classes;
};

class FakeScope : public Scope {
 public:
  std::vector<FieldSource*> dataSets;
  Variables variables;
  Variables globals;
  ErrorList errors;
  FormatSettings settings = Italian();
  std::string currentObject;
  bool convertNulls = true;
  std::map<SystemVariable, Value> system;
  std::vector<std::pair<std::string, ScriptObject*>> objects;
  std::function<Value(const AggregateCall&, Evaluator&)> aggregate;
  std::vector<AggregateCall> aggregateCalls;

  FieldSource* FindDataSet(std::string_view userName) override {
    for (FieldSource* d : dataSets) {
      if (SameText(d->UserName(), userName)) return d;
    }
    return nullptr;
  }
  Value SystemValue(SystemVariable variable) override {
    const auto it = system.find(variable);
    return it == system.end() ? Value() : it->second;
  }
  Variables& ReportVariables() override { return variables; }
  const Variables& GlobalVariables() override { return globals; }
  ScriptObject* FindObject(std::string_view name) override {
    for (const auto& [n, object] : objects) {
      if (SameText(n, name)) return object;
    }
    return nullptr;
  }
  Value Aggregate(const AggregateCall& call, Evaluator& evaluator) override {
    aggregateCalls.push_back(call);
    if (!aggregate) throw Error("no aggregates here");
    return aggregate(call, evaluator);
  }
  std::string_view CurrentObjectName() const override { return currentObject; }
  ErrorList& Errors() override { return errors; }
  const FormatSettings& Settings() const override { return settings; }
  bool ConvertNulls() const override { return convertNulls; }
};

}  // namespace report::expr::testing
