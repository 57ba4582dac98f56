#include "language/Interpreter.h"

#include <new>

#include "builtins/Builtins.h"
#include "language/Names.h"
#include "language/Operators.h"
#include "language/Parser.h"
#include "language/ScriptError.h"
#include "platform/debug_channel.h"

namespace fsrv::script {

// Counts nested user-function calls and FrameEvaluate runs; a script that calls itself without
// end gets an error instead of running out of stack.
class Interpreter::DepthGuard {
  public:
    DepthGuard(Interpreter& in, int line) : in_(in) {
        if (++in_.depth_ > kMaxCallDepth) {
            --in_.depth_;
            in_.Fail(line, "calls nested more than " + std::to_string(kMaxCallDepth) +
                               " deep: a function or FrameEvaluate calls itself without end");
        }
    }
    ~DepthGuard() { --in_.depth_; }

  private:
    Interpreter& in_;
};

namespace {

// Runs `f`; an error without a place gets the script's file and `line`.
template <typename F>
auto Located(const std::string& file, int line, F&& f) {
    try {
        return f();
    } catch (const ScriptError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw ScriptError(file, line, "out of memory");
    } catch (const std::exception& e) {
        throw ScriptError(file, line, e.what());
    }
}

bool IsArgument(const ClipPtr& clip, const Args& args) {
    for (const Value& v : args)
        if (v.AsClip() == clip) return true;
    return false;
}

Signature UserSignature(const FunctionDef& def) {
    Signature signature;
    for (const Param& p : def.params) signature.push_back(ParamSpec{p.type, p.name, p.optional});
    return signature;
}

}  // namespace

Interpreter::Interpreter(std::string scriptName)
    : scriptName_(std::move(scriptName)), cache_(std::make_shared<FrameCache>(kDefaultCacheBytes)) {
    RegisterBuiltins(*this);
}

Interpreter::~Interpreter() = default;

void Interpreter::Fail(int line, const std::string& what) const {
    throw ScriptError(scriptName_, line, what);
}

ClipPtr Interpreter::Run(const std::string& text) {
    auto program = std::make_shared<const Program>(Parse(text, scriptName_));
    programs_.push_back(program);
    for (const auto& def : program->functions) userFunctions_[Lower(def->name)] = def;
    const Flow flow = RunBlock(program->statements, top_);
    if (flow.returned || flow.lastWasExpression) {
        if (flow.value.IsClip()) return flow.value.AsClip();
        Fail(flow.line, "the script ends in " + DescribeType(flow.value) + ", not a clip");
    }
    const std::optional<Value> last = Lookup("last", top_);
    if (last && last->IsClip()) return last->AsClip();
    Fail(flow.line, "the script makes no clip");
}

Interpreter::Flow Interpreter::RunBlock(const Block& block, Scope& scope) {
    Flow flow;
    for (const Stmt& s : block) {
        flow.line = s.line;
        Value v = Eval(*s.expr, scope);
        flow.lastWasExpression = s.kind == Stmt::Kind::Expression;
        switch (s.kind) {
            case Stmt::Kind::Return:
                flow.returned = true;
                flow.value = std::move(v);
                return flow;
            case Stmt::Kind::Assign:
                scope.vars[Lower(s.name)] = std::move(v);
                break;
            case Stmt::Kind::GlobalAssign:
                globals_[Lower(s.name)] = std::move(v);
                break;
            case Stmt::Kind::Expression:
                if (v.IsClip()) scope.vars["last"] = v;
                flow.value = std::move(v);
                break;
        }
    }
    return flow;
}

std::optional<Value> Interpreter::Lookup(const std::string& lowerName, const Scope& scope) const {
    for (const Scope* s = &scope; s; s = s->parent) {
        const auto it = s->vars.find(lowerName);
        if (it != s->vars.end()) return it->second;
    }
    const auto it = globals_.find(lowerName);
    if (it != globals_.end()) return it->second;
    if (lowerName == "current_frame" && currentFrame_ >= 0) return Value(currentFrame_);
    return std::nullopt;
}

Value Interpreter::Eval(const Expr& e, Scope& scope) {
    switch (e.kind) {
        case Expr::Kind::Literal:
            return e.value;
        case Expr::Kind::Call:
            return EvalCall(e, scope);
        case Expr::Kind::Unary: {
            const Value v = Eval(*e.operands[0], scope);
            return Located(scriptName_, e.line, [&] { return ApplyUnary(e.name, v); });
        }
        case Expr::Kind::Chain:
            return EvalChain(e, scope);
        case Expr::Kind::Logic:
            return EvalLogic(e, scope);
        case Expr::Kind::Ternary: {
            const Value condition = Eval(*e.operands[0], scope);
            if (!condition.IsBool())
                Fail(e.line, "the condition before \"?\" must be true or false, not " +
                                 DescribeType(condition));
            return Eval(*e.operands[condition.AsBool() ? 1 : 2], scope);
        }
    }
    Fail(e.line, "unknown expression");
}

Value Interpreter::EvalChain(const Expr& e, Scope& scope) {
    Value acc = Eval(*e.operands[0], scope);
    for (size_t i = 0; i < e.ops.size(); ++i) {
        const Value rhs = Eval(*e.operands[i + 1], scope);
        acc = Located(scriptName_, e.line, [&] { return ApplyBinary(e.ops[i], acc, rhs); });
    }
    return acc;
}

Value Interpreter::EvalLogic(const Expr& e, Scope& scope) {
    const bool isAnd = e.name == "&&";
    for (const ExprPtr& operand : e.operands) {
        const Value v = Eval(*operand, scope);
        if (!v.IsBool())
            Fail(e.line, "\"" + e.name + "\" needs true or false, not " + DescribeType(v));
        if (v.AsBool() != isAnd) return Value(!isAnd);
    }
    return Value(isAnd);
}

Value Interpreter::EvalCall(const Expr& e, Scope& scope) {
    const std::string lower = Lower(e.name);
    const bool bare = !e.parentheses && !e.method;
    if (bare) {
        if (std::optional<Value> v = Lookup(lower, scope)) return *v;
    }
    Args positional;
    for (const ExprPtr& operand : e.operands) positional.push_back(Eval(*operand, scope));
    NamedValues named;
    for (const auto& [name, expr] : e.named) named.emplace_back(name, Eval(*expr, scope));
    const Value last = Lookup("last", scope).value_or(Value());

    const auto user = userFunctions_.find(lower);
    if (user != userFunctions_.end()) {
        const FunctionDef& def = *user->second;
        const Args args = Located(scriptName_, e.line, [&] {
            return BindArguments(def.name, UserSignature(def), std::move(positional), named, last);
        });
        return CallUser(def, args, e.line);
    }
    const Registered* f = table_.Find(e.name);
    if (!f) {
        if (bare) Fail(e.line, "\"" + e.name + "\" is neither a variable nor a function");
        Fail(e.line, "there is no function named " + e.name + " (is its plugin loaded?)");
    }
    // Kept for the call (FrameEvaluate parses its text as being on this line), also when the
    // call throws.
    struct LineScope {
        int& line;
        int saved;
        ~LineScope() { line = saved; }
    } lineScope{callLine_, callLine_};
    callLine_ = e.line;
    return Located(scriptName_, e.line, [&] {
        return CallRegistered(
            *f, BindArguments(f->name, f->signature, std::move(positional), named, last));
    });
}

Value Interpreter::CallRegistered(const Registered& f, const Args& args) {
    Value result = f.function(args, *this);
    // A filter's new clip gets a cache; a function that hands back its input adds nothing.
    if (result.IsClip() && result.AsClip() && !IsArgument(result.AsClip(), args))
        return Value(CachedClip(result.AsClip(), cache_));
    if (result.IsClip() && !result.AsClip()) throw Error(f.name + ": returned no clip");
    return result;
}

Value Interpreter::CallUser(const FunctionDef& def, const Args& args, int line) {
    DepthGuard guard(*this, line);
    Scope scope;
    // An optional parameter left out is there, undefined, for Defined() and Default().
    for (size_t i = 0; i < def.params.size(); ++i) scope.vars[Lower(def.params[i].name)] = args[i];
    const Flow flow = RunBlock(def.body, scope);
    return flow.returned || flow.lastWasExpression ? flow.value : Value();
}

std::shared_ptr<const Program> Interpreter::ParseRunTime(const std::string& text, int line) const {
    return std::make_shared<const Program>(Parse(text, scriptName_, line, false));
}

void Interpreter::RunAtFrame(const Program& program, int line, const ClipPtr& last, int frame) {
    DepthGuard guard(*this, line);
    const int savedFrame = currentFrame_;
    currentFrame_ = frame;
    Scope scope;
    scope.parent = &top_;
    scope.vars["last"] = Value(last);
    try {
        RunBlock(program.statements, scope);
    } catch (...) {
        currentFrame_ = savedFrame;
        throw;
    }
    currentFrame_ = savedFrame;
}

void Interpreter::AddFunction(const std::string& name, const std::string& signature,
                              Function function) {
    table_.Add(name, signature, std::move(function));
}

void Interpreter::DebugString(const std::string& text) {
    platform::OutputDebugString(text);
}

void Interpreter::KeepLibrary(std::unique_ptr<platform::SharedLibrary> library) {
    libraries_.push_back(std::move(library));
}

bool Interpreter::HasLibrary(const std::string& path) const {
    for (const auto& library : libraries_)
        if (library->Path() == path) return true;
    return false;
}

}  // namespace fsrv::script
