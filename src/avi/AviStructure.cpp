#include "avi/AviStructure.h"

#include <algorithm>
#include <string>

#include "avi/AviFormat.h"

namespace avi {

namespace {

// Lists inside lists: "AVI " > "hdrl" > "strl" is the deepest a real file goes; a few more levels
// are allowed for writers that wrap things, and the cap keeps a crafted file from exhausting the
// stack.
constexpr int kMaxListDepth = 8;
// Super index entries of all streams together; a film has a handful per stream.
constexpr uint32_t kMaxSuperIndexEntries = 1u << 20;
constexpr uint32_t kSuperIndexHeaderSize = 24;
constexpr uint32_t kSuperIndexEntrySize = 16;

struct ChunkHead {
    int64_t pos = 0;  // of the four-character code
    uint32_t code = 0;
    uint32_t size = 0;
    int64_t DataPos() const { return pos + 8; }
    int64_t DataEnd() const { return pos + 8 + int64_t(size); }
};

class Scanner {
  public:
    Scanner(TAviFileReader& file, TAviStructure& out) : file_(file), out_(out) {}
    void Run();

  private:
    bool PeekCode(int64_t pos, int64_t end, uint32_t& code);
    ChunkHead Head(int64_t pos, int64_t end, const std::string& what);
    // Where the next chunk begins: after the data and its pad byte, but never beyond `end`.
    static int64_t After(const ChunkHead& c, int64_t end);
    std::string EndName(int64_t end) const;

    void WalkAviChildren(int64_t pos, int64_t end);
    int64_t List(int64_t pos, int64_t end, int depth);
    void WalkHdrl(int64_t pos, int64_t end, int depth);
    void WalkStrl(int64_t pos, int64_t end);
    void ReadOdml(int64_t pos, int64_t end);
    void ReadMainHeader(const ChunkHead& c);
    int64_t ReadSuperIndex(const ChunkHead& c);

