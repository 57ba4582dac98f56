// The codec's four runs over the movie are rows of one table: what each writes to the codec's key
// before its job, whether it writes the movie script, how it starts the job runner and where its
// job writes.
#include <gtest/gtest.h>

#include "DecideFakes.h"
#include "encoder/stages/Stages.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace {

using CodecRuns = DecideRunTest;

int32_t Dword(const platform::Hive& hive, const char* key, const char* name) {
    const auto value = hive.GetValue(key, name);
    return value ? static_cast<int32_t>(value->dword) : INT32_MIN;
}

// The file the job script saves the AVI as.
std::string SavedAs(const std::string& job) {
    const std::string call = "VirtualDub.SaveAVI(\"";
    const size_t at = job.find(call);
    if (at == std::string::npos) return "";
    const size_t start = at + call.size();
    return job.substr(start, job.find('"', start) - start);
}

TEST_F(CodecRuns, EachRunSetsItsModeAndStartsItsJob) {
    enum { Core, Legacy, DivX };
    const struct {
        const TStage& stage;
        int layout;
        int32_t mode;
        bool fixed, logged, script;
        const char* output;  // the test's own output, else the output file
    } rows[] = {
        {kRunCompTest, Core, 0, true, true, true, "_comptest.avi"},
        {kRunCompTest, Legacy, 1, true, true, true, "_comptest.avi"},
        {kRunCompTest, DivX, 1, true, true, true, "_comptest.avi"},
        {kRunSinglePass, Core, 0, false, false, true, nullptr},
        {kRunSinglePass, DivX, 1, false, false, true, nullptr},
        {kRunFirstPass, Core, 1, false, true, true, nullptr},
        {kRunFirstPass, Legacy, 3, false, true, true, nullptr},
        {kRunFirstPass, DivX, 2, false, false, true, nullptr},
        {kRunSecondPass, Core, 2, false, false, false, nullptr},
        {kRunSecondPass, Legacy, 5, false, false, false, nullptr},
        {kRunSecondPass, DivX, 3, false, false, false, nullptr},
    };
    Prepare("comptest.frames", FramesLog(std::vector<int64_t>(30, 4352)));
    Prepare("pass.frames", FramesLog({500, 500}));
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.stage.Name) + " " + std::to_string(row.layout));
        ASSERT_TRUE(platform::DeleteTree(platform::CurrentUserHivePath()));
        Program().NewXviD = row.layout == Core;
        TEncRecord job = TestJob(Output());
        job.Codec = row.layout == DivX ? kCodecDivX : kCodecXviD;
        TMXEncoder run(job, false);
        kChooseInitialSettings.Work(run);
        run.Budget.VideoSize = 1000;  // what the first pass's frames add up to
        row.stage.Work(run);

        const platform::Hive hive = platform::LoadHive(platform::CurrentUserHivePath());
        if (row.layout == DivX) {
            EXPECT_EQ(Dword(hive, kDivXKey, "VBR Mode"), row.mode);
            if (row.fixed) {
                EXPECT_EQ(Dword(hive, kDivXKey, "VBR Quality v5"), 20);
            }
        } else {
            EXPECT_EQ(Dword(hive, kXviDKey, "mode"), row.mode);
            EXPECT_EQ(Dword(hive, kXviDKey, "max_pquant") == 2, row.fixed);
            if (row.fixed) {
                EXPECT_EQ(Dword(hive, kXviDKey, row.layout == Core ? "desired_quant" : "quality"),
                          row.layout == Core ? 200 : 100);
            }
        }
        const std::vector<std::string> calls = Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().find(" /log\"") != std::string::npos, row.logged) << calls.back();
        EXPECT_EQ(SavedAs(testing_support::ReadAll(run.JobScriptFile)),
                  row.output ? run.TempFile(row.output) : Output());
        const std::string echo = "] Writing the following script to " +
                                 run.TempFile(row.fixed ? "_comptest.avs" : "_movie.avs");
        EXPECT_EQ(std::count_if(run.JobLog.begin(), run.JobLog.end(),
                                [&](const std::string& line) {
                                    return line.find(echo) != std::string::npos;
                                }),
                  row.script ? 1 : 0);
    }
}

TEST_F(CodecRuns, AnAbortedSecondPassLeavesNotTheFirstPassesVideoAsTheOutput) {
    for (const TStage* stage : {&kRunFirstPass, &kRunSecondPass}) {
        SCOPED_TRACE(stage->Name);
        TMXEncoder run(TestJob(Output()), false);
        kChooseInitialSettings.Work(run);
        ASSERT_TRUE(platform::WriteFileText(Output(), "an AVI written before"));
        RunState().AbortRequested = true;
        EXPECT_THROW(stage->Work(run), std::runtime_error);
        RunState().AbortRequested = false;
        // Before the first pass the file is an earlier job's result, whole.
        EXPECT_EQ(platform::FileExists(Output()), stage == &kRunFirstPass);
    }
}

}  // namespace
