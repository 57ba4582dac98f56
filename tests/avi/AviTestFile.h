#pragma once
// A small AVI writer for tests and benchmarks: lays out the RIFF structure with exact, known
// positions, so that a test can check what the reader found and damage any size on purpose.
// Chunk data is zeros, or left out entirely (a sparse file) when only the indexes matter.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace avitest {

// Bytes at known positions; the gaps between pieces read as zeros.
class SparseBytes {
  public:
    int64_t Tell() const { return length_; }
    void Append(const std::string& bytes) {
        if (pieces_.empty() || pieces_.back().pos + int64_t(pieces_.back().bytes.size()) != length_)
            pieces_.push_back({length_, {}});
        pieces_.back().bytes += bytes;
        length_ += int64_t(bytes.size());
    }
    void Gap(int64_t n) { length_ += n; }
    void Patch(int64_t pos, const std::string& bytes) {
        for (auto& p : pieces_) {
            if (pos >= p.pos && pos + int64_t(bytes.size()) <= p.pos + int64_t(p.bytes.size())) {
                p.bytes.replace(size_t(pos - p.pos), bytes.size(), bytes);
                return;
            }
        }
        throw std::logic_error("patch outside the written bytes");
    }
    void Truncate(int64_t n) { length_ = n; }
    std::string Flatten() const {
        std::string out(size_t(length_), '\0');
        for (const auto& p : pieces_)
            if (p.pos < length_)
                out.replace(size_t(p.pos),
                            std::min<size_t>(p.bytes.size(), size_t(length_ - p.pos)),
                            p.bytes.substr(0, size_t(length_ - p.pos)));
        return out;
    }
    void WriteTo(const std::string& path) const {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            for (const auto& p : pieces_) {
                if (p.pos >= length_) break;
                out.seekp(p.pos);
                out.write(p.bytes.data(),
                          std::min<int64_t>(int64_t(p.bytes.size()), length_ - p.pos));
            }
            if (!out) throw std::runtime_error("cannot write " + path);
        }
        // Extends the file with a hole where the last piece ends before the length.
        std::filesystem::resize_file(path, uint64_t(length_));
    }

  private:
    struct Piece {
        int64_t pos;
        std::string bytes;
    };
    std::vector<Piece> pieces_;
    int64_t length_ = 0;
};

inline std::string U16(uint16_t v) {
    return {char(v & 0xFF), char(v >> 8)};
}
inline std::string U32(uint32_t v) {
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}
inline std::string U64(uint64_t v) {
    return U32(uint32_t(v)) + U32(uint32_t(v >> 32));
}

// A chunk header: code and size.
inline std::string Head(const std::string& code, uint32_t size) {
    return code + U32(size);
}
// A whole chunk with its pad byte.
inline std::string Chunk(const std::string& code, const std::string& data) {
    return Head(code, uint32_t(data.size())) + data + (data.size() % 2 ? std::string(1, '\0') : "");
}
inline std::string List(const std::string& kind, const std::string& type,
                        const std::string& children) {
    return Head(kind, uint32_t(children.size() + 4)) + type + children;
}

struct TestChunk {
    int stream = 0;  // 0 video ("00dc"), 1 audio ("01wb")
    uint32_t size = 0;
    bool key = false;
    int64_t idx1Flags = -1;  // flags written to "idx1"; -1: 0x10 for key frames, else 0
};

struct AviPlan {
    std::vector<TestChunk> chunks;
    std::vector<size_t> riffBreaks;  // chunk numbers at which an "AVIX" RIFF begins
    bool idx1 = true;                // "idx1" for the chunks of the first RIFF
    bool superIndex = false;         // "indx" per stream, a standard index per stream and RIFF
    uint32_t avihSize = 56;
    int64_t avihFrames = -1;  // total frames in "avih"; -1: the video frames of the first RIFF
    int64_t odmlFrames = -1;  // "LIST odml" with "dmlh" when >= 0
    bool sparse = false;      // chunk headers and data left out: only the indexes are written
};

