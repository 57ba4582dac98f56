// Decodes arbitrary bytes as an IFO file and, when that succeeds, describes the title from it:
// every malformed input must end in DvdParseError, never in a crash or a sanitizer report.
// clang-format off
// fuzz-sources: src/dvd/IFOParser.cpp src/dvd/IfoBytes.cpp src/dvd/IfoChains.cpp src/dvd/IfoTime.cpp src/dvd/IfoTables.cpp src/dvd/IfoRoute.cpp src/dvd/TextFields.cpp src/dvd/FileBytes.cpp src/dvd/VobInfo.cpp
// clang-format on
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dvd/DvdError.h"
#include "dvd/IFOParser.h"
#include "dvd/IfoRoute.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        TIFO ifo = DecodeIfo(bytes, "fuzz.IFO");
        for (const TProgramChain& chain : ifo.ChainTable.ProgramChains) {
            if (chain.AudioEnabled.size() != ifo.Attributes.AudioStreamCount) std::abort();
            if (chain.ProgramDurations.size() != chain.ProgramCount) std::abort();
        }
        TitleSetChoice choice;
        choice.Offer("VTS_01_0.IFO", "fuzz.IFO", std::move(ifo));
        const TVobInfo info = choice.Describe();
        if (info.AudioCount > kMaxAudioTracks || info.SubtitleCount > kMaxSubtitleTracks) {
            std::abort();
        }
    } catch (const DvdParseError&) {
    }
    return 0;
}
