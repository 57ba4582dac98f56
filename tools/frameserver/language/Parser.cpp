#include "language/Parser.h"

#include "language/Names.h"
#include "language/ScriptError.h"
#include "language/Token.h"

namespace fsrv::script {
namespace {

using K = Token::Kind;

// Operator levels from the loosest binding to the tightest below the unary operators.
const std::vector<std::vector<std::string>> kChainLevels = {
    {"==", "!=", "<>", "<", ">", "<=", ">="},
    {"+", "-", "++"},
    {"*", "/", "%"},
};

class Parser {
  public:
    Parser(std::vector<Token> tokens, const std::string& file, bool allowFunctions)
        : t_(std::move(tokens)), file_(file), allowFunctions_(allowFunctions) {}

    Program Run() {
        Program program;
        program_ = &program;
        program.statements = ParseBlock(false);
        if (!Peek().Is(K::End, "")) Fail(Peek(), "\"}\" without a function it would close");
        return program;
    }

  private:
    [[noreturn]] void Fail(const Token& at, const std::string& what) const {
        throw ScriptError(file_, at.line, what);
    }
    const Token& Peek(size_t ahead = 0) const { return t_[std::min(pos_ + ahead, t_.size() - 1)]; }
    const Token& Next() {
        const Token& t = Peek();
        if (pos_ < t_.size() - 1) ++pos_;
        return t;
    }
    bool AcceptOp(const char* op) {
        if (!Peek().IsOp(op)) return false;
        Next();
        return true;
    }
    void ExpectOp(const char* op, const std::string& context) {
        if (!AcceptOp(op))
            Fail(Peek(),
                 "expected \"" + std::string(op) + "\" " + context + ", found " + Describe(Peek()));
    }
    static std::string Describe(const Token& t) {
        switch (t.kind) {
            case K::Newline:
                return "the end of the line";
            case K::End:
                return "the end of the script";
            case K::String:
                return "a string";
            case K::Int:
            case K::Float:
                return "the number " + t.text;
            default:
                return "\"" + t.text + "\"";
        }
    }
    bool IsKeyword(const Token& t, const char* word) const {
        return t.kind == K::Identifier && Lower(t.text) == word;
    }

    // Counts nesting so that no input recurses without bound.
    struct Nest {
        Nest(Parser& p, const Token& at) : p_(p) {
            if (++p_.depth_ > kMaxNesting)
                p_.Fail(at, "expression nested more than " + std::to_string(kMaxNesting) +
                                " levels deep");
        }
        ~Nest() { --p_.depth_; }
        Parser& p_;
    };

    // Statements up to the end of the script or, inside a function, up to its "}".
    Block ParseBlock(bool inFunction) {
        Block block;
        for (;;) {
            while (Peek().kind == K::Newline) Next();
            if (Peek().kind == K::End || Peek().IsOp("}")) return block;
            if (IsKeyword(Peek(), "function") && Peek(1).kind == K::Identifier) {
                if (inFunction || !allowFunctions_)
                    Fail(Peek(), "a function can only be defined at the top of the script");
                program_->functions.push_back(ParseFunction());
                continue;
            }
            block.push_back(ParseStatement());
            if (Peek().kind != K::Newline && Peek().kind != K::End && !Peek().IsOp("}"))
                Fail(Peek(), "expected the end of the line, found " + Describe(Peek()));
        }
    }

    Stmt ParseStatement() {
        Stmt s;
        s.line = Peek().line;
        if (IsKeyword(Peek(), "global")) {
            Next();
            if (Peek().kind != K::Identifier || !Peek(1).IsOp("="))
                Fail(Peek(), "\"global\" must be followed by name = value");
            s.kind = Stmt::Kind::GlobalAssign;
            s.name = Next().text;
            Next();
        } else if (IsKeyword(Peek(), "return")) {
            Next();
            s.kind = Stmt::Kind::Return;
        } else if (Peek().kind == K::Identifier && Peek(1).IsOp("=")) {
            s.kind = Stmt::Kind::Assign;
            s.name = Next().text;
            Next();
        }
        if (s.kind != Stmt::Kind::Expression && IsReserved(s.name))
            Fail(Peek(), "\"" + s.name + "\" is a reserved word and cannot be assigned");
        s.expr = ParseExpression();
        return s;
    }

    std::shared_ptr<const FunctionDef> ParseFunction() {
        auto def = std::make_shared<FunctionDef>();
        def->line = Next().line;
        def->name = Next().text;
        if (IsReserved(def->name)) Fail(Peek(), "\"" + def->name + "\" cannot name a function");
        ExpectOp("(", "after the function name");
        if (!Peek().IsOp(")")) {
            do def->params.push_back(ParseParam(*def));
            while (AcceptOp(","));
        }
        ExpectOp(")", "after the parameters");
        while (Peek().kind == K::Newline) Next();
        ExpectOp("{", "to open the function body");
        def->body = ParseBlock(true);
        ExpectOp("}", "to close the function " + def->name);
        return def;
    }

    // "type name", "type "name"" (optional), or a name alone (any type).
    Param ParseParam(const FunctionDef& def) {
        Param p;
        if (Peek().kind == K::Identifier &&
            (Peek(1).kind == K::Identifier || Peek(1).kind == K::String)) {
            const Token& type = Next();
            p.type = TypeLetter(Lower(type.text));
            if (!p.type) Fail(type, "unknown parameter type \"" + type.text + "\"");
        }
        const Token& name = Next();
        if (name.kind != K::Identifier && name.kind != K::String)
            Fail(name, "expected a parameter name, found " + Describe(name));
        p.optional = name.kind == K::String;
        p.name = name.text;
        for (const Param& other : def.params)
            if (Lower(other.name) == Lower(p.name))
                Fail(name, "the parameter " + p.name + " appears twice");
        return p;
    }

