#include "ExistingEntries.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace archiver {
namespace {

using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;

std::runtime_error Failed(archive* a, const std::string& path, const std::string& what) {
    const char* reason = archive_error_string(a);
    return std::runtime_error(path + ": " + what +
                              (reason ? std::string(" (") + reason + ")" : ""));
}

std::string NameOf(archive_entry* entry) {
    const char* utf8 = archive_entry_pathname_utf8(entry);
    const char* name = utf8 ? utf8 : archive_entry_pathname(entry);
    return name ? name : "";
}

EntryHeader HeaderOf(archive_entry* entry, const std::string& name) {
    EntryHeader header;
    header.name = name;
    header.size = uint64_t(std::max<la_int64_t>(archive_entry_size(entry), 0));
    header.mode = uint32_t(archive_entry_mode(entry));
    if (archive_entry_mtime_is_set(entry) && archive_entry_mtime(entry) >= 0 &&
        uint64_t(archive_entry_mtime(entry)) <= UINT32_MAX)
        header.mtime = uint32_t(archive_entry_mtime(entry));
    return header;
}

void CopyEntry(archive* a, archive_entry* entry, const std::string& path, ArchiveWriter& writer) {
    const std::string name = NameOf(entry);
    const EntryHeader header = HeaderOf(entry, name);
    if (archive_entry_filetype(entry) == AE_IFDIR) return writer.AddDirectory(header);
    if (archive_entry_filetype(entry) != AE_IFREG || !archive_entry_size_is_set(entry))
        throw std::runtime_error(path + ": " + name +
                                 " is neither a file nor a folder, so the archive cannot be "
                                 "rewritten with it");
    writer.AddFile(header, [&](char* buffer, size_t size) {
        const la_ssize_t got = archive_read_data(a, buffer, size);
        if (got < 0) throw Failed(a, path, "the entry " + name + " cannot be read");
        return size_t(got);
    });
}

}  // namespace

void CopyEntries(const std::string& path, const std::vector<std::string>& replaced,
                 ArchiveWriter& writer) {
    Reader reader(archive_read_new(), archive_read_free);
    if (!reader) throw std::runtime_error("out of memory for an archive reader");
    archive* a = reader.get();
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    if (archive_read_open_filename(a, path.c_str(), 65536) != ARCHIVE_OK)
        throw Failed(a, path, "exists but is not a RAR archive that can be read");
    archive_entry* entry = nullptr;
    for (int status; (status = archive_read_next_header(a, &entry)) != ARCHIVE_EOF;) {
        if (status < ARCHIVE_WARN) throw Failed(a, path, "the archive is damaged");
        const std::string name = NameOf(entry);
        if (std::find(replaced.begin(), replaced.end(), name) != replaced.end()) continue;
        CopyEntry(a, entry, path, writer);
    }
}

}  // namespace archiver
