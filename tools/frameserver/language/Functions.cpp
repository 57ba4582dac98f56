#include "language/Functions.h"

#include <algorithm>

#include "language/Names.h"

namespace fsrv::script {
namespace {

bool Fits(char type, const Value& v) {
    switch (type) {
        case 'c':
            return v.IsClip();
        case 'i':
            return v.IsInt();
        case 'f':
            return v.IsNumber();
        case 'b':
            return v.IsBool();
        case 's':
            return v.IsString();
        default:
            return true;
    }
}

std::string ParamWord(const Signature& signature, size_t i) {
    return signature[i].name.empty() ? "argument " + std::to_string(i + 1) : signature[i].name;
}

// Puts `last` in front when the signature starts with a clip the call leaves out.
void AddImplicitLast(const std::string& name, const Signature& signature, Args& positional,
                     const Value& last) {
    if (signature.empty() || signature[0].type != 'c' || signature[0].optional) return;
    const bool leftOut =
        positional.empty() || (!positional[0].IsClip() && positional.size() < signature.size());
    if (!leftOut) return;
    if (!last.IsClip()) throw Error(name + ": needs a clip, and there is no last clip");
    positional.insert(positional.begin(), last);
}

}  // namespace

Signature ParseSignature(const std::string& text) {
    Signature signature;
    for (size_t i = 0; i < text.size(); ++i) {
        ParamSpec p;
        if (text[i] == '[') {
            const size_t close = text.find(']', i);
            if (close == std::string::npos || close == i + 1)
                throw Error("signature \"" + text + "\": \"[\" without a name and \"]\"");
            p.name = text.substr(i + 1, close - i - 1);
            p.optional = true;
            i = close + 1;
        } else if (!signature.empty() && signature.back().optional) {
            throw Error("signature \"" + text + "\": a required parameter after an optional one");
        }
        if (i >= text.size() || std::string("cifbs.").find(text[i]) == std::string::npos)
            throw Error("signature \"" + text + "\": unknown parameter type at position " +
                        std::to_string(i + 1));
        p.type = text[i];
        signature.push_back(std::move(p));
    }
    return signature;
}

void FunctionTable::Add(const std::string& name, const std::string& signature, Function function) {
    if (name.empty() || IsReserved(name)) throw Error("\"" + name + "\" cannot name a function");
    functions_[Lower(name)] = Registered{name, ParseSignature(signature), std::move(function)};
}

const Registered* FunctionTable::Find(const std::string& name) const {
    const auto it = functions_.find(Lower(name));
    return it == functions_.end() ? nullptr : &it->second;
}

Args BindArguments(const std::string& name, const Signature& signature, Args positional,
                   const NamedValues& named, const Value& last) {
    AddImplicitLast(name, signature, positional, last);
    if (positional.size() > signature.size())
        throw Error(name + ": too many arguments (it takes " + std::to_string(signature.size()) +
                    ")");
    std::vector<bool> given(signature.size(), false);
    std::fill_n(given.begin(), positional.size(), true);
    Args args = std::move(positional);
    args.resize(signature.size());
    for (const auto& [argName, value] : named) {
        size_t i = 0;
        while (i < signature.size() &&
               !(signature[i].optional && Lower(signature[i].name) == Lower(argName)))
            ++i;
        if (i == signature.size()) throw Error(name + ": has no parameter called " + argName);
        if (given[i]) throw Error(name + ": " + argName + " is given twice");
        args[i] = value;
        given[i] = true;
    }
    for (size_t i = 0; i < signature.size(); ++i) {
        const ParamSpec& p = signature[i];
        if (!args[i].Defined()) {
            // Only a parameter of any type takes an undefined value (Defined(x), Default(x, 1)).
            if (!p.optional && !(given[i] && p.type == '.'))
                throw Error(name + ": " + ParamWord(signature, i) + " (" + TypeWord(p.type) +
                            ") is missing");
            continue;
        }
        if (!Fits(p.type, args[i]))
            throw Error(name + ": " + ParamWord(signature, i) + " must be " + TypeWord(p.type) +
                        ", not " + DescribeType(args[i]));
        if (p.type == 'f') args[i] = Value(args[i].AsFloat());
    }
    return args;
}

std::string DescribeType(const Value& value) {
    switch (value.GetType()) {
        case Value::Type::Int:
            return "an integer";
        case Value::Type::Float:
            return "a float";
        case Value::Type::Bool:
            return "true or false";
        case Value::Type::String:
            return "a string";
        case Value::Type::Clip:
            return "a clip";
        default:
            return "nothing";
    }
}

}  // namespace fsrv::script
