#include "codec/NewRegistry.h"

bool TNewRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string path = key;
    const bool relative = path.empty() || path.front() != '\\';
    if (!relative) path.erase(0, 1);
    if (!path.empty() && path.back() == '\\') path.pop_back();

    std::string absolute = path;
    if (relative && HasCurrentKey())
        absolute = path.empty() ? CurrentPath() : CurrentPath() + "\\" + path;

    const bool create = canCreate && !path.empty();
    return OpenAbsolute(absolute, create, platform::KeyAccess::AllAccess) ||
           OpenAbsolute(absolute, create, platform::KeyAccess::ReadWrite);
}
