#include "avi/AviFileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace avi {

namespace {
constexpr size_t kBlockSize = 64 * 1024;
// Offsets are added to sizes in 64-bit arithmetic; a bound far below the type's limit keeps
// every such sum exact.
constexpr int64_t kLargestFile = int64_t(1) << 56;
}  // namespace

bool TAviFileReader::Open(const std::string& path) {
    Close();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        problem_ = "the file does not exist or cannot be reached";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        problem_ = "not a regular file";
        return false;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        problem_ = "its size cannot be read (" + ec.message() + ")";
        return false;
    }
    if (size > uint64_t(kLargestFile)) {
        problem_ = "the file is too large";
        return false;
    }
    in_.open(path, std::ios::binary);
    if (!in_.is_open()) {
        problem_ =
            std::string("the file cannot be opened for reading (") + std::strerror(errno) + ")";
        return false;
    }
    size_ = int64_t(size);
    block_.resize(kBlockSize);
    return true;
}

void TAviFileReader::Close() {
    if (in_.is_open()) in_.close();
    in_.clear();
    size_ = 0;
    blockPos_ = 0;
    blockLen_ = 0;
    problem_.clear();
}

bool TAviFileReader::Fill(int64_t pos) {
    in_.clear();
    in_.seekg(pos);
    in_.read(block_.data(), std::streamsize(block_.size()));
    blockPos_ = pos;
    blockLen_ = size_t(std::max<std::streamsize>(in_.gcount(), 0));
    return blockLen_ > 0;
}

size_t TAviFileReader::ReadAt(int64_t pos, void* dst, size_t n) {
    if (!in_.is_open() || pos < 0 || pos >= size_) return 0;
    n = size_t(std::min<int64_t>(int64_t(n), size_ - pos));
    auto* out = static_cast<char*>(dst);
    size_t done = 0;
    while (done < n) {
        const int64_t at = pos + int64_t(done);
        if (at < blockPos_ || at >= blockPos_ + int64_t(blockLen_)) {
            // Long reads go straight to the caller's buffer rather than through the cache.
            if (n - done >= kBlockSize) {
                in_.clear();
                in_.seekg(at);
                in_.read(out + done, std::streamsize(n - done));
                const auto got = std::max<std::streamsize>(in_.gcount(), 0);
                return done + size_t(got);
            }
            if (!Fill(at)) return done;
        }
        const size_t offset = size_t(at - blockPos_);
        const size_t take = std::min(n - done, blockLen_ - offset);
        std::memcpy(out + done, block_.data() + offset, take);
        done += take;
    }
    return done;
}

}  // namespace avi
