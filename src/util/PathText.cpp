#include "util/PathText.h"

#include "platform/paths.h"

using platform::kPathDelim;

std::string ExtractFileDir(const std::string& path) {
    const size_t slash = path.rfind(kPathDelim);
    if (slash == std::string::npos) return std::string();
    if (slash == 0) return std::string(1, kPathDelim);
    return path.substr(0, slash);
}

std::string ExtractFileName(const std::string& path) {
    const size_t slash = path.rfind(kPathDelim);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
    const size_t slash = path.rfind(kPathDelim);
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + extension;
    return path.substr(0, dot) + extension;
}

std::string OutputFolderOf(const std::string& file) {
    std::string folder = ExtractFileDir(file);
    // Without a folder the temporary folder would land in the root; the current folder is
    // where a bare name lives.
    if (folder.empty()) folder = platform::CurrentDir();
    if (folder == platform::kPathDelimStr) return folder;
    return folder + kPathDelim;
}
