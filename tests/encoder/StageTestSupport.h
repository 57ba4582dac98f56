#pragma once
// Shared by the stage tests: a program folder of stand-in tools that record their command lines
// in "calls.log", a ripped title folder and a run of the job whose stages are called directly.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>

#include "encoder/EncoderTestSupport.h"
#include "platform/files.h"
#include "platform/paths.h"

class StageTest : public EncoderTest {
  protected:
    void SetUp() override {
        EncoderTest::SetUp();
        Program().DVD2AVIPath = Helper("stage_dvd2avi");
        Program().BeSweetPath = Helper("stage_besweet");
        Program().VDubModPath = Helper("fake_vdub");
        Program().RarPath = Helper("stage_rar");
        dir.Write("system/.keep", "");
        ASSERT_TRUE(
            platform::CopyFileTo(Helper("stage_rundll32"), dir.File("system/rundll32"), false));
        Program().VobSubPath = dir.File("system") + "/vobsub.dll";
        dir.Write("dvd/VTS_01_1.VOB", "");
        dir.Write("dvd/VTS_01_0.IFO", "");
        dir.Write("out/.keep", "");
    }

    // The job of the tests: input in dvd/, output out/film.avi, one AC3 track, no subtitles.
    TEncRecord Job() const {
        TEncRecord job = TestJob(Output());
        job.InputDir = dir.File("dvd");
        job.VobInfo.FirstVob = "VTS_01_1.vob";
        job.Log = const_cast<testing_support::RecordingSink*>(&window);
        return job;
    }
    std::unique_ptr<TMXEncoder> Run(const TEncRecord& job, bool preview = false) {
        return std::make_unique<TMXEncoder>(job, preview);
    }

    // The command lines the tools received, in order.
    std::vector<std::string> Calls() const {
        std::istringstream in(testing_support::ReadAll(dir.File("calls.log")));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // The log lines without their time stamps.
    static std::vector<std::string> Messages(const std::vector<std::string>& lines) {
        static const std::regex stamped(R"(\[\S+ \S+\] (.*))");
        std::vector<std::string> out;
        for (const std::string& line : lines) {
            std::smatch m;
            out.push_back(std::regex_match(line, m, stamped) ? m[1].str() : line);
        }
        return out;
    }
    std::vector<std::string> Logged(const TMXEncoder& run) const { return Messages(run.JobLog); }

    std::string Temp(const std::string& name) const { return dir.File("out/mx_tmp/" + name); }
    std::string PreviewTemp(const std::string& name) const {
        return dir.File("out/mx_preview/" + name);
    }

    testing_support::ScopedEnv log_{"STAGE_LOG", dir.File("calls.log")};
    testing_support::ScopedEnv system_{"MOVREX_SYSTEM_DIR", dir.File("system")};
};
