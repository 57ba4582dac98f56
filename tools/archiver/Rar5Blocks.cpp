#include "Rar5Blocks.h"

#include <zlib.h>

namespace archiver {
namespace {

constexpr uint64_t kMainBlock = 1, kFileBlock = 2, kEndBlock = 5;
constexpr uint64_t kHasData = 0x0002;                                         // block flag
constexpr uint64_t kDirectory = 0x0001, kHasTime = 0x0002, kHasCrc = 0x0004;  // file flags
constexpr uint64_t kUnixHost = 1;
constexpr uint64_t kStored = 0;  // compression information: version 0, method 0 (store)

void AppendU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out += char(value >> (8 * i));
}

// CRC32 of the size and everything after it, then the size and the fields.
std::string Block(uint64_t type, uint64_t flags, const std::string& fields) {
    std::string body;
    AppendVint(body, type);
    AppendVint(body, flags);
    body += fields;
    std::string sized;
    AppendVint(sized, body.size());
    sized += body;
    std::string block;
    AppendU32(block,
              uint32_t(crc32(0, reinterpret_cast<const Bytef*>(sized.data()), uInt(sized.size()))));
    return block + sized;
}

}  // namespace

void AppendVint(std::string& out, uint64_t value) {
    while (value >= 0x80) {
        out += char(0x80 | (value & 0x7F));
        value >>= 7;
    }
    out += char(value);
}

std::string MainHeader() {
    std::string fields;
    AppendVint(fields, 0);  // archive flags: one volume, not solid, no recovery record
    return Block(kMainBlock, 0, fields);
}

std::string FileHeader(const EntryHeader& entry) {
    std::string fields;
    const uint64_t dataSize = entry.directory ? 0 : entry.size;
    if (!entry.directory) AppendVint(fields, dataSize);
    AppendVint(fields,
               (entry.directory ? kDirectory : kHasCrc) | (entry.mtime ? kHasTime : uint64_t(0)));
    AppendVint(fields, dataSize);
    AppendVint(fields, entry.mode);
    if (entry.mtime) AppendU32(fields, *entry.mtime);
    if (!entry.directory) AppendU32(fields, entry.crc);
    AppendVint(fields, kStored);
    AppendVint(fields, kUnixHost);
    AppendVint(fields, entry.name.size());
    fields += entry.name;
    return Block(kFileBlock, entry.directory ? uint64_t(0) : kHasData, fields);
}

std::string EndHeader() {
    std::string fields;
    AppendVint(fields, 0);  // the last volume
    return Block(kEndBlock, 0, fields);
}

}  // namespace archiver
