#pragma once
// The first pass's statistics as libxvidcore writes them: a header comment, then one line per
// frame ("p 2 0 1200 120 5321 310": type, quantizer, intra, inter and skipped blocks, bytes,
// header bytes). The second pass hands the file to the library, which trusts it; so it is
// checked here first.
#include <cstdint>
#include <string>
#include <vector>

namespace mxcodec {

struct XvidStatFrame {
    char type;       // 'i', 'p', 'b' or 's'
    int32_t length;  // bytes in the first pass
};

// The frames `body` describes, in display order; CodecError(MXICERR_FILE) naming `path` and the
// line when a line is not what the first pass writes.
std::vector<XvidStatFrame> ParseXvidStats(const std::string& body, const std::string& path);

}  // namespace mxcodec
