// Hive files on disk. Readers need no lock: a hive is only ever replaced whole by a rename.
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace platform {
namespace {

// Far more than any real hive; a bigger file is not one of ours.
constexpr size_t kMaxHiveBytes = 64u << 20;

}  // namespace

std::string HivePath(RootKey root) {
    return root == RootKey::LocalMachine ? LocalMachineHivePath() : CurrentUserHivePath();
}

Hive LoadHive(const std::string& path) {
    std::string text, error;
    switch (detail::ReadWholeFile(path, text, error, kMaxHiveBytes)) {
        case detail::ReadStatus::Missing:
            return Hive();
        case detail::ReadStatus::Failed:
            throw RegistryError("registry hive: " + error);
        case detail::ReadStatus::Ok:
            break;
    }
    return Hive::Parse(text, path);
}

void UpdateHiveWith(const std::string& path, const std::function<void(Hive&)>& change) {
    std::string error;
    if (!detail::CreateFolderFor(path, error)) throw RegistryError("registry hive: " + error);
    detail::FileLock lock(path + ".lock");
    if (!lock.Locked()) throw RegistryError("registry hive: " + lock.Error());
    Hive hive = LoadHive(path);
    change(hive);
    if (!detail::SaveFileAtomically(path, hive.Serialize(), error))
        throw RegistryError("registry hive: " + error);
}

}  // namespace platform
