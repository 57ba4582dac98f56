// The AVI file interface: the walk from the RIFF header to the main header ("hdrl" / "avih").
#include <algorithm>
#include <cstring>
#include <fstream>

#include "util/VFW.h"

namespace {

constexpr int kMaxChunks = 4096;  // chunks looked at before the main header must appear

uint32_t Le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

class RiffReader {
  public:
    explicit RiffReader(std::ifstream& in) : in_(in) {
        in_.seekg(0, std::ios::end);
        size_ = static_cast<int64_t>(in_.tellg());
    }
    int64_t Size() const { return size_; }
    bool Read(int64_t pos, unsigned char* out, size_t n) {
        if (pos < 0 || pos + static_cast<int64_t>(n) > size_) return false;
        in_.seekg(pos);
        return static_cast<bool>(in_.read(reinterpret_cast<char*>(out), n));
    }

  private:
    std::ifstream& in_;
    int64_t size_ = 0;
};

// The first chunk `id` (a list of type `listType` when given) in [pos, end); its data's start
// and size through the out values.
bool FindChunk(RiffReader& r, int64_t pos, int64_t end, const char* id, const char* listType,
               int64_t& dataPos, uint32_t& dataSize) {
    unsigned char head[12];
    for (int n = 0; n < kMaxChunks && pos + 8 <= end; ++n) {
        if (!r.Read(pos, head, 8)) return false;
        const uint32_t size = Le32(head + 4);
        if (pos + 8 + static_cast<int64_t>(size) > end) return false;
        if (std::memcmp(head, id, 4) == 0) {
            if (!listType) {
                dataPos = pos + 8, dataSize = size;
                return true;
            }
            if (size >= 4 && r.Read(pos + 8, head + 8, 4) &&
                std::memcmp(head + 8, listType, 4) == 0) {
                dataPos = pos + 12, dataSize = size - 4;
                return true;
            }
        }
        pos += 8 + static_cast<int64_t>(size) + (size & 1);
    }
    return false;
}

int32_t Fail(std::string* whyNot, const std::string& why, int32_t code) {
    if (whyNot) *whyNot = why;
    return code;
}

}  // namespace

void AVIFileInit() {}
void AVIFileExit() {}

int32_t AVIFileOpenA(PAVIFILE& file, const std::string& path, uint32_t, std::string* whyNot) {
    file.reset();
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(whyNot, "The file " + path + " cannot be read.", AVIERR_FILEOPEN);
    RiffReader r(in);
    unsigned char riff[12];
    if (!r.Read(0, riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "AVI ", 4) != 0)
        return Fail(whyNot, "The file " + path + " is not an AVI file.", AVIERR_BADFORMAT);
    const int64_t riffEnd = std::min<int64_t>(r.Size(), 8 + static_cast<int64_t>(Le32(riff + 4)));
    int64_t hdrl = 0, avih = 0;
    uint32_t hdrlSize = 0, avihSize = 0;
    unsigned char header[56];
    if (!FindChunk(r, 12, riffEnd, "LIST", "hdrl", hdrl, hdrlSize) ||
        !FindChunk(r, hdrl, hdrl + hdrlSize, "avih", nullptr, avih, avihSize) || avihSize < 40 ||
        !r.Read(avih, header, std::min<size_t>(avihSize, sizeof header)))
        return Fail(whyNot, "The AVI file " + path + " has no readable main header.",
                    AVIERR_BADFORMAT);
    file = std::make_unique<TAviFileState>();
    AVIFILEINFOA& info = file->Info;
    info.dwMaxBytesPerSec = Le32(header + 4);
    info.dwFlags = Le32(header + 12);
    info.dwLength = Le32(header + 16);
    info.dwStreams = Le32(header + 24);
    info.dwSuggestedBufferSize = Le32(header + 28);
    info.dwWidth = Le32(header + 32);
    info.dwHeight = Le32(header + 36);
    return AVIERR_OK;
}

int32_t AVIFileInfoA(const PAVIFILE& file, AVIFILEINFOA* info, int32_t size) {
    if (!file || !info) return AVIERR_BADHANDLE;
    if (size < 0) return AVIERR_BADSIZE;
    std::memcpy(info, &file->Info, std::min<size_t>(size, sizeof(AVIFILEINFOA)));
    return AVIERR_OK;
}

uint32_t AVIFileRelease(PAVIFILE& file) {
    file.reset();
    return 0;
}
