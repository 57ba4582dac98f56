#pragma once
// Reading a job script into statements. A job script is one statement per line:
//
//   VirtualDub.stream[0].SetSource("D:\\out\\film T01 DELAY -40ms.ac3",0x00000203,0);
//
// a dotted name that starts with "VirtualDub", where a part may carry an index in brackets, then
// arguments in parentheses and a closing ";". Arguments are integers (decimal with an optional
// sign, or "0x" and up to eight hexadecimal digits) and strings in double quotes, in which "\\"
// is a backslash, "\"" a double quote and "\xNN" the byte NN. Blank lines and "//" comments are
// allowed. Nothing here knows what a statement means (JobStatements.h does).
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace jobrunner {

// A fault in a job script; the message names the script and the line.
class JobError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

using Argument = std::variant<int64_t, std::string>;

struct Statement {
    int line = 0;                  // from 1
    std::string name;              // "VirtualDub.stream[].SetSource": the indexes left out
    std::vector<int64_t> indexes;  // the bracketed indexes in order ({0} for stream[0])
    std::vector<Argument> arguments;
};

// The statements of `text`, in order. `scriptName` is only used in messages. Throws JobError at
// the first line that is not a well-formed statement.
std::vector<Statement> ReadJobScript(const std::string& text, const std::string& scriptName);

// "<script>, line <n>: <what>"
std::string Where(const std::string& scriptName, int line);

}  // namespace jobrunner
