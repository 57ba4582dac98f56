#include "platform/hive_access.h"

#include "platform/files_internal.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace platform::detail {
namespace {

bool Writable(const std::string& path, const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// The nearest existing folder at or above `folder` is where a missing one would be created.
bool FolderWritableOrCreatable(std::string folder) {
    for (;;) {
        struct stat st {};
        if (::stat(folder.c_str(), &st) == 0)
            return S_ISDIR(st.st_mode) && Writable(folder, st) &&
                   ::access(folder.c_str(), X_OK) == 0;
        if (errno != ENOENT) return false;
        std::string parent = files_internal::FolderOf(folder);
        if (parent == folder) return false;
        folder = parent;
    }
}

}  // namespace

bool HiveGrants(const std::string& hivePath, KeyAccess access) {
    struct stat st {};
    bool exists = ::stat(hivePath.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && !S_ISREG(st.st_mode)) return false;
    if (access == KeyAccess::Read) return !exists || ::access(hivePath.c_str(), R_OK) == 0;
    if (exists && (!Writable(hivePath, st) || ::access(hivePath.c_str(), R_OK) != 0)) return false;
    return FolderWritableOrCreatable(files_internal::FolderOf(hivePath));
}

}  // namespace platform::detail
