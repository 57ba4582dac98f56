#pragma once
// The evaluator: runs a parsed script against the function table and keeps what the script
// made (its variables, globals, loaded plugins and frame cache) for as long as its clips serve.
// It is the Host that plugins see.
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "clips/FrameCache.h"
#include "frameserver_plugin.h"
#include "language/Ast.h"
#include "language/Functions.h"
#include "platform/shared_library.h"

namespace fsrv::script {

// User function calls and FrameEvaluate runs nested deeper than this are a runaway recursion.
inline constexpr int kMaxCallDepth = 100;
inline constexpr size_t kDefaultCacheBytes = size_t(128) << 20;

class Interpreter final : public Host {
  public:
    // `scriptName`: the file name that error messages give.
    explicit Interpreter(std::string scriptName);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Parses and runs the script; returns its clip (the last clip-valued statement, or what a
    // top-level return gives). Throws ScriptError.
    ClipPtr Run(const std::string& text);

    // Host
    void AddFunction(const std::string& name, const std::string& signature,
                     Function function) override;
    int CurrentFrame() const override { return currentFrame_; }
    void DebugString(const std::string& text) override;

    const std::string& ScriptName() const { return scriptName_; }
    FrameCache& Cache() { return *cache_; }
    // The line of the call being evaluated, for functions that parse script text of their own.
    int CallLine() const { return callLine_; }
    // Keeps a loaded plugin for the life of the script.
    void KeepLibrary(std::unique_ptr<platform::SharedLibrary> library);
    bool HasLibrary(const std::string& path) const;

    // FrameEvaluate: statements parsed once (with this script's name and the given line), then
    // run for each frame with `last` the filtered clip and current_frame set. Variables
    // assigned without "global" last for that one run.
    std::shared_ptr<const Program> ParseRunTime(const std::string& text, int line) const;
    void RunAtFrame(const Program& program, int line, const ClipPtr& last, int frame);

  private:
    struct Scope {
        std::unordered_map<std::string, Value> vars;
        Scope* parent = nullptr;  // a user function sees only its own variables and the globals
    };
    struct Flow {
        bool returned = false;
        Value value;   // the return value, or the last expression statement's value
        int line = 0;  // of the last statement run
        bool lastWasExpression = false;
    };
    class DepthGuard;

    Flow RunBlock(const Block& block, Scope& scope);
    Value Eval(const Expr& e, Scope& scope);
    Value EvalCall(const Expr& e, Scope& scope);
    Value EvalChain(const Expr& e, Scope& scope);
    Value EvalLogic(const Expr& e, Scope& scope);
    Value CallUser(const FunctionDef& def, const Args& args, int line);
    Value CallRegistered(const Registered& f, const Args& args);
    std::optional<Value> Lookup(const std::string& lowerName, const Scope& scope) const;
    [[noreturn]] void Fail(int line, const std::string& what) const;

    // Declared first so that it goes last: the clips and functions below may hold plugin code.
    std::vector<std::unique_ptr<platform::SharedLibrary>> libraries_;
    std::string scriptName_;
    std::shared_ptr<FrameCache> cache_;
    FunctionTable table_;
    std::unordered_map<std::string, std::shared_ptr<const FunctionDef>> userFunctions_;
    std::vector<std::shared_ptr<const Program>> programs_;  // the trees user functions live in
    std::unordered_map<std::string, Value> globals_;
    Scope top_;
    int currentFrame_ = -1;
    int callLine_ = 0;
    int depth_ = 0;
};

}  // namespace fsrv::script
