#include "platform/text_lines.h"

namespace platform {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Where the line starting at `start` ends: the position of its line end and that end's length.
std::pair<size_t, size_t> LineEndAt(const std::string& text, size_t start, LineBreaks breaks) {
    if (breaks == LineBreaks::CrOrLf) {
        const size_t at = text.find_first_of("\r\n", start);
        if (at == std::string::npos) return {text.size(), 0};
        const bool crLf = text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
        return {at, crLf ? 2 : 1};
    }
    const size_t lf = text.find('\n', start);
    const size_t stop = lf == std::string::npos ? text.size() : lf;
    const bool cr = stop > start && text[stop - 1] == '\r';
    const size_t length = (lf == std::string::npos ? 0 : 1) + (cr ? 1 : 0);
    return {cr ? stop - 1 : stop, length};
}

}  // namespace

std::vector<TextLine> SplitTextLines(const std::string& text, LineOptions options) {
    std::vector<TextLine> lines;
    size_t start = 0;
    if (options.skipByteOrderMark && text.compare(0, 3, kByteOrderMark) == 0) start = 3;
    while (start < text.size()) {
        const auto [end, length] = LineEndAt(text, start, options.breaks);
        lines.push_back({text.substr(start, end - start), text.substr(end, length)});
        start = end + length;
    }
    return lines;
}

std::vector<std::string> SplitLines(const std::string& text, LineOptions options) {
    std::vector<std::string> lines;
    for (TextLine& line : SplitTextLines(text, options)) lines.push_back(std::move(line.text));
    return lines;
}

}  // namespace platform
