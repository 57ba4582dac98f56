#pragma once
// The operators on values. Integer arithmetic that would overflow, and division by zero, are
// errors, never wrapped or undefined results.
#include <string>

#include "frameserver_plugin.h"

namespace fsrv::script {

// + - * / % == != <> < > <= >= and ++; throws Error saying what the operands were.
Value ApplyBinary(const std::string& op, const Value& a, const Value& b);
// - + !
Value ApplyUnary(const std::string& op, const Value& a);

}  // namespace fsrv::script
