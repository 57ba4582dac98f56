#pragma once
// Cutting a text into lines: the one splitter behind every reader of line-based text (hives, INI
// profiles, the system's release file, the ripper's stream information, the tools' logs and index
// files), each asking for the line ends and the byte-order mark handling its files need.
#include <string>
#include <vector>

namespace platform {

enum class LineBreaks {
    // LF ends a line. A CR right before it, or at the very end of the text, belongs to the line
    // end, so that LF and CR LF files read alike; any other CR is part of its line.
    Lf,
    // CR, LF and CR LF each end a line, as texts saved on any system may have them.
    CrOrLf,
};

struct LineOptions {
    LineBreaks breaks = LineBreaks::Lf;
    // A UTF-8 byte-order mark at the start of the text is no part of its first line.
    bool skipByteOrderMark = false;
};

struct TextLine {
    std::string text;  // without its line end
    std::string end;   // "\n", "\r\n", "\r", or empty for a last line without one
};

// The lines of `text` in order. A last line without a line end counts; an empty text has no
// lines, and a line end at the end of the text starts no further line.
std::vector<TextLine> SplitTextLines(const std::string& text, LineOptions options = {});
// The same without the line ends.
std::vector<std::string> SplitLines(const std::string& text, LineOptions options = {});

}  // namespace platform
