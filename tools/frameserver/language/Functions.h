#pragma once
// The table of callable functions (built-ins and those plugins register) with their parameter
// signatures, and the binding of a call's arguments to a signature.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frameserver_plugin.h"

namespace fsrv::script {

struct ParamSpec {
    char type = '.';  // c i f b s .
    std::string name;
    bool optional = false;
};
using Signature = std::vector<ParamSpec>;

// "c[threshold]f[debug]b" -> its parameters. Throws Error for a malformed signature (an unknown
// letter, an unclosed bracket, a required parameter after an optional one).
Signature ParseSignature(const std::string& text);

struct Registered {
    std::string name;  // as registered, for messages
    Signature signature;
    Function function;
};

class FunctionTable {
  public:
    void Add(const std::string& name, const std::string& signature, Function function);
    const Registered* Find(const std::string& name) const;

  private:
    std::unordered_map<std::string, Registered> functions_;
};

using NamedValues = std::vector<std::pair<std::string, Value>>;

// Matches the arguments of a call to `name` against its signature: positional ones in order,
// then named ones; when the signature starts with a clip that the call leaves out, `last` is
// passed in its place. Integers given for float parameters become floats. Throws
// Error("name: what is wrong") for a missing, extra, unknown or mistyped argument.
Args BindArguments(const std::string& name, const Signature& signature, Args positional,
                   const NamedValues& named, const Value& last);

// "an integer", "a clip" ... of a value, for messages.
std::string DescribeType(const Value& value);

}  // namespace fsrv::script