    ExprPtr ParseExpression() {
        Nest nest(*this, Peek());
        ExprPtr condition = ParseLogic(0);
        if (!Peek().IsOp("?")) return condition;
        auto e = NewExpr(Expr::Kind::Ternary, Next().line);
        e->operands.push_back(std::move(condition));
        e->operands.push_back(ParseExpression());
        ExpectOp(":", "in \"condition ? a : b\"");
        e->operands.push_back(ParseExpression());
        return e;
    }

    // level 0 "||", level 1 "&&", then the chains.
    ExprPtr ParseLogic(int level) {
        if (level == 2) return ParseChain(0);
        const char* op = level == 0 ? "||" : "&&";
        ExprPtr first = ParseLogic(level + 1);
        if (!Peek().IsOp(op)) return first;
        auto e = NewExpr(Expr::Kind::Logic, Peek().line);
        e->name = op;
        e->operands.push_back(std::move(first));
        while (AcceptOp(op)) e->operands.push_back(ParseLogic(level + 1));
        return e;
    }

    ExprPtr ParseChain(size_t level) {
        if (level == kChainLevels.size()) return ParseUnary();
        ExprPtr first = ParseChain(level + 1);
        auto isOp = [&] {
            for (const std::string& op : kChainLevels[level])
                if (Peek().IsOp(op.c_str())) return true;
            return false;
        };
        if (!isOp()) return first;
        auto e = NewExpr(Expr::Kind::Chain, Peek().line);
        e->operands.push_back(std::move(first));
        while (isOp()) {
            e->ops.push_back(Next().text);
            e->operands.push_back(ParseChain(level + 1));
        }
        return e;
    }

    ExprPtr ParseUnary() {
        if (Peek().IsOp("-") || Peek().IsOp("+") || Peek().IsOp("!")) {
            Nest nest(*this, Peek());
            auto e = NewExpr(Expr::Kind::Unary, Peek().line);
            e->name = Next().text;
            e->operands.push_back(ParseUnary());
            return e;
        }
        return ParsePostfix();
    }

    // primary { "." name [ "(" arguments ")" ] }
    ExprPtr ParsePostfix() {
        ExprPtr e = ParsePrimary();
        while (Peek().IsOp(".")) {
            Nest nest(*this, Peek());
            const int line = Next().line;
            if (Peek().kind != K::Identifier)
                Fail(Peek(), "expected a function name after \".\", found " + Describe(Peek()));
            auto call = NewExpr(Expr::Kind::Call, line);
            call->name = Next().text;
            call->method = true;
            call->operands.push_back(std::move(e));
            if (Peek().IsOp("(")) ParseArguments(*call);
            e = std::move(call);
        }
        return e;
    }

    ExprPtr ParsePrimary() {
        const Token& t = Peek();
        switch (t.kind) {
            case K::Int:
                return Literal(Next(), Value(t.intValue));
            case K::Float:
                return Literal(Next(), Value(t.floatValue));
            case K::String:
                return Literal(Next(), Value(t.text));
            case K::Identifier:
                return ParseName();
            default:
                break;
        }
        if (t.IsOp("(")) {
            Next();
            ExprPtr inner = ParseExpression();
            ExpectOp(")", "to close \"(\"");
            return inner;
        }
        Fail(t, "expected a value, found " + Describe(t));
    }

    ExprPtr ParseName() {
        const Token& t = Next();
        const std::string lower = Lower(t.text);
        if (lower == "true" || lower == "yes") return Literal(t, Value(true));
        if (lower == "false" || lower == "no") return Literal(t, Value(false));
        if (IsReserved(t.text)) Fail(t, "\"" + t.text + "\" cannot stand here");
        auto call = NewExpr(Expr::Kind::Call, t.line);
        call->name = t.text;
        if (Peek().IsOp("(")) ParseArguments(*call);
        return call;
    }

    // "(" [ [name "="] expression { "," [name "="] expression } ] ")"
    void ParseArguments(Expr& call) {
        Nest nest(*this, Peek());
        Next();
        call.parentheses = true;
        if (AcceptOp(")")) return;
        do {
            if (Peek().kind == K::Identifier && Peek(1).IsOp("=")) {
                std::string name = Next().text;
                Next();
                call.named.emplace_back(std::move(name), ParseExpression());
            } else {
                if (!call.named.empty())
                    Fail(Peek(), call.name + ": a named argument must follow the others");
                call.operands.push_back(ParseExpression());
            }
        } while (AcceptOp(","));
        ExpectOp(")", "after the arguments of " + call.name);
    }

    static ExprPtr NewExpr(Expr::Kind kind, int line) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->line = line;
        return e;
    }
    static ExprPtr Literal(const Token& t, Value v) {
        auto e = NewExpr(Expr::Kind::Literal, t.line);
        e->value = std::move(v);
        return e;
    }

    std::vector<Token> t_;
    size_t pos_ = 0;
    const std::string& file_;
    bool allowFunctions_;
    int depth_ = 0;
    Program* program_ = nullptr;
};

}  // namespace

Program Parse(const std::string& text, const std::string& file, int firstLine,
              bool allowFunctions) {
    return Parser(Tokenize(text, file, firstLine), file, allowFunctions).Run();
}

}  // namespace fsrv::script
