#include "Cutter.h"

#include <memory>
#include <stdexcept>

#include "Console.h"
#include "IndexText.h"
#include "PairFiles.h"
#include "RarSub.h"
#include "SubPacks.h"
#include "platform/files.h"

namespace subtitles {
namespace {

// The largest index read; a film's index is some hundred kilobytes.
constexpr int64_t kLargestIndex = 64 << 20;

std::string ReadSmallFile(const std::string& path, int64_t largest, const char* what) {
    const int64_t size = platform::FileSize(path);
    if (size > largest) throw std::runtime_error(path + ": too large for a " + what);
    std::string text;
    if (size < 0 || !platform::ReadFileText(path, text))
        throw std::runtime_error(path + ": the " + what + " cannot be read");
    return text;
}

std::string BareName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// The bitmap file beside the index, else the one inside the archive beside it.
std::unique_ptr<SubBitmaps> SourceBitmaps(const std::string& base) {
    const std::string sub = base + ".sub", rar = base + ".rar";
    if (platform::FileExists(sub))
        return std::make_unique<SubBitmaps>(
            Bytes(ReadSmallFile(sub, int64_t(kLargestSub), "subtitle bitmap file")), sub);
    if (platform::FileExists(rar))
        return std::make_unique<SubBitmaps>(Bytes(SubFromRarFile(rar, BareName(sub))),
                                            rar + ": " + BareName(sub));
    throw std::runtime_error(sub + ": missing, and there is no " + BareName(rar) +
                             " beside it either");
}

std::vector<TimedUnit> UnitsInRange(const SubtitleIndex& index, SubBitmaps& sub,
                                    const CutterArgs& args, const std::string& indexName) {
    std::vector<TimedUnit> units;
    for (const IndexStream& stream : index.streams) {
        for (const IndexEntry& entry : stream.entries) {
            if (entry.timeMs < args.startMs || entry.timeMs >= args.endMs) continue;
            std::string problem;
            const auto unit = sub.ReadUnitAt(entry.filepos, uint8_t(stream.number), problem);
            if (unit)
                units.push_back({uint8_t(stream.number), entry.timeMs - args.startMs, unit->bytes});
            else
                Warn(indexName + ": the subpicture of stream " + std::to_string(stream.number) +
                     " at " + std::to_string(entry.timeMs) + " ms is skipped: " + problem);
        }
    }
    return units;
}

}  // namespace

void RunCutter(const CutterArgs& args) {
    const std::string indexName = args.source + ".idx";
    std::vector<std::string> warnings;
    const SubtitleIndex index =
        ParseIndex(ReadSmallFile(indexName, kLargestIndex, "subtitle index"), indexName, warnings);
    WarnAll(warnings);
    const std::unique_ptr<SubBitmaps> sub = SourceBitmaps(args.source);
    std::vector<StreamLabel> labels;
    for (const IndexStream& stream : index.streams)
        labels.push_back({stream.number, stream.language});
    std::vector<TimedUnit> units = UnitsInRange(index, *sub, args, indexName);
    Progress(1, 1);
    WritePair(args.part, index.header, labels, std::move(units));
}

}  // namespace subtitles
