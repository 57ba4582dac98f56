#include "PairFiles.h"

#include <algorithm>
#include <stdexcept>

#include "IndexText.h"
#include "SubPacks.h"
#include "platform/files.h"

namespace subtitles {
namespace {

void WriteOrRaise(const std::string& path, const std::string& text) {
    if (!platform::WriteFileText(path, text))
        throw std::runtime_error(path +
                                 ": cannot be written (is the folder there and the disk "
                                 "not full?)");
}

}  // namespace

void WritePair(const std::string& base, const std::vector<std::string>& header,
               const std::vector<StreamLabel>& streams, std::vector<TimedUnit> units) {
    std::stable_sort(units.begin(), units.end(),
                     [](const TimedUnit& a, const TimedUnit& b) { return a.timeMs < b.timeMs; });
    SubtitleIndex index{header, {}};
    for (const StreamLabel& label : streams)
        index.streams.push_back({label.language, label.number, {}});
    std::string sub;
    for (const TimedUnit& unit : units) {
        const auto stream =
            std::find_if(index.streams.begin(), index.streams.end(),
                         [&](const IndexStream& s) { return s.number == unit.stream; });
        if (stream == index.streams.end()) continue;
        stream->entries.push_back({unit.timeMs, sub.size()});
        AppendUnitPacks(sub, unit.stream, unit.timeMs * 90, unit.bytes);
    }
    WriteOrRaise(base + ".sub", sub);
    WriteOrRaise(base + ".idx", IndexText(index));
}

}  // namespace subtitles
