#pragma once
// The bitmap file of a subtitle pair, read out of the RAR archive that delivers it.
#include <string>

namespace subtitles {

// The largest bitmap file read whole; a film's subtitles take a few dozen megabytes.
inline constexpr size_t kLargestSub = size_t(1) << 30;

// The entry whose name (without folders) is `wanted`, letter case aside, else the first entry
// whose name ends in ".sub". Raises an error naming `name` when the archive cannot be read, is
// damaged, holds no such entry, or the entry is larger than kLargestSub.
std::string SubFromRarFile(const std::string& path, const std::string& wanted);
std::string SubFromRarBytes(const std::string& bytes, const std::string& name,
                            const std::string& wanted);

}  // namespace subtitles
