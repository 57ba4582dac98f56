#include "media/VobSequence.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

namespace media {
namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

int64_t ReadableFileSize(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw MediaError("Cannot open " + path + ": " + std::strerror(errno));
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!regular) throw MediaError(path + " is not a file");
    return st.st_size;
}

// "VTS_01_1.VOB" -> prefix "VTS_01_", number 1, extension ".VOB"; false for other names.
struct NumberedName {
    std::string prefix, extension;
    int number = 0;
};
bool SplitNumberedName(const std::string& name, NumberedName& out) {
    const size_t dot = name.rfind('.');
    const size_t stemEnd = dot == std::string::npos ? name.size() : dot;
    const size_t bar = name.rfind('_', stemEnd);
    if (bar == std::string::npos || bar + 1 == stemEnd || stemEnd - bar > 4) return false;
    for (size_t i = bar + 1; i < stemEnd; ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    out.prefix = name.substr(0, bar + 1);
    out.extension = name.substr(stemEnd);
    out.number = std::stoi(name.substr(bar + 1, stemEnd - bar - 1));
    return true;
}

// Lower-cased name -> name on disk, for every entry of the folder.
std::map<std::string, std::string> FolderNames(const std::string& folder) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec))
        names.emplace(Lower(it->path().filename().string()), it->path().filename().string());
    return names;
}

}  // namespace

VobSequence::VobSequence(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        starts_.push_back(total_);
        files_.push_back({path, ReadableFileSize(path)});
        total_ += files_.back().size;
    }
}

StreamPosition VobSequence::PositionOf(int64_t offset) const {
    if (files_.empty()) return {0, offset};
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), offset);
    int file = static_cast<int>(next - starts_.begin()) - 1;
    if (file < 0) file = 0;
    // An offset at a boundary belongs to the next non-empty file.
    while (file + 1 < static_cast<int>(files_.size()) &&
           offset >= starts_[file] + files_[file].size)
        ++file;
    return {file, offset - starts_[file]};
}

int64_t VobSequence::OffsetOf(const StreamPosition& position) const {
    return StartOf(position.file) + position.offset;
}

std::string VobSequence::Describe(int64_t offset) const {
    if (files_.empty()) return "the stream at offset " + std::to_string(offset);
    const StreamPosition at = PositionOf(offset);
    return files_[at.file].path + " at offset " + std::to_string(at.offset);
}

VobSequence FindVobSequence(const std::string& firstVob, const WarningSink& warn) {
    const std::filesystem::path first(firstVob);
    std::string folder = first.parent_path().string();
    if (folder.empty()) folder = ".";
    std::vector<std::string> paths{firstVob};
    ReadableFileSize(firstVob);  // a missing first VOB is named before anything else

    NumberedName numbered;
    if (!SplitNumberedName(first.filename().string(), numbered) || numbered.number == 0)
        return VobSequence(paths);
    const auto names = FolderNames(folder);
    const auto onDisk = [&](int number) {
        const auto it =
            names.find(Lower(numbered.prefix + std::to_string(number) + numbered.extension));
        return it == names.end() ? std::string() : it->second;
    };
    int number = numbered.number + 1;
    for (std::string name = onDisk(number); !name.empty(); name = onDisk(++number))
        paths.push_back(folder + "/" + name);
    // Files beyond a missing one would splice unrelated parts of the title together.
    for (int later = number + 1; later <= number + 99; ++later) {
        const std::string name = onDisk(later);
        if (name.empty()) continue;
        warn(folder + "/" + name + " and any later VOB files are not read: " + numbered.prefix +
             std::to_string(number) + numbered.extension + " is missing before them.");
        break;
    }
    return VobSequence(paths);
}

}  // namespace media