struct BuiltAvi {
    SparseBytes bytes;
    int64_t moviStart = 0;
    std::vector<int64_t> dataPos;       // of each chunk's data
    std::map<std::string, int64_t> at;  // header positions: "RIFF0", "hdrl", "avih", "strl0",
                                        // "strh0", "indx0", "odml", "dmlh", "movi0", "idx1",
                                        // "ix0.1" (stream 0, RIFF 1), "RIFF1", ...
    int64_t Size() const { return bytes.Tell(); }
};

namespace detail {

inline std::string StreamCode(int stream) {
    return stream == 0 ? "00dc" : "01wb";
}

class Writer {
  public:
    explicit Writer(const AviPlan& plan) : plan_(plan) {
        for (const auto& c : plan.chunks) streams_ = std::max(streams_, c.stream + 1);
    }
    BuiltAvi Build();

  private:
    int64_t Begin(const std::string& name, const std::string& kind, const std::string& type) {
        const int64_t pos = out_.bytes.Tell();
        out_.at[name] = pos;
        out_.bytes.Append(Head(kind, 0) + type);
        return pos;
    }
    void End(int64_t start) {
        const int64_t size = out_.bytes.Tell() - start - 8;
        out_.bytes.Patch(start + 4, U32(uint32_t(size)));
        if (size % 2) out_.bytes.Append(std::string(1, '\0'));
    }
    void Header();
    void StreamList(int s);
    void Movi(size_t riff, size_t from, size_t to);
    void StandardIndex(int s, size_t riff, size_t from, size_t to, int64_t base);
    void Idx1(size_t to, int64_t moviType);
    void PatchSuperIndexes();

