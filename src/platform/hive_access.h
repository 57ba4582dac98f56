#pragma once
// What a hive file grants: the Linux side of the access a key is opened with.
#include <string>

#include "platform/registry.h"

namespace platform::detail {

// Read: the hive is readable, or missing (an empty hive). AllAccess and ReadWrite: a save can
// replace it, i.e. the file and its folder are writable, or, for a missing hive, its folder is
// writable or can be created. A hive without any write permission bit counts as read-only even
// for the superuser, so that a hive installed read-only stays that way.
bool HiveGrants(const std::string& hivePath, KeyAccess access);

}  // namespace platform::detail
