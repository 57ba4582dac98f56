#include "Options.h"

#include <cctype>
#include <stdexcept>
#include <vector>

#include "platform/process.h"

namespace jobrunner {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A switch with a value attached ("/s<path>", the quotes already gone) or in the next word.
bool TakeValue(const std::vector<std::string>& words, size_t& i, const std::string& name,
               std::string& value) {
    const std::string word = Lower(words[i].substr(0, name.size()));
    if (word != name) return false;
    value = words[i].substr(name.size());
    if (value.empty()) {
        if (i + 1 >= words.size()) throw std::invalid_argument(name + " needs a file name");
        value = words[++i];
    }
    return true;
}

}  // namespace

Options ParseOptions(const std::string& commandLine) {
    const std::vector<std::string> words = platform::SplitCommandLine(commandLine);
    Options options;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string word = Lower(words[i]);
        if (word == "/x") continue;
        if (word == "/nowrite") {
            options.noWrite = true;
        } else if (word.rfind("/log", 0) == 0) {
            TakeValue(words, i, "/log", options.framesLog);
        } else if (word.rfind("/s", 0) == 0) {
            if (!options.jobScript.empty())
                throw std::invalid_argument("a second job script: " + words[i]);
            TakeValue(words, i, "/s", options.jobScript);
        } else {
            throw std::invalid_argument("unknown switch \"" + words[i] + "\"");
        }
    }
    if (options.jobScript.empty()) throw std::invalid_argument("no job script (/s\"JOB\")");
    return options;
}

}  // namespace jobrunner
