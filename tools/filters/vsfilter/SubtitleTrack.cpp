#include "SubtitleTrack.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>

#include "IndexText.h"
#include "SubPacks.h"

namespace subrender {
namespace {

constexpr int64_t kOpenEnd = std::numeric_limits<int64_t>::max();

std::string ReadFile(const std::string& path, const char* what) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": the " + std::string(what) + " cannot be read");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error(path + ": the " + std::string(what) + " cannot be read");
    return bytes;
}

const subtitles::IndexStream* ChooseStream(const subtitles::SubtitleIndex& index, int langidx,
                                           const std::string& name,
                                           std::vector<std::string>& warnings) {
    for (const auto& s : index.streams)
        if (s.number == langidx) return &s;
    if (index.streams.empty()) {
        warnings.push_back(name + ": the index lists no stream; nothing is drawn");
        return nullptr;
    }
    warnings.push_back(name + ": langidx " + std::to_string(langidx) +
                       " names no stream of the index; stream " +
                       std::to_string(index.streams.front().number) + " is drawn");
    return &index.streams.front();
}

}  // namespace

std::string BitmapFileOf(const std::string& idxPath) {
    const size_t slash = idxPath.find_last_of('/');
    const size_t dot = idxPath.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? idxPath.substr(0, dot) : idxPath) + ".sub";
}

SubtitleTrack::SubtitleTrack(const std::string& idxPath, std::vector<std::string>& warnings) {
    Load(idxPath, warnings);
}

void SubtitleTrack::Load(const std::string& idxPath, std::vector<std::string>& warnings) {
    const subtitles::SubtitleIndex index =
        subtitles::ParseIndex(ReadFile(idxPath, "subtitle index"), idxPath, warnings);
    settings_ = ReadSettings(index.header, idxPath, warnings);
    decoder_.emplace(settings_.hasPalette ? &settings_.palette : nullptr, settings_.alphaPercent);
    const subtitles::IndexStream* stream =
        ChooseStream(index, settings_.langidx, idxPath, warnings);
    if (!stream) return;
    const std::string subPath = BitmapFileOf(idxPath);
    const std::string sub = ReadFile(subPath, "subtitle bitmap file");
    subtitles::SubBitmaps bitmaps(std::vector<uint8_t>(sub.begin(), sub.end()), subPath);
    std::vector<subtitles::IndexEntry> entries = stream->entries;
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.timeMs < b.timeMs; });
    std::vector<Shown> all;
    std::vector<bool> forced;
    for (const subtitles::IndexEntry& e : entries) {
        std::string problem;
        const auto unit = bitmaps.ReadUnitAt(e.filepos, uint8_t(stream->number), problem);
        std::optional<Subpicture> decoded;
        if (unit) decoded = decoder_->Decode(unit->bytes, problem);
        if (!decoded) {
            warnings.push_back(subPath + ": the subpicture at " + std::to_string(e.timeMs) +
                               " ms is skipped: " + problem);
            continue;
        }
        const int64_t at = e.timeMs + settings_.timeOffsetMs;
        all.push_back({at + decoded->startMs, decoded->endMs < 0 ? kOpenEnd : at + decoded->endMs,
                       unit->bytes});
        forced.push_back(decoded->forced);
    }
    // A subpicture gives way to the next one, forced or not, as on a player.
    for (size_t i = 0; i + 1 < all.size(); ++i)
        all[i].endMs = std::min(all[i].endMs, all[i + 1].startMs);
    for (size_t i = 0; i < all.size(); ++i)
        if ((forced[i] || !settings_.forcedOnly) && all[i].endMs > all[i].startMs)
            shown_.push_back(std::move(all[i]));
}

const Subpicture* SubtitleTrack::At(int64_t ms) {
    const auto after = std::upper_bound(shown_.begin(), shown_.end(), ms,
                                        [](int64_t t, const Shown& s) { return t < s.startMs; });
    if (after == shown_.begin()) return nullptr;
    const size_t i = size_t(after - shown_.begin()) - 1;
    if (ms >= shown_[i].endMs) return nullptr;
    if (cachedAt_ != i) {
        std::string problem;
        cached_ = decoder_->Decode(shown_[i].unit, problem);
        cachedAt_ = i;
    }
    return cached_ ? &*cached_ : nullptr;
}

}  // namespace subrender