    const AviPlan& plan_;
    int streams_ = 1;
    BuiltAvi out_;
    std::vector<std::vector<std::pair<int64_t, uint32_t>>> stdIndexes_;  // per stream: pos, size
};

inline BuiltAvi Writer::Build() {
    out_.dataPos.assign(plan_.chunks.size(), 0);
    stdIndexes_.assign(size_t(streams_), {});
    std::vector<size_t> bounds = {0};
    for (size_t b : plan_.riffBreaks) bounds.push_back(b);
    bounds.push_back(plan_.chunks.size());
    for (size_t r = 0; r + 1 < bounds.size(); ++r) {
        const int64_t riff = Begin("RIFF" + std::to_string(r), "RIFF", r == 0 ? "AVI " : "AVIX");
        if (r == 0) Header();
        const int64_t moviType = out_.bytes.Tell() + 8;
        Movi(r, bounds[r], bounds[r + 1]);
        if (r == 0 && plan_.idx1) Idx1(bounds[1], moviType);
        End(riff);
    }
    if (plan_.superIndex) PatchSuperIndexes();
    return std::move(out_);
}

inline void Writer::Header() {
    const int64_t hdrl = Begin("hdrl", "LIST", "hdrl");
    size_t firstFrames = 0;
    const size_t firstEnd = plan_.riffBreaks.empty() ? plan_.chunks.size() : plan_.riffBreaks[0];
    for (size_t i = 0; i < firstEnd; ++i) firstFrames += plan_.chunks[i].stream == 0;
    std::string avih(plan_.avihSize, '\0');
    const uint32_t frames = plan_.avihFrames >= 0 ? uint32_t(plan_.avihFrames) : firstFrames;
    if (avih.size() >= 20) avih.replace(16, 4, U32(frames));
    out_.at["avih"] = out_.bytes.Tell();
    out_.bytes.Append(Chunk("avih", avih));
    for (int s = 0; s < streams_; ++s) StreamList(s);
    if (plan_.odmlFrames >= 0) {
        const int64_t odml = Begin("odml", "LIST", "odml");
        out_.at["dmlh"] = out_.bytes.Tell();
        out_.bytes.Append(Chunk("dmlh", U32(uint32_t(plan_.odmlFrames)) + std::string(244, '\0')));
        End(odml);
    }
    End(hdrl);
    out_.bytes.Append(Chunk("JUNK", std::string(30, '\0')));
}

inline void Writer::StreamList(int s) {
    const std::string n = std::to_string(s);
    const int64_t strl = Begin("strl" + n, "LIST", "strl");
    out_.at["strh" + n] = out_.bytes.Tell();
    out_.bytes.Append(Chunk("strh", (s == 0 ? "vids" : "auds") + std::string(52, '\0')));
    out_.bytes.Append(Chunk("strf", std::string(s == 0 ? 40 : 18, '\0')));
    if (plan_.superIndex) {
        // Room for eight entries, filled in once the standard indexes are placed.
        out_.at["indx" + n] = out_.bytes.Tell();
        const std::string header = U16(4) + std::string(1, '\0') + std::string(1, '\0') + U32(0) +
                                   StreamCode(s) + std::string(12, '\0');
        out_.bytes.Append(Chunk("indx", header + std::string(8 * 16, '\0')));
    }
    End(strl);
}

inline void Writer::Movi(size_t riff, size_t from, size_t to) {
    const int64_t movi = Begin("movi" + std::to_string(riff), "LIST", "movi");
    if (riff == 0) out_.moviStart = out_.bytes.Tell();
    for (size_t i = from; i < to; ++i) {
        const auto& c = plan_.chunks[i];
        if (plan_.sparse) {
            out_.dataPos[i] = out_.bytes.Tell() + 8;
            out_.bytes.Gap(8 + c.size + (c.size & 1));
            continue;
        }
        out_.bytes.Append(Head(StreamCode(c.stream), c.size));
        out_.dataPos[i] = out_.bytes.Tell();
        out_.bytes.Append(std::string(c.size + (c.size & 1), '\0'));
    }
    if (plan_.superIndex)
        for (int s = 0; s < streams_; ++s) StandardIndex(s, riff, from, to, movi + 8);
    End(movi);
}

inline void Writer::StandardIndex(int s, size_t riff, size_t from, size_t to, int64_t base) {
    std::string entries;
    uint32_t count = 0;
    for (size_t i = from; i < to; ++i) {
        const auto& c = plan_.chunks[i];
        if (c.stream != s) continue;
        const uint32_t size = c.size | (s == 0 && !c.key ? 0x80000000u : 0);
        entries += U32(uint32_t(out_.dataPos[i] - base)) + U32(size);
        ++count;
    }
    const int64_t pos = out_.bytes.Tell();
    out_.at["ix" + std::to_string(s) + "." + std::to_string(riff)] = pos;
    const std::string header = U16(2) + std::string(1, '\0') + std::string(1, '\1') + U32(count) +
                               StreamCode(s) + U64(uint64_t(base)) + U32(0);
    const std::string chunk = Chunk("ix0" + std::to_string(s), header + entries);
    out_.bytes.Append(chunk);
    stdIndexes_[size_t(s)].push_back({pos, uint32_t(chunk.size())});
}

inline void Writer::Idx1(size_t to, int64_t moviType) {
    out_.at["idx1"] = out_.bytes.Tell();
    std::string entries;
    for (size_t i = 0; i < to; ++i) {
        const auto& c = plan_.chunks[i];
        const uint32_t flags =
            c.idx1Flags >= 0 ? uint32_t(c.idx1Flags) : (c.stream == 0 && c.key ? 0x10 : 0);
        entries += StreamCode(c.stream) + U32(flags) +
                   U32(uint32_t(out_.dataPos[i] - 8 - moviType)) + U32(c.size);
    }
    out_.bytes.Append(Chunk("idx1", entries));
}

inline void Writer::PatchSuperIndexes() {
    for (int s = 0; s < streams_; ++s) {
        const int64_t indx = out_.at["indx" + std::to_string(s)];
        const auto& list = stdIndexes_[size_t(s)];
        if (list.size() > 8) throw std::logic_error("the test writer makes at most eight RIFFs");
        out_.bytes.Patch(indx + 8 + 4, U32(uint32_t(list.size())));
        for (size_t k = 0; k < list.size() && k < 8; ++k)
            out_.bytes.Patch(indx + 8 + 24 + int64_t(16 * k),
                             U64(uint64_t(list[k].first)) + U32(list[k].second) + U32(0));
    }
}

}  // namespace detail

inline BuiltAvi MakeAvi(const AviPlan& plan) {
    return detail::Writer(plan).Build();
}

// Video frames of the given sizes, a key frame wherever `keys` has one ("K" key, "." other).
inline std::vector<TestChunk> Frames(const std::string& keys, uint32_t size) {
    std::vector<TestChunk> out;
    for (char k : keys) out.push_back({0, size, k == 'K'});
    return out;
}

}  // namespace avitest
