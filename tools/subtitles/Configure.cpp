#include "Configure.h"

#include <stdexcept>

#include "Console.h"
#include "IndexText.h"
#include "PairFiles.h"
#include "SpuAssembler.h"

namespace subtitles {
namespace {

constexpr int64_t kPtsWrap = int64_t(1) << 33;

// Milliseconds from the cell's start to `pts`; a time stamp a little before the start (or a
// wrap of the 33-bit clock) counts from the start.
int64_t MsInCell(int64_t pts, int64_t start) {
    const int64_t ticks = ((pts - start) % kPtsWrap + kPtsWrap) % kPtsWrap;
    return ticks >= kPtsWrap / 2 ? 0 : (ticks + 45) / 90;
}

bool Wanted(const std::vector<int>& streams, int stream) {
    for (int s : streams)
        if (s == stream) return true;
    return false;
}

std::vector<TimedUnit> Collect(const std::vector<TitleCell>& cells, SubpictureSource& source,
                               const std::vector<int>& streams, const std::string& ifoPath) {
    std::vector<TimedUnit> units;
    SpuAssembler assembler;
    std::vector<std::string> warnings;
    for (size_t i = 0; i < cells.size(); ++i) {
        const CellPackets packets = source.ReadCell(cells[i].cell);
        for (const SubpicturePacket& packet : packets.packets) {
            if (!Wanted(streams, packet.stream)) continue;
            if (auto unit = assembler.Add(packet, warnings))
                units.push_back({unit->stream,
                                 cells[i].startMs + MsInCell(unit->pts, packets.startPts),
                                 std::move(unit->bytes)});
        }
        assembler.Flush(warnings);
        for (const std::string& warning : warnings)
            Warn(ifoPath + ": the cell at sectors " + std::to_string(cells[i].cell.firstSector) +
                 "-" + std::to_string(cells[i].cell.lastSector) + ": " + warning);
        warnings.clear();
        Progress(int64_t(i + 1), int64_t(cells.size()));
    }
    return units;
}

// The language of sub-stream `number`: that of the title's stream the chain maps to it in any
// display mode, else that of the title's stream with the same position; empty when neither.
std::string LanguageOf(const IfoTitle& title, const IfoChain& chain, int number, bool& listed) {
    for (size_t s = 0; s < title.subpictureLanguages.size(); ++s) {
        const uint32_t control = chain.subpictureControl[s];
        if (!(control >> 31)) continue;
        for (int shift : {24, 16, 8, 0})
            if (int((control >> shift) & 0x1F) == number) {
                listed = true;
                return title.subpictureLanguages[s];
            }
    }
    listed = size_t(number) < title.subpictureLanguages.size();
    return listed ? title.subpictureLanguages[size_t(number)] : std::string();
}

std::vector<StreamLabel> Labels(const ConfigureParams& params, const IfoTitle& title,
                                const IfoChain& chain, const std::vector<TimedUnit>& units) {
    std::vector<StreamLabel> labels;
    for (int number : params.streams) {
        bool listed = false;
        const std::string language = LanguageOf(title, chain, number, listed);
        labels.push_back({number, language.empty() ? "--" : language});
        bool found = false;
        for (const TimedUnit& unit : units) found = found || unit.stream == number;
        if (!found)
            Warn(params.ifoPath + ": program chain " + std::to_string(params.chain) +
                 " has no subpictures in stream " + std::to_string(number) +
                 (listed ? "" : " (the title set lists no such stream)") +
                 "; its index block stays empty");
    }
    return labels;
}

}  // namespace

void RunConfigure(const ConfigureParams& params, SubpictureSource* source) {
    const IfoTitle title = ReadIfoTitle(params.ifoPath);
    if (size_t(params.chain) > title.chains.size())
        throw std::runtime_error(params.ifoPath + ": there is no program chain " +
                                 std::to_string(params.chain) + "; the title set has " +
                                 std::to_string(title.chains.size()));
    const IfoChain& chain = title.chains[size_t(params.chain) - 1];
    const std::vector<TitleCell> cells = CellsToPlay(chain, params.angle, params.ifoPath);
    std::unique_ptr<SubpictureSource> vobs;
    if (!source) {
        vobs = OpenTitleVobs(params.ifoPath);
        source = vobs.get();
    }
    std::vector<TimedUnit> units = Collect(cells, *source, params.streams, params.ifoPath);
    const std::vector<StreamLabel> labels = Labels(params, title, chain, units);
    WritePair(
        params.base,
        NewIndexHeader(title.width, title.height, PaletteRgb(chain.palette), params.streams[0]),
        labels, std::move(units));
}

}  // namespace subtitles
