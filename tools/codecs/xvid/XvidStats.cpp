#include "xvid/XvidStats.h"

#include <cstdio>
#include <cstring>

#include "common/PassFiles.h"

namespace mxcodec {

namespace {

constexpr char kWhat[] = "statistics file";
constexpr char kHeader[] = "# XviD 2pass stat file";

bool FrameLine(const std::string& line, std::vector<XvidStatFrame>& frames) {
    char type = 0;
    int quant = 0, intra = 0, inter = 0, skipped = 0, length = 0, header = 0, used = 0;
    if (std::sscanf(line.c_str(), "%c %d %d %d %d %d %d%n", &type, &quant, &intra, &inter, &skipped,
                    &length, &header, &used) != 7) {
        return false;
    }
    if (line.find_first_not_of(" \t\r", size_t(used)) != std::string::npos) return false;
    if (!std::strchr("ipbsIPBS", type) || type == 0) return false;
    if (quant < 1 || quant > 31 || intra < 0 || inter < 0 || skipped < 0) return false;
    if (length < 0 || header < 0) return false;
    frames.push_back({char(type | 0x20), length});
    return true;
}

}  // namespace

std::vector<XvidStatFrame> ParseXvidStats(const std::string& body, const std::string& path) {
    if (body.rfind(kHeader, 0) != 0) {
        PassFileError(kWhat, path, "does not begin with the header libxvidcore writes");
    }
    std::vector<XvidStatFrame> frames;
    int64_t bytes = 0, lineNumber = 0;
    for (size_t at = 0; at < body.size();) {
        const size_t end = body.find('\n', at);
        const std::string line = body.substr(at, end - at);
        at = end == std::string::npos ? body.size() : end + 1;
        ++lineNumber;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        if (!FrameLine(line.substr(first), frames)) {
            PassFileError(kWhat, path, "is damaged at line " + std::to_string(lineNumber));
        }
        bytes += frames.back().length;
    }
    if (frames.empty() || bytes == 0) PassFileError(kWhat, path, "describes no frames");
    return frames;
}

}  // namespace mxcodec