    TAviFileReader& file_;
    TAviStructure& out_;
};

bool Scanner::PeekCode(int64_t pos, int64_t end, uint32_t& code) {
    uint8_t raw[4];
    if (pos + 4 > end || !file_.ReadExact(pos, raw, 4)) return false;
    code = LoadU32(raw);
    return true;
}

std::string Scanner::EndName(int64_t end) const {
    return end >= out_.FileSize ? "the end of the file" : "the end of the list that holds it";
}

ChunkHead Scanner::Head(int64_t pos, int64_t end, const std::string& what) {
    uint8_t raw[8];
    if (pos + 8 > end || !file_.ReadExact(pos, raw, 8))
        ThrowAt(pos, what, "its header runs past " + EndName(end));
    ChunkHead c{pos, LoadU32(raw), LoadU32(raw + 4)};
    if (c.DataEnd() > end)
        ThrowAt(pos, what, "its size " + std::to_string(c.size) + " runs past " + EndName(end));
    return c;
}

int64_t Scanner::After(const ChunkHead& c, int64_t end) {
    return std::min(c.DataEnd() + int64_t(c.size & 1), end);
}

void Scanner::Run() {
    const int64_t fileSize = out_.FileSize;
    int64_t pos = 0;
    while (pos < fileSize) {
        uint8_t head[12];
        const size_t got = file_.ReadAt(pos, head, sizeof head);
        if (got < 4) break;
        const uint32_t code = LoadU32(head);
        if (code == FourCC("RIFF")) {
            if (got < 12) break;
            const uint32_t size = LoadU32(head + 4);
            const int64_t end = pos + 8 + int64_t(size);
            const uint32_t type = LoadU32(head + 8);
            // A RIFF that claims more than the file holds is a file cut short: what is there is
            // still read.
            if (type == FourCC("AVI ")) {
                out_.HasAviRiff = true;
                WalkAviChildren(pos + 12, std::min(end, fileSize));
            }
            if (type == FourCC("AVIX")) out_.IsOpenDml = true;
            pos = end + int64_t(size & 1);
        } else if (code == FourCC("JUNK")) {
            if (got < 8) break;
            const uint32_t size = LoadU32(head + 4);
            pos += 8 + int64_t(size) + int64_t(size & 1);
        } else {
            break;
        }
    }
}

void Scanner::WalkAviChildren(int64_t pos, int64_t end) {
    uint32_t code = 0;
    while (PeekCode(pos, end, code)) {
        if (code == FourCC("LIST")) {
            pos = List(pos, end, 1);
        } else if (code == FourCC("JUNK")) {
            pos = After(Head(pos, end, "\"JUNK\" chunk"), end);
        } else if (code == FourCC("idx1")) {
            const ChunkHead c = Head(pos, end, "\"idx1\" index");
            out_.Idx1Start = c.DataPos();
            out_.Idx1Count = c.size / 16;
            pos = After(c, end);
        } else {
            break;
        }
    }
}

int64_t Scanner::List(int64_t pos, int64_t end, int depth) {
    if (depth > kMaxListDepth)
        ThrowAt(pos, "list",
                "lists are nested more than " + std::to_string(kMaxListDepth) + " deep");
    const ChunkHead c = Head(pos, end, "list");
    uint32_t type = 0;
    if (c.size < 4 || !PeekCode(c.DataPos(), c.DataEnd(), type))
        ThrowAt(pos, "list",
                "its size " + std::to_string(c.size) + " leaves no room for a list type");
    const int64_t body = c.DataPos() + 4;
    if (type == FourCC("hdrl")) {
        WalkHdrl(body, c.DataEnd(), depth);
    } else if (type == FourCC("movi")) {
        if (out_.MoviStart == 0) out_.MoviStart = body;
    } else if (type == FourCC("strl")) {
        WalkStrl(body, c.DataEnd());
    } else if (type == FourCC("odml")) {
        ReadOdml(body, c.DataEnd());
    }
    // Other lists ("INFO" and the like) say nothing about the index.
    return After(c, end);
}

void Scanner::WalkHdrl(int64_t pos, int64_t end, int depth) {
    uint32_t code = 0;
    while (PeekCode(pos, end, code)) {
        if (code == FourCC("avih")) {
            const ChunkHead c = Head(pos, end, "main header \"avih\"");
            ReadMainHeader(c);
            pos = After(c, end);
        } else if (code == FourCC("LIST")) {
            pos = List(pos, end, depth + 1);
        } else {
            // Anything else is stepped over a code at a time, without trusting its size.
            pos += 4;
        }
    }
}

void Scanner::ReadMainHeader(const ChunkHead& c) {
    out_.MainHeader.fill(0);
    // A longer header (a writer's extension) is read up to our 56 bytes; the rest is skipped.
    const size_t n = std::min<size_t>(c.size, kMainHeaderSize);
    if (!file_.ReadExact(c.DataPos(), out_.MainHeader.data(), n))
        ThrowAt(c.pos, "main header \"avih\"", "it cannot be read");
}

void Scanner::WalkStrl(int64_t pos, int64_t end) {
    uint32_t code = 0;
    while (PeekCode(pos, end, code)) {
        if (code == FourCC("strh") || code == FourCC("strf") || code == FourCC("vprp")) {
            pos = After(Head(pos, end, "stream header " + CodeText(code)), end);
        } else if (code == FourCC("indx")) {
            pos = ReadSuperIndex(Head(pos, end, "super index \"indx\""));
        } else {
            break;
        }
    }
}

int64_t Scanner::ReadSuperIndex(const ChunkHead& c) {
    const std::string what = "super index \"indx\"";
    uint8_t header[kSuperIndexHeaderSize];
    if (c.size < kSuperIndexHeaderSize || !file_.ReadExact(c.DataPos(), header, sizeof header))
        ThrowAt(c.pos, what, "its size " + std::to_string(c.size) + " is too small for a header");
    const uint32_t count = LoadU32(header + 4);
    const uint32_t room = (c.size - kSuperIndexHeaderSize) / kSuperIndexEntrySize;
    if (count > room)
        ThrowAt(c.pos, what,
                "it claims " + std::to_string(count) + " entries but its chunk holds " +
                    std::to_string(room));
    if (out_.SuperIndex.size() + count > kMaxSuperIndexEntries)
        ThrowAt(c.pos, what, "more super index entries than any film needs");
    int64_t pos = c.DataPos() + kSuperIndexHeaderSize;
    for (uint32_t i = 0; i < count; ++i, pos += kSuperIndexEntrySize) {
        uint8_t raw[kSuperIndexEntrySize];
        if (!file_.ReadExact(pos, raw, sizeof raw)) ThrowAt(pos, what, "an entry cannot be read");
        out_.SuperIndex.push_back({LoadU64(raw), LoadU32(raw + 8), LoadU32(raw + 12)});
    }
    // The walk goes on after the last entry in use, as the entries left unused are blank.
    return pos;
}

void Scanner::ReadOdml(int64_t pos, int64_t end) {
    uint32_t code = 0;
    if (!PeekCode(pos, end, code) || code != FourCC("dmlh")) return;
    const ChunkHead c = Head(pos, end, "OpenDML header \"dmlh\"");
    uint8_t raw[4];
    if (c.size < 4 || !file_.ReadExact(c.DataPos(), raw, 4))
        ThrowAt(c.pos, "OpenDML header \"dmlh\"", "it is too short to hold the frame count");
    out_.OdmlTotalFrames = LoadU32(raw);
    if (out_.OdmlTotalFrames > out_.MainTotalFrames()) out_.IsOpenDml = true;
}

}  // namespace

uint32_t TAviStructure::MainTotalFrames() const {
    return LoadU32(MainHeader.data() + 16);
}

void ScanAviStructure(TAviFileReader& file, TAviStructure& out) {
    out = TAviStructure{};
    out.FileSize = file.Size();
    Scanner(file, out).Run();
}

}  // namespace avi
