#include "dvd/FileBytes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "dvd/DvdError.h"

namespace {

[[noreturn]] void Fail(const std::string& path, const std::string& problem) {
    throw DvdParseError(path + ": " + problem);
}

uint64_t RegularFileSize(const std::string& path, const char* kind) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) Fail(path, std::string("the ") + kind + " does not exist");
    if (!fs::is_regular_file(status)) Fail(path, std::string("the ") + kind + " is not a file");
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) Fail(path, std::string("the size of the ") + kind + " cannot be read: " + ec.message());
    return size;
}

}  // namespace

std::string ReadFileBytes(const std::string& path, uint64_t maxBytes, const char* kind) {
    const uint64_t size = RegularFileSize(path, kind);
    if (size > maxBytes) {
        Fail(path, "the " + std::string(kind) + " is " + std::to_string(size) +
                       " bytes long, more than such a file can be (" + std::to_string(maxBytes) +
                       ")");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail(path, std::string("the ") + kind + " cannot be opened: " + std::strerror(errno));
    std::string data(static_cast<size_t>(size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(size));
    // A file that shrank while being read is as good as truncated: keep what arrived.
    data.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) Fail(path, std::string("the ") + kind + " cannot be read");
    return data;
}
