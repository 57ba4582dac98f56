// The packet source on the title's VOB files: each cell's sectors read through the shared pack
// reader, keeping the subpicture packets and the cell's start time from its navigation packs.
#include <stdexcept>

#include "Console.h"
#include "SubpictureSource.h"
#include "media/ByteSource.h"
#include "media/NavPacket.h"
#include "media/StreamKind.h"
#include "platform/files.h"

namespace subtitles {
namespace {

// What one pass over a cell's sectors keeps. In an angle block the VOB units of all angles lie
// interleaved in the same sectors; each unit's DSI packet says whose it is, and only the cell's
// own units count. Elsewhere every unit in the range is the cell's.
class CellScan {
  public:
    explicit CellScan(const IfoCell& cell)
        : cell_(cell), angle_(cell.blockType == 1 && cell.blockMode != 0), ours_(!angle_) {}

    void Take(const media::PesPacket& packet) {
        const media::StreamKind kind = media::KindOf(packet);
        if (kind == media::StreamKind::Navigation) return Navigation(packet);
        if (!ours_) return;
        if (firstStamp_ < 0) firstStamp_ = packet.pts;
        if (kind == media::StreamKind::Subpicture)
            out_.packets.push_back({uint8_t(media::StreamNumberOf(packet)),
                                    packet.pts,
                                    {packet.data, packet.data + packet.size}});
    }
    bool Started() const { return started_; }
    // The packets, and as the start a cell without a navigation pack has only its first stamp.
    CellPackets Finish() {
        if (!started_) out_.startPts = firstStamp_ >= 0 ? firstStamp_ : 0;
        return std::move(out_);
    }

  private:
    // The PCI packet comes first in the navigation pack, the DSI packet right after it.
    void Navigation(const media::PesPacket& packet) {
        if (const auto times = media::NavTimesOf(packet)) {
            vobuStart_ = times->vobuStart;
            vobuPack_ = packet.packOffset;
            if (!angle_) Start(vobuStart_);
        } else if (const auto ids = media::NavIdsOf(packet); ids && angle_) {
            ours_ = ids->vobId == cell_.vobId && ids->cellId == cell_.cellId;
            if (ours_ && vobuPack_ == packet.packOffset) Start(vobuStart_);
        }
    }
    void Start(int64_t pts) {
        if (started_) return;
        out_.startPts = pts;
        started_ = true;
    }

    const IfoCell& cell_;
    const bool angle_;
    bool ours_;
    bool started_ = false;
    int64_t vobuStart_ = media::kNoTimestamp;
    int64_t vobuPack_ = -1;
    int64_t firstStamp_ = media::kNoTimestamp;
    CellPackets out_;
};

std::string Sectors(const IfoCell& cell) {
    return "sectors " + std::to_string(cell.firstSector) + "-" + std::to_string(cell.lastSector);
}

class CellReader final : public SubpictureSource {
  public:
    CellReader(std::unique_ptr<media::ByteSource> vobs, media::WarningSink warn)
        : vobs_(std::move(vobs)), warn_(std::move(warn)), reader_(*vobs_, warn_) {}

    CellPackets ReadCell(const IfoCell& cell) override {
        const int64_t begin = int64_t(cell.firstSector) * media::kSectorSize;
        const int64_t end = (int64_t(cell.lastSector) + 1) * media::kSectorSize;
        CellScan scan(cell);
        if (!InTheFiles(cell, begin, end)) return scan.Finish();
        reader_.Seek(begin);
        for (media::PesPacket packet; reader_.Next(packet) && packet.offset < end;)
            scan.Take(packet);
        if (!scan.Started())
            warn_("The cell at " + Sectors(cell) + " from " + vobs_->Describe(begin) +
                  " has no navigation pack: its times count from its first time stamp.");
        return scan.Finish();
    }

  private:
    // False when the cell lies wholly past the end of the files; a cell cut short is read as far
    // as it goes.
    bool InTheFiles(const IfoCell& cell, int64_t begin, int64_t end) const {
        const int64_t size = vobs_->Size();
        const std::string what = "The cell at " + Sectors(cell) + " of the title set ";
        if (begin >= size) {
            warn_(what + "lies past the end of its VOB files (" + vobs_->Describe(size) +
                  "): its subpictures are missing.");
            return false;
        }
        if (end > size)
            warn_(what + "is cut short: the VOB files end at " + vobs_->Describe(size) + ".");
        return true;
    }

    std::unique_ptr<media::ByteSource> vobs_;
    media::WarningSink warn_;
    media::PackReader reader_;
};

// The first VOB of the title set: the IFO's name with "0.ifo" replaced by "1.vob", found in any
// letter case.
std::string FirstVobOf(const std::string& ifoPath) {
    const size_t slash = ifoPath.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : ifoPath.substr(0, slash);
    const std::string name = slash == std::string::npos ? ifoPath : ifoPath.substr(slash + 1);
    std::string ending = name.size() >= 5 ? name.substr(name.size() - 5) : "";
    for (char& c : ending) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ending != "0.ifo")
        throw std::runtime_error(ifoPath + ": not the name of a title set's IFO file (…0.IFO), " +
                                 "so its VOB files cannot be found");
    const std::string stem = name.substr(0, name.size() - 5);
    const std::string vob = platform::FindFirstMatch(folder, stem + "1.vob", true);
    if (vob.empty())
        throw std::runtime_error(ifoPath + ": the title set's first VOB file " + stem +
                                 "1.VOB is not beside it");
    return folder + "/" + vob;
}

}  // namespace

std::unique_ptr<SubpictureSource> ReadCellsFrom(std::unique_ptr<media::ByteSource> vobs,
                                                media::WarningSink warn) {
    return std::make_unique<CellReader>(std::move(vobs), std::move(warn));
}

std::unique_ptr<SubpictureSource> OpenTitleVobs(const std::string& ifoPath) {
    media::VobSequence sequence = media::FindVobSequence(FirstVobOf(ifoPath), Warn);
    return ReadCellsFrom(std::make_unique<media::VobStream>(std::move(sequence)), Warn);
}

}  // namespace subtitles
