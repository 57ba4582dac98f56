#pragma once
// The blocks of a RAR 5 archive as this archiver writes them: the signature, the main archive
// header, one file header before each entry's data (stored, not compressed), and the end of
// archive header. Each block is its CRC32, its size and type as variable-length integers, its
// fields, and for files the data after it. Numbers are little-endian; sizes are variable-length
// integers, so entries of 4 GiB and more need no special fields.
#include <cstdint>
#include <optional>
#include <string>

namespace archiver {

inline constexpr char kSignature[] = "Rar!\x1A\x07\x01\x00";
inline constexpr size_t kSignatureSize = 8;

// Seven bits a byte, lowest first, the top bit set on every byte but the last.
void AppendVint(std::string& out, uint64_t value);

struct EntryHeader {
    std::string name;  // UTF-8, "/" between folders
    bool directory = false;
    uint64_t size = 0;              // bytes of data that follow the header
    uint32_t crc = 0;               // CRC32 of the data
    std::optional<uint32_t> mtime;  // seconds since 1970
    uint32_t mode = 0100644;        // the Unix mode, file type bits included
};

std::string MainHeader();
// The header block of an entry; its length does not depend on `crc`, so a header written before
// the data can be rewritten in place once the data's CRC is known.
std::string FileHeader(const EntryHeader& entry);
std::string EndHeader();

}  // namespace archiver
