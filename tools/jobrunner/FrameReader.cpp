#include "FrameReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace jobrunner {

namespace {

constexpr size_t kReadBytes = 256 * 1024;
// A file of the right coding has its first frame near its start; damage is never this long.
constexpr int64_t kMaxLeadingBytes = 64 * 1024;
constexpr uint64_t kMaxResyncBytes = 1024 * 1024;
constexpr size_t kId3v1Bytes = 128;

const char* CodingName(AudioCoding coding) {
    return coding == AudioCoding::Ac3 ? "AC3" : "MPEG audio";
}

class FileBytes final : public ByteFeed {
  public:
    explicit FileBytes(const std::string& path) : path_(path) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            throw media::MediaError("The audio file " + path +
                                    " cannot be opened: " + std::strerror(errno));
    }
    ~FileBytes() override { ::close(fd_); }
    size_t Read(uint8_t* to, size_t max) override {
        for (;;) {
            const ssize_t n = ::read(fd_, to, max);
            if (n >= 0) return size_t(n);
            if (errno != EINTR)
                throw media::MediaError("The audio file " + path_ +
                                        " cannot be read: " + std::strerror(errno));
        }
    }

  private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace

std::unique_ptr<ByteFeed> FileFeed(const std::string& path) {
    return std::make_unique<FileBytes>(path);
}

FrameReader::FrameReader(AudioCoding coding, std::string name, std::unique_ptr<ByteFeed> feed,
                         media::WarningSink warn)
    : coding_(coding), name_(std::move(name)), feed_(std::move(feed)), warn_(std::move(warn)) {}

size_t FrameReader::Ensure(size_t n) {
    while (end_ - pos_ < n && !eof_) {
        if (pos_ > 0) {
            std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
            base_ += int64_t(pos_);
            end_ -= pos_;
            pos_ = 0;
        }
        if (buffer_.size() < std::max(n, kReadBytes)) buffer_.resize(std::max(n, kReadBytes));
        const size_t got = feed_->Read(buffer_.data() + end_, buffer_.size() - end_);
        if (got == 0) eof_ = true;
        end_ += got;
    }
    return std::min(n, end_ - pos_);
}

std::string FrameReader::Place(int64_t offset) const {
    return name_ + " at offset " + std::to_string(offset);
}

// The frame after this one follows at once, or the stream ends (an ID3v1 tag may close it).
bool FrameReader::EndsOrContinues(size_t after, const FrameHeader& h) {
    const size_t available = end_ - pos_;
    if (available < after + kHeaderBytes) return true;
    FrameHeader next;
    if (ReadFrameHeader(coding_, buffer_.data() + pos_ + after, next) && SameStream(h, next))
        return true;
    return std::memcmp(buffer_.data() + pos_ + after, "TAG", 3) == 0;
}

// A frame starts at pos_ (whose header bytes are in the buffer).
bool FrameReader::FrameAt(FrameHeader& h) {
    if (!ReadFrameHeader(coding_, buffer_.data() + pos_, h)) return false;
    if (started_ && !SameStream(first_, h)) return false;
    return Ensure(h.size + kHeaderBytes) >= h.size && EndsOrContinues(h.size, h);
}

void FrameReader::SkipStartTag() {
    const size_t head = Ensure(10);
    const uint8_t* p = buffer_.data() + pos_;
    if (head >= 4 && std::memcmp(p, "RIFF", 4) == 0)
        throw media::MediaError(name_ + " is a RIFF (WAV) file, not " + CodingName(coding_));
    if (head < 10 || std::memcmp(p, "ID3", 3) != 0) return;
    // The tag's size is written seven bits a byte; a footer adds ten more bytes.
    int64_t size =
        10 + ((p[6] & 0x7F) << 21 | (p[7] & 0x7F) << 14 | (p[8] & 0x7F) << 7 | (p[9] & 0x7F));
    if (p[5] & 0x10) size += 10;
    while (size > 0) {
        const size_t step = Ensure(size_t(std::min<int64_t>(size, int64_t(kReadBytes))));
        if (step == 0) break;
        pos_ += step;
        size -= int64_t(step);
    }
}

bool FrameReader::Next(AudioFrame& frame) {
    if (!started_ && base_ + int64_t(pos_) == 0) SkipStartTag();
    uint64_t skipped = 0;
    for (;;) {
        FrameHeader h;
        if (Ensure(kHeaderBytes) == kHeaderBytes && FrameAt(h)) {
            const bool summary = !started_ && IsSummaryFrame(h, buffer_.data() + pos_);
            if (!started_) first_ = h;
            started_ = true;
            if (!summary) {
                frame = AudioFrame{buffer_.data() + pos_, h, base_ + int64_t(pos_), skipped};
                if (skipped > 0 && warn_)
                    warn_(Place(frame.offset - int64_t(skipped)) + ": " + std::to_string(skipped) +
                          " bytes of damage are skipped; silence takes their place");
                pos_ += h.size;
                return true;
            }
            pos_ += h.size;
            continue;
        }
        const size_t left = Ensure(kId3v1Bytes + 1);
        if (left < kHeaderBytes ||
            (left == kId3v1Bytes && !std::memcmp(buffer_.data() + pos_, "TAG", 3))) {
            if (!started_)
                throw media::MediaError(name_ + " is not " + CodingName(coding_) +
                                        ": it holds no " + CodingName(coding_) + " frame");
            const bool tag = left == kId3v1Bytes;
            if (!tag && skipped + left > 0 && warn_)
                warn_(Place(base_ + int64_t(pos_) - int64_t(skipped)) + ": the last " +
                      std::to_string(skipped + left) +
                      " bytes are no whole frame and are left out");
            return false;
        }
        ++pos_;
        ++skipped;
        if (!started_ && base_ + int64_t(pos_) > kMaxLeadingBytes)
            throw media::MediaError(name_ + " is not " + CodingName(coding_) +
                                    ": no frame in its first " + std::to_string(kMaxLeadingBytes) +
                                    " bytes");
        if (skipped > kMaxResyncBytes)
            throw media::MediaError(Place(base_ + int64_t(pos_) - int64_t(skipped)) + ": no " +
                                    CodingName(coding_) + " frame in the next " +
                                    std::to_string(kMaxResyncBytes) +
                                    " bytes; the file is damaged beyond use");
    }
}

}  // namespace jobrunner
