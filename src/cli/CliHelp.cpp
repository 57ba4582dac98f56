#include <string>

#include "cli/CliOptions.h"

namespace {

constexpr const char* kUsage =
    "Usage: movrex-cli --list-tracks DIR\n"
    "       movrex-cli [OPTION]... --input DIR --output FILE [OPTION]... [--input ...]\n"
    "\n"
    "Converts ripped DVD titles into AVI files without a window, by the same rules as the\n"
    "window program: each --input starts a job, the options after it belong to that job,\n"
    "and options before the first --input apply to every job. The jobs run one after another\n"
    "in the order given. Run it from the installation folder (the tools are found below the\n"
    "working directory). Log lines go to standard output, messages to standard error.\n"
    "\n"
    "Without --audio the first audio track is taken, without --subs no subtitles, and without\n"
    "a size \"2 CDs (1400 Mb)\". Track numbers count from 1 as --list-tracks shows them.\n"
    "The advanced options (--codec to --external-subs) start from those last kept by the\n"
    "window program in movrex.ini; the defaults below are those without it.\n"
    "\n"
    "Options:\n";

constexpr const char* kExitStatus =
    "\n"
    "Predefined sizes for --preset:\n"
    "%PRESETS%"
    "\n"
    "Ctrl+C aborts the running job, as \"Abort\" does in the window; the remaining jobs are\n"
    "not run.\n"
    "\n"
    "Exit status: 0 when every job finished without an error; 1 when a job failed or was\n"
    "aborted, the start-up check failed, or another copy of Movrex runs; 2 when the command\n"
    "line or a choice was refused (nothing was run).\n";

std::string Limits(const TOptionDef& def) {
    if (def.Kind != TOptionKind::Number) return "";
    std::string text = std::to_string(def.Min) + " to " + std::to_string(def.Max);
    if (def.Step > 1) text += " in steps of " + std::to_string(def.Step);
    return text;
}

// The words of `text` in lines of at most 80 columns, each indented by six blanks.
std::string Wrapped(const std::string& text) {
    const std::string indent(6, ' ');
    std::string out;
    std::string line = indent;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (line.size() > indent.size() && line.size() + 1 + word.size() > 80) {
            out += line + "\n";
            line = indent;
        }
        line += (line.size() > indent.size() ? " " : "") + word;
        start = end + 1;
    }
    return out + line + "\n";
}

std::string OptionLine(const TOptionDef& def) {
    std::string head = std::string("  ") + def.Name;
    if (def.Value) head += std::string(" ") + def.Value;
    std::string text = def.Help;
    std::string notes = Limits(def);
    if (def.Default) notes += (notes.empty() ? "" : "; ") + std::string("default ") + def.Default;
    if (!notes.empty()) text += " (" + notes + ")";
    return head + "\n" + Wrapped(text);
}

}  // namespace

std::string CliHelpText() {
    std::string text = kUsage;
    for (const TOptionDef& def : CliOptionTable()) text += OptionLine(def);
    std::string presets;
    for (const TPredefinedSize& size : kPredefinedSizes)
        presets += std::string("  \"") + size.Text + "\"\n";
    std::string tail = kExitStatus;
    tail.replace(tail.find("%PRESETS%"), 9, presets);
    return text + tail;
}
