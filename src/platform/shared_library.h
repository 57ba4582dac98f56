#pragma once
// Loading a shared object (a codec module, a frame-server plugin) and finding its entry points.
// One place for the loader's rules: the whole module is resolved at load (a missing symbol fails
// the load, not a later call), its symbols stay private to it, and it is unloaded with the
// object.
#include <memory>
#include <string>

namespace platform {

class SharedLibrary {
  public:
    // The module at `path`, or null with `whyNot` saying what was wrong and naming the file:
    // it is missing, or it cannot be loaded (not a shared object of this machine, a library it
    // needs is missing, ...).
    static std::unique_ptr<SharedLibrary> Load(const std::string& path, std::string& whyNot);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported function or variable; null when the module has none.
    void* Symbol(const char* name) const;
    template <typename Fn>
    Fn Function(const char* name) const {
        return reinterpret_cast<Fn>(Symbol(name));
    }
    const std::string& Path() const { return path_; }

  private:
    SharedLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void* handle_;
    std::string path_;
};

}  // namespace platform
