// The stack machine that runs compiled expressions.
#include "compiler_p.h"
#include "evaluator_p.h"
#include "program_p.h"
#include "report/expr/value_ops.h"
#include "value_ops_p.h"

namespace report::expr {

Value Evaluator::Run(const Program& program) {
  struct Restore {
    std::vector<Slot>& stack;
    std::size_t size;
    ~Restore() { stack.resize(size); }
  } const restore{m_stack, m_stack.size()};

  const FormatSettings& settings = m_scope.Settings();
  const auto value = [this](std::size_t fromTop) -> Value& {
    Slot& slot = m_stack[m_stack.size() - 1 - fromTop];
    if (slot.object != nullptr) throw Error(kTypeMismatch);
    return slot.value;
  };
  const auto push = [this](Value v) { m_stack.push_back(Slot{std::move(v), nullptr}); };

  const auto& code = program.code;
  for (std::size_t pc = 0; pc < code.size(); ++pc) {
    const Instruction& in = code[pc];
    switch (in.op) {
      case Op::PushConst:
        push(program.constants[in.a]);
        break;
      case Op::GetName: {
        const GetSite& site = program.gets[in.a];
        const NameSplit split{site.fieldReference, site.dataSetName, site.fieldName};
        push(GetSplit(site.name, split));
        break;
      }
      case Op::GetDynamic: {
        const std::string name = TextOf(value(0), settings);
        m_stack.pop_back();
        push(Get(name));
        break;
      }
      case Op::LoadScriptValue:
        push(m_scriptValue);
        break;
      case Op::LoadObject: {
        const std::string& name = program.names[in.a];
        ScriptObject* object = m_scope.FindObject(name);
        if (object == nullptr) throw Error("Unknown identifier '" + name + "'");
        m_stack.push_back(Slot{Value(), object});
        break;
      }
      case Op::Member: {
        std::vector<Value> args;
        args.reserve(in.b);
        for (std::uint32_t i = in.b; i > 0; --i) args.push_back(value(i - 1));
        const Slot target = m_stack[m_stack.size() - 1 - in.b];
        if (target.object == nullptr) throw Error(kTypeMismatch);
        const std::string& name = program.names[in.a];
        auto member = target.object->GetMember(name, args);
        if (!member) throw Error("Unknown identifier '" + name + "'");
        m_stack.resize(m_stack.size() - in.b - 1);
        if (auto* object = std::get_if<ScriptObject*>(&*member)) {
          m_stack.push_back(Slot{Value(), *object});
        } else {
          push(std::get<Value>(std::move(*member)));
        }
        break;
      }
      case Op::CallSet: {
        Value assigned = value(0);
        const std::string name = TextOf(value(1), settings);
        m_stack.resize(m_stack.size() - 2);
        m_scope.ReportVariables().Set(name, std::move(assigned));
        push(Value());
        break;
      }
      case Op::Macro:
        push(RunMacro(program.macros[in.a]));
        break;
      case Op::Negate:
        value(0) = Negate(value(0), settings);
        break;
      case Op::Not:
        value(0) = Not(value(0), settings);
        break;
      case Op::Binary: {
        Value result = Apply(static_cast<BinaryOp>(in.a), value(1), value(0), settings);
        m_stack.pop_back();
        value(0) = std::move(result);
        break;
      }
      case Op::Compare: {
        const bool holds = Compare(static_cast<Relation>(in.a), value(1), value(0), settings);
        m_stack.pop_back();
        value(0) = Value(holds);
        break;
      }
      case Op::InSet: {
        const std::vector<bool>& ranges = program.sets[in.a];
        std::size_t items = 0;
        for (const bool range : ranges) items += range ? 2 : 1;
        const Value& tested = value(items);
        bool member = false;
        std::size_t at = items;  // distance from the top of the next item
        for (const bool range : ranges) {
          if (range) {
            member = member || (Compare(Relation::GreaterEqual, tested, value(at - 1), settings) &&
                                Compare(Relation::LessEqual, tested, value(at - 2), settings));
            at -= 2;
          } else {
            member = member || Compare(Relation::Equal, tested, value(at - 1), settings);
            at -= 1;
          }
        }
        m_stack.resize(m_stack.size() - items);
        value(0) = Value(member);
        break;
      }
      case Op::Is: {
        Slot& top = m_stack.back();
        if (top.object == nullptr) throw Error(kTypeMismatch);
        const bool is = top.object->InheritsFrom(program.names[in.a]);
        top = Slot{Value(is), nullptr};
        break;
      }
      case Op::JumpIfFalse:
      case Op::JumpIfTrue: {
        const Value& top = value(0);
        const bool wanted = in.op == Op::JumpIfTrue;
        if (top.Kind() == ValueKind::Boolean && top.AsBoolean() == wanted) pc = in.a - 1;
        break;
      }
    }
  }
  return std::move(value(0));
}

Value Evaluator::RunMacro(const MacroSite& site) {
  if (site.kind == MacroKind::Aggregate) return m_scope.Aggregate(site.aggregate, *this);
  const Value condition = Calc(site.args[0]);
  return Calc(IsTrue(condition, m_scope.Settings()) ? site.args[1] : site.args[2]);
}

}  // namespace report::expr
