#pragma once
// The expression tree the parser builds and the evaluator walks. Every node keeps its line for
// error messages; the file name is the script's, kept by the evaluator.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "frameserver_plugin.h"

namespace fsrv::script {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    enum class Kind {
        Literal,  // value
        Call,     // name(operands..., named...); a bare name is a variable or a call without
                  // parentheses, decided when evaluated
        Unary,    // op operands[0]
        Chain,    // operands[0] ops[0] operands[1] ops[1] ... evaluated left to right
        Logic,    // && and || chains, evaluated only as far as needed
        Ternary,  // operands[0] ? operands[1] : operands[2]
    };
    Kind kind = Kind::Literal;
    int line = 0;
    Value value;
    std::string name;  // function or variable name, or the unary operator
    std::vector<ExprPtr> operands;
    std::vector<std::string> ops;
    std::vector<std::pair<std::string, ExprPtr>> named;
    bool parentheses = false;  // a call written with "(...)"
    bool method = false;       // a call written as operand.name: never a variable
};

struct Stmt {
    enum class Kind { Expression, Assign, GlobalAssign, Return };
    Kind kind = Kind::Expression;
    int line = 0;
    std::string name;  // the variable assigned
    ExprPtr expr;
};
using Block = std::vector<Stmt>;

struct Param {
    char type = '.';  // the signature letter: c i f b s .
    std::string name;
    bool optional = false;  // written as a quoted name: may be left out or given by name
};

struct FunctionDef {
    std::string name;
    int line = 0;
    std::vector<Param> params;
    Block body;
};

struct Program {
    Block statements;
    std::vector<std::shared_ptr<const FunctionDef>> functions;  // defined anywhere at top level
};

}  // namespace fsrv::script
