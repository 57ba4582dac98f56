#pragma once
// Builds the bytes of an IFO file field by field, for the cases that authoring tools never
// write. The chain table sits at sector 1; chains follow their search pointers, each with its
// program map and cell playback table, and the file ends with the last chain's cell table.
#include <cstdint>
#include <string>
#include <vector>

namespace ifo_image {

// A playback time: BCD hours, minutes, seconds, frames, and the frame-rate bits (3: 30 fps).
inline uint32_t Time(int h, int m, int s, int frames, int rateBits = 1) {
    auto bcd = [](int v) { return static_cast<uint32_t>(v / 10 << 4 | v % 10); };
    return bcd(h) << 24 | bcd(m) << 16 | bcd(s) << 8 | static_cast<uint32_t>(rateBits) << 6 |
           bcd(frames);
}

struct Chain {
    uint32_t Duration = Time(0, 0, 2, 0);
    std::vector<uint16_t> AudioControl;       // one word per audio stream
    std::vector<uint32_t> SubpictureControl;  // one word per subpicture stream
    std::vector<uint8_t> EntryCells = {1};
    std::vector<uint32_t> CellTimes = {Time(0, 0, 2, 0)};
    int CellCount = -1;  // -1: the number of cell times
};

class Image {
  public:
    uint16_t VideoWord = 0x5E00;  // MPEG2, PAL, 16:9, 720x576
    struct Audio {
        uint16_t Word;
        std::string Code;
        uint8_t Extension;
    };
    std::vector<Audio> AudioStreams;
    std::vector<std::string> SubpictureCodes;
    std::vector<Chain> Chains;

    std::string Bytes() const {
        std::string out(0x800, '\0');
        Put32(out, 0xCC, 1);
        Put16(out, 0x200, VideoWord);
        Put16(out, 0x202, static_cast<uint16_t>(AudioStreams.size()));
        for (size_t i = 0; i < AudioStreams.size(); ++i) {
            const size_t at = 0x204 + 8 * i;
            Grow(out, at + 8);
            Put16(out, at, AudioStreams[i].Word);
            out.replace(at + 2, 2, AudioStreams[i].Code.substr(0, 2));
            out[at + 5] = static_cast<char>(AudioStreams[i].Extension);
        }
        Put16(out, 0x254, static_cast<uint16_t>(SubpictureCodes.size()));
        for (size_t j = 0; j < SubpictureCodes.size(); ++j) {
            out.replace(0x256 + 6 * j + 2, 2, SubpictureCodes[j].substr(0, 2));
        }
        AppendChainTable(out);
        return out;
    }

    static void Put16(std::string& out, size_t at, uint16_t v) {
        Grow(out, at + 2);
        out[at] = static_cast<char>(v >> 8);
        out[at + 1] = static_cast<char>(v);
    }
    static void Put32(std::string& out, size_t at, uint32_t v) {
        Put16(out, at, static_cast<uint16_t>(v >> 16));
        Put16(out, at + 2, static_cast<uint16_t>(v));
    }

  private:
    static void Grow(std::string& out, size_t size) {
        if (out.size() < size) out.resize(size, '\0');
    }

    void AppendChainTable(std::string& out) const {
        const size_t table = 0x800;
        Grow(out, table + 8 + 8 * Chains.size());
        Put16(out, table, static_cast<uint16_t>(Chains.size()));
        for (size_t k = 0; k < Chains.size(); ++k) {
            Put32(out, table + 8 + 8 * k + 4, static_cast<uint32_t>(out.size() - table));
            AppendChain(out, Chains[k]);
        }
    }

    static void AppendChain(std::string& out, const Chain& c) {
        const size_t g = out.size();
        const size_t map = 0xEC;
        const size_t cells = map + (c.EntryCells.size() + 1) / 2 * 2;
        Grow(out, g + cells + 24 * c.CellTimes.size());
        out[g + 2] = static_cast<char>(c.EntryCells.size());
        out[g + 3] = static_cast<char>(c.CellCount < 0 ? c.CellTimes.size() : c.CellCount);
        Put32(out, g + 4, c.Duration);
        for (size_t a = 0; a < c.AudioControl.size(); ++a)
            Put16(out, g + 12 + 2 * a, c.AudioControl[a]);
        for (size_t s = 0; s < c.SubpictureControl.size(); ++s) {
            Put32(out, g + 28 + 4 * s, c.SubpictureControl[s]);
        }
        Put16(out, g + 0xE6, static_cast<uint16_t>(map));
        Put16(out, g + 0xE8, static_cast<uint16_t>(cells));
        for (size_t p = 0; p < c.EntryCells.size(); ++p)
            out[g + map + p] = static_cast<char>(c.EntryCells[p]);
        for (size_t e = 0; e < c.CellTimes.size(); ++e)
            Put32(out, g + cells + 24 * e + 4, c.CellTimes[e]);
    }
};

}  // namespace ifo_image
