#pragma once
// The registry accessor the codec writers and the start-up checks use: the platform accessor with
// its own key-opening rules, asking for full access first and settling for read and write access.
#include <string>

#include "platform/registry.h"

class TNewRegistry : public platform::Registry {
  public:
    explicit TNewRegistry(platform::RootKey root = platform::RootKey::CurrentUser)
        : platform::Registry(root) {}

    // A path starting with "\" is taken from the root, otherwise relative to the open key; a
    // leading and a trailing "\" are dropped. Returns whether a key is now open.
    bool OpenKey(const std::string& key, bool canCreate) override;
};
