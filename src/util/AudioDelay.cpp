#include <charconv>

#include "util/utils.h"

namespace {

// The signed decimal number at the start of `word`; 0 when there is none or it does not fit.
int32_t LeadingNumber(const std::string& word) {
    const char* first = word.data();
    const char* last = first + word.size();
    if (first != last && *first == '+') {
        ++first;  // from_chars takes a "-" but no "+"
        if (first != last && *first == '-') return 0;
    }
    int32_t value = 0;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() ? value : 0;
}

}  // namespace

// The demultiplexer names its audio files "... DELAY -80ms.ac3": the delay is the last word
// before the "ms" and the three-letter extension.
int32_t AudioDelayOf(const std::string& fileName) {
    constexpr size_t kSuffixLength = 6;  // "ms.ac3"
    if (fileName.size() <= kSuffixLength) return 0;
    const std::string stem = fileName.substr(0, fileName.size() - kSuffixLength);
    const size_t blank = stem.rfind(' ');
    return LeadingNumber(blank == std::string::npos ? stem : stem.substr(blank + 1));
}
