#pragma once
// The tokenizer: script text to a list of tokens with their line numbers. Line ends are tokens
// (they end statements); a backslash at the end of a line or at the start of the next joins the
// two lines; "#" starts a comment to the end of the line, "/*" one to "*/".
#include <string>
#include <vector>

namespace fsrv::script {

struct Token {
    enum class Kind { Identifier, Int, Float, String, Operator, Newline, End };
    Kind kind = Kind::End;
    std::string text;  // identifier, string contents or operator
    int intValue = 0;
    double floatValue = 0;
    int line = 1;

    bool Is(Kind k, const char* t) const { return kind == k && text == t; }
    bool IsOp(const char* t) const { return Is(Kind::Operator, t); }
};

// Throws ScriptError naming `file` and the line for a character or literal it cannot read.
// `firstLine` is the line the text starts on (a FrameEvaluate string starts on its call's line).
std::vector<Token> Tokenize(const std::string& text, const std::string& file, int firstLine = 1);

}  // namespace fsrv::script
