// Short path names: what a Windows short (8.3) name gave the program, a path without blanks for
// the command lines that put a path unquoted, is given here by a link in the runtime folder.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/paths.h"

namespace platform {
namespace {

bool NeedsLink(const std::string& path) {
    return path.find_first_of(" \t\"") != std::string::npos;
}

// The folder of the links, made private to this user. Below /tmp (no runtime folder of the
// user's own) another user could have made it first: then it is not used.
std::string LinkFolder() {
    const std::string folder = RuntimeFolder() + "/movrex-links-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    struct stat st;
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
        (st.st_mode & 0077) != 0)
        return {};
    return folder;
}

// FNV-1a: the same path always gets the same link, in every process.
uint64_t HashOf(const std::string& text) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// Where the link to `target` lies: a folder named by the hash of the target, so that every
// target has its own, and in it the target's last part with only plain characters kept, so that
// a reader of a command line, and the process list, still show what is meant.
std::string LinkFor(const std::string& folder, const std::filesystem::path& target) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(HashOf(target.string())));
    const std::string own = folder + "/" + hash;
    mkdir(own.c_str(), 0700);
    std::string leaf = target.filename().string();
    for (char& c : leaf) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!plain) c = '_';
    }
    return own + "/" + leaf;
}

// Makes `link` point at `target`, replacing whatever link was there, in one rename so that a
// process reading it meanwhile sees the old link or the new one.
bool PlaceLink(const std::filesystem::path& target, const std::string& link) {
    std::error_code ec;
    if (std::filesystem::read_symlink(link, ec) == target) return true;
    const std::string temporary =
        link + "." + std::to_string(getpid()) + "." + std::to_string(gettid()) + ".tmp";
    if (symlink(target.c_str(), temporary.c_str()) != 0) return false;
    if (rename(temporary.c_str(), link.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

}  // namespace

std::string ShortPathName(const std::string& path) {
    if (!NeedsLink(path)) return path;
    std::error_code ec;
    std::filesystem::path target = std::filesystem::absolute(path, ec).lexically_normal();
    if (!target.has_filename()) target = target.parent_path();
    if (ec || !std::filesystem::exists(target, ec)) return path;
    const std::string folder = LinkFolder();
    if (folder.empty() || NeedsLink(folder)) return path;
    std::string link = LinkFor(folder, target);
    if (!PlaceLink(target, link)) return path;
    // A path given with a closing separator names the same folder through the link.
    if (path.back() == kPathDelim) link += kPathDelimStr;
    return link;
}

}  // namespace platform
