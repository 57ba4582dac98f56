#pragma once
// Builders for the analysis log and the index file of the decision tests.
#include <string>
#include <vector>

// One analysis log line per letter: C combed and moving, c combed only, M moving only, s static.
inline std::vector<std::string> Marks(const std::string& codes) {
    std::vector<std::string> lines;
    for (char c : codes)
        lines.push_back(c == 'C'   ? "true-true"
                        : c == 'c' ? "true-false"
                        : c == 'M' ? "false-true"
                                   : "false-false");
    return lines;
}

// An 18-line block: two static lead-in frames, three windows of five, one static frame.
inline std::string Block(const std::string& w1, const std::string& w2, const std::string& w3) {
    return "ss" + w1 + w2 + w3 + "s";
}

inline std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

// 40 blocks whose 600 window frames all move, the first `combed` of them combed.
inline std::string CombedShare(int combed) {
    std::string codes;
    int left = combed;
    for (int b = 0; b < 40; ++b) {
        std::string windows;
        for (int f = 0; f < 15; ++f) windows += left-- > 0 ? 'C' : 'M';
        codes += "ss" + windows + "s";
    }
    return codes;
}

inline std::string LogText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// An index file of `entryLines` entries of 5 + `perLine` items and the given last line.
inline std::string IndexText(int entryLines, int perLine, const std::string& lastLine) {
    std::string text =
        "DVD2AVIProjectFile\r\n1\r\n/dvd/VTS_01_1.VOB\r\n\r\nStream_Type=1\r\n"
        "iDCT_Algorithm=2\r\nYUVRGB_Scale=1\r\nField_Operation=0\r\nFrame_Rate=29970\r\n"
        "Location=0,0,0,1\r\n\r\n";
    for (int i = 0; i < entryLines; ++i) {
        text += "7 0 0 0 0";
        for (int j = 0; j < perLine; ++j) text += " 2";
        text += "\r\n";
    }
    return text + "\r\n" + lastLine + "\r\n";
}

// The smallest AVI file the interface reads: RIFF, "hdrl" list, main header of `width` x
// `height`, an empty "movi" list. `junk` puts an odd-sized chunk before the header list.
inline std::string Le32Bytes(uint32_t v) {
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                       char(v >> 24)};
}
inline std::string TinyAvi(uint32_t width, uint32_t height, bool junk = false) {
    std::string avih(56, '\0');
    avih.replace(32, 4, Le32Bytes(width));
    avih.replace(36, 4, Le32Bytes(height));
    const std::string hdrl =
        "LIST" + Le32Bytes(4 + 8 + 56) + "hdrl" + "avih" + Le32Bytes(56) + avih;
    const std::string lead = junk ? "JUNK" + Le32Bytes(3) + "abc" + '\0' : "";
    const std::string movi = "LIST" + Le32Bytes(4) + "movi";
    const std::string body = "AVI " + lead + hdrl + movi;
    return "RIFF" + Le32Bytes(uint32_t(body.size())) + body;
}

// A frames.log of one line per size, each behind a frame-type mark.
inline std::string FramesLog(const std::vector<int64_t>& sizes) {
    std::string text;
    for (size_t i = 0; i < sizes.size(); ++i)
        text += std::string(1, i % 15 == 0 ? 'K' : 'P') + std::to_string(sizes[i]) + "\r\n";
    return text;
}
