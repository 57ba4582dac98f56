#include "encoder/rules/FrameSizes.h"

#include <cstdint>
#include <stdexcept>

#include "platform/locale.h"

namespace {

constexpr int64_t kMaxSum = INT64_MAX / 8;

}  // namespace

TFrameSizes SumFrameSizes(const std::vector<std::string>& lines, int32_t cycle, int32_t skip,
                          const std::string& path) {
    TFrameSizes sizes;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (cycle > 0) {
            const int64_t r = static_cast<int64_t>(i % cycle);
            if (r < skip || r >= cycle - skip) continue;
        }
        const std::string& line = lines[i];
        const auto bytes = line.empty() ? std::nullopt : platform::ParseInteger(line.substr(1));
        if (!bytes || *bytes < 0)
            throw std::runtime_error("The frame log " + path + " has \"" + line + "\" on line " +
                                     std::to_string(i + 1) + " where a frame size belongs.");
        // The sum is later taken in bits; sizes that far apart from any real output are damage.
        if (*bytes > kMaxSum - sizes.Sum)
            throw std::runtime_error("The frame log " + path +
                                     " adds up to more bytes than any "
                                     "output could hold (line " +
                                     std::to_string(i + 1) + ").");
        sizes.Sum += *bytes;
        ++sizes.Count;
    }
    return sizes;
}
