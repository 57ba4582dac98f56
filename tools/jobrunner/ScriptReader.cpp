#include "ScriptReader.h"

#include <cctype>
#include <limits>

namespace jobrunner {

namespace {

// A line longer than this is no statement the planner writes (its paths are cut at 1023 bytes).
constexpr size_t kMaxLineBytes = 64 * 1024;
constexpr size_t kMaxArguments = 16;
constexpr size_t kMaxNameParts = 8;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One line, read left to right; every fault throws with the line's place.
class LineParser {
  public:
    LineParser(const std::string& line, int number, const std::string& script)
        : text_(line), number_(number), script_(script) {}

    // False for a blank or comment-only line.
    bool Parse(Statement& out) {
        SkipBlanks();
        if (AtEnd()) return false;
        out.line = number_;
        ReadName(out);
        Expect('(', "\"(\" after the name " + out.name);
        ReadArguments(out);
        Expect(';', "\";\" at the end of the statement");
        SkipBlanks();
        if (!AtEnd()) Fail("only one statement per line; \"" + Rest() + "\" follows it");
        return true;
    }

  private:
    bool AtEnd() const { return pos_ >= text_.size() || text_.compare(pos_, 2, "//") == 0; }
    char At(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
    char Peek() const { return At(pos_); }
    std::string Rest() const { return text_.substr(pos_, 40); }
    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw JobError(Where(script_, number_) + ": " + what);
    }
    void Expect(char c, const std::string& what) {
        SkipBlanks();
        if (Peek() != c)
            Fail("expected " + what + (pos_ < text_.size() ? ", found \"" + Rest() + "\"" : ""));
        ++pos_;
    }

    std::string Identifier() {
        SkipBlanks();
        const size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_'))
            ++pos_;
        if (pos_ == start) Fail("expected a name, found \"" + Rest() + "\"");
        return text_.substr(start, pos_ - start);
    }

    void ReadName(Statement& out) {
        out.name = Identifier();
        if (out.name != "VirtualDub")
            Fail("a statement starts with \"VirtualDub.\", not \"" + out.name + "\"");
        for (size_t parts = 1;; ++parts) {
            SkipBlanks();
            if (Peek() == '[') {
                ++pos_;
                const int64_t index = Integer();
                if (index < 0 || index > std::numeric_limits<int32_t>::max())
                    Fail("the index " + std::to_string(index) + " of " + out.name +
                         " is out of range");
                out.indexes.push_back(index);
                out.name += "[]";
                Expect(']', "\"]\" after the index");
                SkipBlanks();
            }
            if (Peek() != '.') break;
            if (parts == kMaxNameParts) Fail("the name " + out.name + " has too many parts");
            ++pos_;
            out.name += "." + Identifier();
        }
    }

    void ReadArguments(Statement& out) {
        SkipBlanks();
        if (Peek() == ')') {
            ++pos_;
            return;
        }
        for (;;) {
            if (out.arguments.size() == kMaxArguments) Fail("too many arguments");
            SkipBlanks();
            if (Peek() == '"')
                out.arguments.emplace_back(String());
            else
                out.arguments.emplace_back(Integer());
            SkipBlanks();
            if (Peek() == ')') {
                ++pos_;
                return;
            }
            Expect(',', "\",\" or \")\" after an argument");
        }
    }

    int64_t Integer() {
        SkipBlanks();
        if (text_.compare(pos_, 2, "0x") == 0 || text_.compare(pos_, 2, "0X") == 0) return Hex();
        const bool negative = Peek() == '-';
        if (negative || Peek() == '+') ++pos_;
        if (!std::isdigit(static_cast<unsigned char>(Peek())))
            Fail("expected a number, found \"" + Rest() + "\"");
        int64_t value = 0;
        while (std::isdigit(static_cast<unsigned char>(Peek()))) {
            value = value * 10 + (text_[pos_++] - '0');
            if (value > std::numeric_limits<uint32_t>::max()) Fail("a number is too large");
        }
        return negative ? -value : value;
    }

    int64_t Hex() {
        pos_ += 2;
        int64_t value = 0;
        size_t digits = 0;
        for (int d; (d = HexValue(Peek())) >= 0; ++pos_, ++digits) {
            if (digits == 8) Fail("a hexadecimal number has more than eight digits");
            value = value * 16 + d;
        }
        if (digits == 0) Fail("\"0x\" without hexadecimal digits");
        return value;
    }

    std::string String() {
        ++pos_;  // the opening quote
        std::string value;
        for (;;) {
            if (pos_ >= text_.size()) Fail("a string is not closed on its line");
            const char c = text_[pos_++];
            if (c == '"') return value;
            if (static_cast<unsigned char>(c) < 0x20) Fail("a control character inside a string");
            if (c != '\\') {
                value += c;
                continue;
            }
            if (pos_ >= text_.size()) Fail("a string is not closed on its line");
            const char e = text_[pos_++];
            if (e == '\\' || e == '"') {
                value += e;
            } else if (e == 'x' && HexValue(At(pos_)) >= 0 && HexValue(At(pos_ + 1)) >= 0) {
                value += static_cast<char>(HexValue(At(pos_)) * 16 + HexValue(At(pos_ + 1)));
                pos_ += 2;
            } else {
                Fail("unknown escape \"\\" + std::string(1, e) +
                     "\" in a string (\\\\, \\\" and \\xNN are known)");
            }
        }
    }

    const std::string& text_;
    size_t pos_ = 0;
    int number_;
    const std::string& script_;
};

}  // namespace

std::string Where(const std::string& scriptName, int line) {
    return scriptName + ", line " + std::to_string(line);
}

std::vector<Statement> ReadJobScript(const std::string& text, const std::string& scriptName) {
    std::vector<Statement> statements;
    size_t start = 0;
    for (int number = 1; start < text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end - start > kMaxLineBytes)
            throw JobError(Where(scriptName, number) + ": the line is longer than " +
                           std::to_string(kMaxLineBytes) + " bytes");
        const std::string line = text.substr(start, end - start);
        Statement statement;
        if (LineParser(line, number, scriptName).Parse(statement))
            statements.push_back(std::move(statement));
        start = end + 1;
    }
    return statements;
}

}  // namespace jobrunner
