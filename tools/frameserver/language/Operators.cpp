#include "language/Operators.h"

#include <climits>
#include <cmath>

#include "clips/EditClips.h"
#include "language/Functions.h"

namespace fsrv::script {
namespace {

[[noreturn]] void Mismatch(const std::string& op, const Value& a, const Value& b) {
    throw Error("\"" + op + "\" cannot combine " + DescribeType(a) + " and " + DescribeType(b));
}

Value IntArithmetic(const std::string& op, int a, int b) {
    int r = 0;
    bool overflow = false;
    if (op == "+") overflow = __builtin_add_overflow(a, b, &r);
    if (op == "-") overflow = __builtin_sub_overflow(a, b, &r);
    if (op == "*") overflow = __builtin_mul_overflow(a, b, &r);
    if (op == "/" || op == "%") {
        if (b == 0) throw Error("division by zero");
        overflow = b == -1 && a == INT_MIN;
        if (!overflow) r = op == "/" ? a / b : a % b;
    }
    if (overflow)
        throw Error("integer overflow in " + std::to_string(a) + " " + op + " " +
                    std::to_string(b));
    return Value(r);
}

Value FloatArithmetic(const std::string& op, double a, double b) {
    if (op == "+") return Value(a + b);
    if (op == "-") return Value(a - b);
    if (op == "*") return Value(a * b);
    if (b == 0) throw Error("division by zero");
    if (op == "/") return Value(a / b);
    return Value(std::fmod(a, b));
}

template <typename T>
bool Ordered(const std::string& op, const T& a, const T& b) {
    if (op == "==") return a == b;
    if (op == "!=" || op == "<>") return a != b;
    if (op == "<") return a < b;
    if (op == ">") return a > b;
    if (op == "<=") return a <= b;
    return a >= b;
}

bool IsComparison(const std::string& op) {
    return op == "==" || op == "!=" || op == "<>" || op == "<" || op == ">" || op == "<=" ||
           op == ">=";
}

Value Compare(const std::string& op, const Value& a, const Value& b) {
    if (a.IsInt() && b.IsInt()) return Value(Ordered(op, a.AsInt(), b.AsInt()));
    if (a.IsNumber() && b.IsNumber()) return Value(Ordered(op, a.AsFloat(), b.AsFloat()));
    if (a.IsString() && b.IsString()) return Value(Ordered(op, a.AsString(), b.AsString()));
    if (a.IsBool() && b.IsBool() && (op == "==" || op == "!=" || op == "<>"))
        return Value(Ordered(op, a.AsBool(), b.AsBool()));
    Mismatch(op, a, b);
}

}  // namespace

Value ApplyBinary(const std::string& op, const Value& a, const Value& b) {
    if (IsComparison(op)) return Compare(op, a, b);
    if (op == "+" || op == "++") {
        if (a.IsString() && b.IsString()) return Value(a.AsString() + b.AsString());
        if (a.IsClip() && b.IsClip()) return Value(SpliceClips(a.AsClip(), b.AsClip()));
        if (op == "++") Mismatch(op, a, b);
    }
    if (a.IsInt() && b.IsInt()) return IntArithmetic(op, a.AsInt(), b.AsInt());
    if (a.IsNumber() && b.IsNumber()) return FloatArithmetic(op, a.AsFloat(), b.AsFloat());
    Mismatch(op, a, b);
}

Value ApplyUnary(const std::string& op, const Value& a) {
    if (op == "!") {
        if (!a.IsBool()) throw Error("\"!\" needs true or false, not " + DescribeType(a));
        return Value(!a.AsBool());
    }
    if (!a.IsNumber()) throw Error("\"" + op + "\" needs a number, not " + DescribeType(a));
    if (op == "+") return a;
    if (a.IsFloat()) return Value(-a.AsFloat());
    if (a.AsInt() == INT_MIN)
        throw Error("integer overflow in -(" + std::to_string(a.AsInt()) + ")");
    return Value(-a.AsInt());
}

}  // namespace fsrv::script
