#include <cctype>
#include <charconv>
#include <climits>
#include <cstdio>

#include "language/ScriptError.h"
#include "language/Token.h"

namespace fsrv::script {
namespace {

// Longest first, so that "<=" is not read as "<" and "=".
const char* const kOperators[] = {"==", "!=", "<>", "<=", ">=", "&&", "||", "++", "+",
                                  "-",  "*",  "/",  "%",  "<",  ">",  "!",  "?",  ":",
                                  "(",  ")",  "{",  "}",  ",",  ".",  "="};

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || std::isdigit(static_cast<unsigned char>(c));
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

class Tokenizer {
  public:
    Tokenizer(const std::string& text, const std::string& file, int firstLine)
        : s_(text), file_(file), line_(firstLine) {}

    std::vector<Token> Run() {
        while (pos_ < s_.size()) Step();
        Push(Token::Kind::Newline, "");
        Push(Token::Kind::End, "");
        return std::move(tokens_);
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const { throw ScriptError(file_, line_, what); }

    char At(size_t i) const { return i < s_.size() ? s_[i] : '\0'; }

    void Push(Token::Kind kind, std::string text) {
        // Runs of line ends (blank and comment lines) are one statement end.
        if (kind == Token::Kind::Newline &&
            (tokens_.empty() || tokens_.back().kind == Token::Kind::Newline))
            return;
        Token t;
        t.kind = kind;
        t.text = std::move(text);
        t.line = line_;
        tokens_.push_back(std::move(t));
    }

    void Step() {
        const char c = s_[pos_];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++pos_;
        } else if (c == '\n') {
            NewLine();
        } else if (c == '#') {
            while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
        } else if (c == '/' && At(pos_ + 1) == '*') {
            BlockComment();
        } else if (c == '\\') {
            Continuation();
        } else if (c == '"') {
            String();
        } else if (IsDigit(c) || (c == '.' && IsDigit(At(pos_ + 1)))) {
            Number();
        } else if (c == '$') {
            Hex();
        } else if (IsIdentStart(c)) {
            const size_t start = pos_;
            while (pos_ < s_.size() && IsIdentChar(s_[pos_])) ++pos_;
            Push(Token::Kind::Identifier, s_.substr(start, pos_ - start));
        } else {
            Operator();
        }
    }

    // A line end; a backslash first on the next line joins that line to this one.
    void NewLine() {
        ++pos_;
        ++line_;
        size_t p = pos_;
        while (At(p) == ' ' || At(p) == '\t' || At(p) == '\r') ++p;
        if (At(p) == '\\') {
            pos_ = p + 1;
            return;
        }
        Push(Token::Kind::Newline, "");
    }

    // A backslash last on a line joins the next line to it.
    void Continuation() {
        size_t p = pos_ + 1;
        while (At(p) == ' ' || At(p) == '\t' || At(p) == '\r') ++p;
        if (At(p) != '\n' && p < s_.size()) Fail("a backslash may only end or start a line");
        pos_ = p + 1;
        if (p < s_.size()) ++line_;
    }

    void BlockComment() {
        const int startLine = line_;
        pos_ += 2;
        while (pos_ < s_.size() && !(s_[pos_] == '*' && At(pos_ + 1) == '/')) {
            if (s_[pos_] == '\n') ++line_;
            ++pos_;
        }
        if (pos_ >= s_.size())
            throw ScriptError(file_, startLine, "comment \"/*\" is never closed");
        pos_ += 2;
    }

    // "text" on one line, or """text""" which may hold double quotes and line ends. Strings have
    // no escapes: a path is written as it is.
    void String() {
        const int startLine = line_;
        const bool triple = At(pos_ + 1) == '"' && At(pos_ + 2) == '"';
        pos_ += triple ? 3 : 1;
        const size_t start = pos_;
        for (;; ++pos_) {
            if (pos_ >= s_.size() || (!triple && s_[pos_] == '\n'))
                throw ScriptError(file_, startLine, "string is never closed");
            if (triple && s_.compare(pos_, 3, "\"\"\"") == 0) break;
            if (!triple && s_[pos_] == '"') break;
            if (s_[pos_] == '\n') ++line_;
        }
        const std::string text = s_.substr(start, pos_ - start);
        pos_ += triple ? 3 : 1;
        const int endLine = line_;
        line_ = startLine;
        Push(Token::Kind::String, text);
        line_ = endLine;
    }

    void Number() {
        const size_t start = pos_;
        while (IsDigit(At(pos_))) ++pos_;
        bool isFloat = false;
        if (At(pos_) == '.' && IsDigit(At(pos_ + 1))) {
            isFloat = true;
            ++pos_;
            while (IsDigit(At(pos_))) ++pos_;
        }
        const std::string text = s_.substr(start, pos_ - start);
        Push(isFloat ? Token::Kind::Float : Token::Kind::Int, text);
        Token& t = tokens_.back();
        const char* first = text.data();
        const char* last = first + text.size();
        if (isFloat) {
            auto [end, ec] = std::from_chars(first, last, t.floatValue);
            if (ec != std::errc() || end != last) Fail("number " + text + " is out of range");
        } else {
            auto [end, ec] = std::from_chars(first, last, t.intValue);
            if (ec != std::errc() || end != last) Fail("number " + text + " is too large");
        }
    }

    // $FF8000: an integer written in hexadecimal, up to 32 bits.
    void Hex() {
        const size_t start = ++pos_;
        while (std::isxdigit(static_cast<unsigned char>(At(pos_)))) ++pos_;
        const std::string digits = s_.substr(start, pos_ - start);
        unsigned value = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
            Fail("\"$\" must be followed by a hexadecimal number of up to 8 digits");
        Push(Token::Kind::Int, "$" + digits);
        tokens_.back().intValue = static_cast<int>(value);
    }

    void Operator() {
        for (const char* op : kOperators) {
            const std::string o(op);
            if (s_.compare(pos_, o.size(), o) == 0) {
                pos_ += o.size();
                Push(Token::Kind::Operator, o);
                return;
            }
        }
        const unsigned char c = static_cast<unsigned char>(s_[pos_]);
        if (c >= 0x20 && c < 0x7f) Fail(std::string("unexpected character '") + char(c) + "'");
        char code[8];
        snprintf(code, sizeof code, "0x%02X", c);
        Fail(std::string("unexpected byte ") + code + " outside a string");
    }

    const std::string& s_;
    const std::string& file_;
    int line_;
    size_t pos_ = 0;
    std::vector<Token> tokens_;
};

}  // namespace

std::vector<Token> Tokenize(const std::string& text, const std::string& file, int firstLine) {
    return Tokenizer(text, file, firstLine).Run();
}

}  // namespace fsrv::script
