#include "encoder/rules/IndexCommand.h"

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

int32_t IndexerOutputMethod(const std::string& audioFormat) {
    return Trimmed(audioFormat) == "LPCM" ? 3 : 1;
}

std::string IndexOnlyArguments(const std::string& firstVob, int32_t idct,
                               const std::string& outputBase) {
    return " -AIF=[" + firstVob + "] -IA=" + std::to_string(idct) +
           " -FO=0 -YR=1 -OM=0 -DRC=0 -DSD=0 -DSA=0 -OF=[" + outputBase + "] -Exit";
}

std::string IndexWithAudioArguments(const std::string& firstVob, int32_t idct, int32_t track,
                                    int32_t outputMethod, const std::string& outputBase) {
    return " -AIF=[" + firstVob + "] -IA=" + std::to_string(idct) +
           " -FO=0 -YR=1 -TN=" + std::to_string(track) + " -OM=" + std::to_string(outputMethod) +
           " -DRC=0 -DSD=0 -DSA=0 -OF=[" + outputBase + "] -Exit";
}
