#pragma once
// A complete installation in temporary folders: the program folder with every tool and plug-in
// (the tools are the test stand-ins, the plug-ins empty files), the system folder with the codecs
// (XviD's is the test codec module) and the two hives, with the environment pointing the program
// at them for the life of the object.
#include <memory>
#include <string>

#include "support/TestEnv.h"

namespace testing_support {

class FakeInstallation {
  public:
    // The program folder is `folder` in a temporary folder.
    explicit FakeInstallation(const std::string& folder = "Movrex");
    ~FakeInstallation();

    const std::string& ProgramDir() const { return programDir_; }
    // Ends in the separator, as the system folder is handed around.
    std::string SystemDir() const { return systemDir_ + "/"; }
    const std::string& ConfigDir() const { return configDir_; }
    std::string MachineHive() const { return systemDir_ + "/machine.reg"; }
    std::string UserHive() const { return configDir_ + "/user.reg"; }

    // Paths relative to the program folder ("filters/undot.dll") or, with a leading "system/",
    // to the system folder.
    std::string PathOf(const std::string& relative) const;
    void Add(const std::string& relative, const std::string& text = "") const;
    void Remove(const std::string& relative) const;
    // A shell script that can be run.
    void AddProgram(const std::string& relative, const std::string& script) const;

    // The files every start-up test expects, as relative paths.
    static const char* const kFiles[];

  private:
    void AddStandIns() const;

    TempDir root_;
    std::string programDir_;
    std::string systemDir_;
    std::string configDir_;
    std::unique_ptr<ScopedEnv> systemEnv_;
    std::unique_ptr<ScopedEnv> configEnv_;
    std::unique_ptr<ScopedEnv> hiveEnv_;
    std::unique_ptr<ScopedEnv> runtimeEnv_;
};

}  // namespace testing_support
