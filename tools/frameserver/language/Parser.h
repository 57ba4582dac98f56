#pragma once
// The recursive-descent parser: tokens to a Program. Syntax errors throw ScriptError with the
// script's file and the line; nesting deeper than kMaxNesting is refused, so no input can run
// the parser (or later the evaluator) out of stack.
#include <string>

#include "language/Ast.h"

namespace fsrv::script {

inline constexpr int kMaxNesting = 100;

// `allowFunctions`: whether "function" definitions may appear (not in FrameEvaluate strings).
Program Parse(const std::string& text, const std::string& file, int firstLine = 1,
              bool allowFunctions = true);

}  // namespace fsrv::script
