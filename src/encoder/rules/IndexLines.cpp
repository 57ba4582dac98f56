#include "encoder/rules/IndexLines.h"

#include <stdexcept>

#include "platform/locale.h"
#include "scripts/SourceType.h"
#include "util/rounding.h"
#include "util/utils.h"

namespace {

std::vector<std::string> Items(const std::string& line) {
    std::vector<std::string> items;
    if (line.empty())
        items.push_back("");
    else
        SplitText(line, " ", &items);
    return items;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

[[noreturn]] void Damaged(const std::string& path, const std::string& what) {
    throw std::runtime_error("The index file " + path + " is damaged: " + what + ".");
}

}  // namespace

double FilmPercentOf(const TIndexLines& lines, const std::string& path) {
    if (lines.empty()) Damaged(path, "it is empty");
    const std::vector<std::string> items = Items(lines.back());
    if (items.size() < 3) Damaged(path, "its last line has no FILM percentage");
    std::string text = Trimmed(items[2]);
    if (!text.empty()) text.pop_back();
    // The indexer writes its numbers with "." whatever the user's settings.
    const auto value = platform::ParseFloat(text, platform::ProgramFormat());
    if (!value) Damaged(path, "its FILM percentage \"" + items[2] + "\" is not a number");
    return *value;
}

bool SetFieldOperation(TIndexLines& lines, const std::string& fieldOperation,
                       const std::string& frameRate, const std::string& path) {
    for (size_t i = 0; i < 31; ++i) {
        if (i >= lines.size()) Damaged(path, "it ends before its field operation line");
        if (lines[i].find("Field_Operation") == std::string::npos) continue;
        lines[i] = fieldOperation;
        if (frameRate.empty()) return true;
        if (i + 1 >= lines.size()) Damaged(path, "its field operation line is the last line");
        lines[i + 1] = frameRate;
        return true;
    }
    return false;
}

int64_t CountIndexFrames(const TIndexLines& lines, const std::string& path) {
    size_t start = 0;
    int empties = 0;
    while (start < lines.size() && empties < 2)
        if (lines[start++].empty()) ++empties;
    if (empties < 2) Damaged(path, "it has fewer than two empty lines");
    int64_t frames = 0;
    // Entries run up to and including the third line from the end.
    for (size_t i = start; i + 2 < lines.size(); ++i)
        frames += static_cast<int64_t>(Items(lines[i]).size()) - 5;
    return frames - 1;
}

TFrameEstimate EstimateFrames(int64_t indexFrames, uint8_t sourceType, double filmPercent,
                              bool pal) {
    TFrameEstimate e;
    const double n = static_cast<double>(indexFrames);
    if (sourceType == stForcedFilm || sourceType == stFilm || sourceType == stHybridFilm) {
        e.FrameCount = indexFrames - RoundHalfEven((100 - filmPercent) / 100 * n * 0.2);
        e.MaxKeyInterval = 240;
    } else {
        e.FrameCount = indexFrames + RoundHalfEven(filmPercent / 100 * n * 0.25);
        e.MaxKeyInterval = 300;
    }
    if (pal) e.MaxKeyInterval = 250;
    return e;
}
