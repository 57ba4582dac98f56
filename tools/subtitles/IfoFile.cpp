// Reads a title set's IFO file whole for decoding.
#include <stdexcept>

#include "IfoTitle.h"
#include "platform/files.h"

namespace subtitles {

IfoTitle ReadIfoTitle(const std::string& path) {
    // The largest IFO files stay well below this; anything bigger is not one.
    constexpr int64_t kLargest = 16 << 20;
    if (platform::FileSize(path) > kLargest)
        throw std::runtime_error(path + ": too large for the IFO file of a title set");
    std::string bytes;
    if (!platform::ReadFileText(path, bytes)) throw std::runtime_error(path + ": cannot be read");
    return ParseIfoTitle(bytes, path);
}

}  // namespace subtitles
