#include "ConfigureParams.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <stdexcept>

#include "platform/files.h"

namespace subtitles {
namespace {

constexpr size_t kLines = 6;
constexpr int kLargestStream = 31;
constexpr const char* kLineNames[kLines] = {"the IFO path",           "the output base name",
                                            "the program chain",      "the angle",
                                            "the subpicture streams", "CLOSE"};

std::runtime_error BadLine(const std::string& name, size_t line, const std::string& what) {
    return std::runtime_error(name + " line " + std::to_string(line + 1) + " (" + kLineNames[line] +
                              "): " + what);
}

int Number(const std::string& text, int least, int most, const std::string& name, size_t line) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least || value > most)
        throw BadLine(name, line,
                      "\"" + text + "\" is not a number from " + std::to_string(least) + " to " +
                          std::to_string(most));
    return value;
}

std::vector<int> Streams(const std::string& text, const std::string& name) {
    std::istringstream words(text);
    std::vector<int> streams;
    for (std::string word; words >> word;) {
        if (word == "cc") continue;  // the closed-caption flag: captions are not extracted
        const int stream = Number(word, 0, kLargestStream, name, 4);
        if (std::find(streams.begin(), streams.end(), stream) == streams.end())
            streams.push_back(stream);
    }
    if (streams.empty()) throw BadLine(name, 4, "no subpicture stream is listed");
    return streams;
}

}  // namespace

ConfigureParams ParseConfigureParams(const std::string& text, const std::string& name,
                                     std::vector<std::string>& warnings) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; lines.size() < kLines && std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    for (size_t i = 0; i < kLines; ++i)
        if (i >= lines.size() || lines[i].empty()) throw BadLine(name, i, "the line is missing");
    if (lines[5] != "CLOSE")
        warnings.push_back(name + " line 6 is \"" + lines[5] + "\", not CLOSE; it is ignored");
    ConfigureParams params;
    params.ifoPath = lines[0];
    params.base = lines[1];
    params.chain = Number(lines[2], 1, 65535, name, 2);
    params.angle = Number(lines[3], 0, 9, name, 3);
    params.streams = Streams(lines[4], name);
    return params;
}

ConfigureParams ReadConfigureParams(const std::string& path, std::vector<std::string>& warnings) {
    std::string text;
    if (platform::FileSize(path) > (1 << 20) || !platform::ReadFileText(path, text))
        throw std::runtime_error(path + ": the parameter file cannot be read");
    return ParseConfigureParams(text, path, warnings);
}

}  // namespace subtitles
