#include "Options.h"

#include <charconv>

namespace indexer {
namespace {

const NumericOption* FindNumeric(const std::string& name) {
    for (const NumericOption& option : kNumericOptions)
        if (name == option.name) return &option;
    return nullptr;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The next argument from `pos`: a quoted one without its quotes (\" stands for a quote), or a
// bare one up to the next blank, where a value in brackets runs to the "]" that ends an argument.
std::string NextArgument(const std::string& line, size_t& pos) {
    std::string arg;
    if (line[pos] == '"') {
        for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
            if (line[pos] == '\\' && pos + 1 < line.size() && line[pos + 1] == '"') ++pos;
            arg += line[pos];
        }
        if (pos < line.size()) ++pos;
        return arg;
    }
    const size_t open = line.find("=[", pos);
    const size_t blank = line.find_first_of(" \t", pos);
    if (open != std::string::npos && (blank == std::string::npos || open < blank)) {
        size_t close = line.find(']', open);
        while (close != std::string::npos && close + 1 < line.size() && line[close + 1] != ' ' &&
               line[close + 1] != '\t')
            close = line.find(']', close + 1);
        const size_t end = close == std::string::npos ? line.size() : close + 1;
        arg = line.substr(pos, end - pos);
        pos = end;
        return arg;
    }
    const size_t end = blank == std::string::npos ? line.size() : blank;
    arg = line.substr(pos, end - pos);
    pos = end;
    return arg;
}

std::vector<std::string> Arguments(const std::string& line) {
    std::vector<std::string> args;
    size_t pos = 0;
    for (;;) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (pos >= line.size()) return args;
        args.push_back(NextArgument(line, pos));
    }
}

std::string PathValue(const std::string& value) {
    if (value.size() >= 2 && value.front() == '[' && value.back() == ']')
        return value.substr(1, value.size() - 2);
    if (!value.empty() && value.front() == '[') return value.substr(1);  // unclosed bracket
    return value;
}

int NumberValue(const NumericOption& option, const std::string& value) {
    int number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || end != value.data() + value.size())
        throw UsageError(std::string("-") + option.name + "=" + value + " is not a whole number");
    if (number < option.minimum || number > option.maximum)
        throw UsageError(std::string("-") + option.name + "=" + value + " is outside " +
                         std::to_string(option.minimum) + ".." + std::to_string(option.maximum));
    return number;
}

}  // namespace

std::string Options::Recorded() const {
    std::string text;
    for (const NumericOption& option : kNumericOptions) {
        if (!text.empty()) text += ' ';
        text += std::string("-") + option.name + "=" + std::to_string(values.at(option.name));
    }
    return text;
}

Options ParseOptions(const std::string& commandLine, std::vector<std::string>& warnings) {
    Options options;
    for (const NumericOption& option : kNumericOptions)
        options.values[option.name] = option.defaultValue;
    const std::vector<std::string> args = Arguments(commandLine);
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.empty() || arg[0] != '-') {
            warnings.push_back("Ignored the argument \"" + arg + "\".");
            continue;
        }
        const size_t eq = arg.find('=');
        const std::string name =
            Upper(arg.substr(1, eq == std::string::npos ? std::string::npos : eq - 1));
        const std::string value = eq == std::string::npos ? "" : arg.substr(eq + 1);
        if (name == "AIF") {
            options.firstVob = PathValue(value);
        } else if (name == "OF") {
            options.outputBase = PathValue(value);
        } else if (name == "EXIT") {
            options.exitWhenDone = true;
        } else if (const NumericOption* option = FindNumeric(name)) {
            options.values[option->name] = NumberValue(*option, value);
        } else {
            warnings.push_back("Ignored the unknown option \"" + arg + "\".");
        }
    }
    if (options.firstVob.empty()) throw UsageError("No first VOB given (-AIF=[path]).");
    if (options.outputBase.empty()) throw UsageError("No output base given (-OF=[path]).");
    return options;
}

std::string UsageText() {
    std::string text =
        "usage: DVD2AVIdg.exe -AIF=[first VOB] -OF=[output base] [-NAME=value ...] [-Exit]\n"
        "  -AIF=[path]  the title's first VOB; VTS_xx_2.VOB and on follow it\n"
        "  -OF=[base]   writes <base>.d2v and the audio track as <base> T0n ... DELAY <d>ms.<ext>\n"
        "  -Exit        accepted; the program always ends when done\n";
    for (const NumericOption& option : kNumericOptions) {
        text += std::string("  -") + option.name + "=n" + std::string(option.name[2] ? 4 : 5, ' ') +
                option.meaning + " (default " + std::to_string(option.defaultValue) + ", " +
                std::to_string(option.minimum) + ".." + std::to_string(option.maximum) + ")\n";
    }
    return text;
}

}  // namespace indexer
