// Reading RAR archives is libarchive's; this picks the entry and bounds what is read.
#include "RarSub.h"

#include <archive.h>
#include <archive_entry.h>

#include <memory>
#include <optional>
#include <stdexcept>

namespace subtitles {
namespace {

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;

Reader NewReader() {
    Reader reader(archive_read_new(), archive_read_free);
    if (!reader) throw std::runtime_error("out of memory for an archive reader");
    archive_read_support_format_rar(reader.get());
    archive_read_support_format_rar5(reader.get());
    return reader;
}

std::runtime_error Failed(archive* a, const std::string& name, const std::string& what) {
    const char* reason = archive_error_string(a);
    return std::runtime_error(name + ": " + what +
                              (reason ? std::string(" (") + reason + ")" : ""));
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

std::string BareName(const char* path) {
    const std::string name = path ? path : "";
    const size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string ReadEntry(archive* a, archive_entry* entry, const std::string& name) {
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > int64_t(kLargestSub))
        throw std::runtime_error(name + ": " + BareName(archive_entry_pathname(entry)) +
                                 " is too large for a subtitle bitmap file");
    std::string data;
    char buffer[65536];
    for (;;) {
        const la_ssize_t got = archive_read_data(a, buffer, sizeof buffer);
        if (got < 0) throw Failed(a, name, "the archive is damaged");
        if (got == 0) return data;
        if (data.size() + size_t(got) > kLargestSub)
            throw std::runtime_error(name + ": the bitmap file inside is too large");
        data.append(buffer, size_t(got));
    }
}

std::string FindSub(archive* a, const std::string& name, const std::string& wanted) {
    const std::string key = Lower(wanted);
    std::optional<std::string> first;
    archive_entry* entry = nullptr;
    for (int status; (status = archive_read_next_header(a, &entry)) != ARCHIVE_EOF;) {
        if (status < ARCHIVE_WARN) throw Failed(a, name, "the archive is damaged");
        const std::string entryName = Lower(BareName(archive_entry_pathname(entry)));
        if (archive_entry_filetype(entry) != AE_IFREG) continue;
        if (entryName == key) return ReadEntry(a, entry, name);
        if (!first && entryName.size() > 4 && entryName.ends_with(".sub"))
            first = ReadEntry(a, entry, name);
    }
    if (!first) throw std::runtime_error(name + ": the archive holds no .sub file");
    return *first;
}

}  // namespace

std::string SubFromRarFile(const std::string& path, const std::string& wanted) {
    Reader reader = NewReader();
    if (archive_read_open_filename(reader.get(), path.c_str(), 65536) != ARCHIVE_OK)
        throw Failed(reader.get(), path, "not a RAR archive that can be read");
    return FindSub(reader.get(), path, wanted);
}

std::string SubFromRarBytes(const std::string& bytes, const std::string& name,
                            const std::string& wanted) {
    Reader reader = NewReader();
    if (archive_read_open_memory(reader.get(), bytes.data(), bytes.size()) != ARCHIVE_OK)
        throw Failed(reader.get(), name, "not a RAR archive that can be read");
    return FindSub(reader.get(), name, wanted);
}

}  // namespace subtitles
