#pragma once
// Test helpers: a temporary folder that goes away with the test, and an environment variable set
// for the length of a scope.
#include <optional>
#include <string>

namespace testing_support {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    // Path() + "/" + name
    std::string File(const std::string& name) const;
    // Writes `text` to File(name), creating folders on the way; returns the path.
    std::string Write(const std::string& name, const std::string& text) const;

  private:
    std::string path_;
};

class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// Whole file as text; empty when it cannot be read.
std::string ReadAll(const std::string& path);

}  // namespace testing_support
