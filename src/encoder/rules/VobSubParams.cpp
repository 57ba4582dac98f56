#include "encoder/rules/VobSubParams.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

// The decimal number in `count` characters of `name` from `pos`; raises when they are not all
// digits (or run past the end).
int32_t NumberAt(const std::string& name, size_t pos, size_t count, const char* what) {
    if (pos + count > name.size() ||
        !std::all_of(name.begin() + long(pos), name.begin() + long(pos + count),
                     [](unsigned char c) { return std::isdigit(c); }))
        throw std::runtime_error("The VOB name " + name + " holds no " + what + " number.");
    return std::stoi(name.substr(pos, count));
}

}  // namespace

std::string IfoNameOf(const std::string& firstVob) {
    if (firstVob.size() <= 5) return {};
    return firstVob.substr(0, firstVob.size() - 5) + "0.ifo";
}

std::string PlainIfoNameOf(const std::string& firstVob) {
    if (firstVob.size() < 7) return {};
    return firstVob.substr(0, 7) + "0.ifo";
}

int32_t ProgramChainOf(const std::string& firstVob) {
    const size_t p = firstVob.find("PGC");
    return p == std::string::npos ? 1 : NumberAt(firstVob, p + 4, 2, "program chain");
}

int32_t AngleOf(const std::string& firstVob) {
    const size_t p = firstVob.find("ANGLE");
    return p == std::string::npos ? 0 : NumberAt(firstVob, p + 6, 1, "angle");
}

std::vector<std::string> VobSubParamLines(const std::string& ifoPath, const std::string& base,
                                          int32_t programChain, int32_t angle, int32_t stream1,
                                          int32_t stream2) {
    std::string streams = std::to_string(stream1);
    if (stream2 != -1) streams += " " + std::to_string(stream2);
    return {ifoPath,         base,   std::to_string(programChain), std::to_string(angle),
            streams + " cc", "CLOSE"};
}

void EditSubtitleIndex(std::vector<std::string>& lines, int32_t stream, bool forcedOnly) {
    const size_t header = std::min<size_t>(lines.size(), 200);
    for (size_t i = 0; i < header; ++i) {
        if (lines[i].find("langidx:") != std::string::npos)
            lines[i] = "langidx: " + std::to_string(stream);
        if (forcedOnly && lines[i].find("forced subs:") != std::string::npos)
            lines[i] = "forced subs: ON";
    }
}
