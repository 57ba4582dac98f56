#include "dvd/FolderSearch.h"

#include <algorithm>
#include <filesystem>

#include "dvd/DvdError.h"
#include "platform/files.h"

std::vector<std::string> MatchingFileNames(const std::string& folder, const std::string& pattern) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) throw DvdParseError(folder + ": the folder cannot be read: " + ec.message());
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (platform::WildcardMatch(name, pattern, true) && it->is_regular_file(typeError)) {
            names.push_back(name);
        }
    }
    if (ec) throw DvdParseError(folder + ": the folder cannot be read: " + ec.message());
    std::sort(names.begin(), names.end());
    return names;
}
