#pragma once
// The run's tests with the fake job runner: the program folder holds its prepared files, the
// program-wide runner path points at it, and the calls it recorded can be read back.
#include <string>
#include <vector>

#include "DecideLogs.h"
#include "encoder/EncoderTestSupport.h"
#include "encoder/TextFiles.h"
#include "platform/files.h"

class DecideRunTest : public EncoderTest {
  protected:
    void SetUp() override {
        EncoderTest::SetUp();
        fakeDir = dir.File("fake");
        ASSERT_TRUE(platform::ForceDirectories(fakeDir));
        Program().VDubModPath = Helper("fake_vdub");
        fakeEnv = std::make_unique<testing_support::ScopedEnv>("DECIDE_FAKE_DIR", fakeDir);
        // The codec settings go to hives of the test's own.
        configEnv =
            std::make_unique<testing_support::ScopedEnv>("MOVREX_CONFIG_DIR", dir.File("config"));
        systemEnv =
            std::make_unique<testing_support::ScopedEnv>("MOVREX_SYSTEM_DIR", dir.File("system"));
        machineEnv = std::make_unique<testing_support::ScopedEnv>("MOVREX_MACHINE_HIVE",
                                                                  dir.File("system/machine.reg"));
    }
    void Prepare(const std::string& name, const std::string& text) {
        ASSERT_TRUE(platform::WriteFileText(fakeDir + "/" + name, text));
    }
    std::vector<std::string> Calls() const {
        if (!platform::FileExists(fakeDir + "/calls.txt")) return {};
        return LoadTextLines(fakeDir + "/calls.txt");
    }
    // Lines of the job log without their time stamps, and without the script echoes.
    static std::vector<std::string> Story(const std::vector<std::string>& log) {
        std::vector<std::string> story;
        bool inScript = false;
        for (const std::string& line : log) {
            if (line == std::string(59, '=')) {
                inScript = !inScript;
                continue;
            }
            if (inScript) continue;
            const size_t end = line.find("] ");
            story.push_back(line.front() == '[' && end != std::string::npos ? line.substr(end + 2)
                                                                            : line);
        }
        return story;
    }

    std::string fakeDir;
    std::unique_ptr<testing_support::ScopedEnv> fakeEnv, configEnv, systemEnv, machineEnv;
};
