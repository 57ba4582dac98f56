#include <gtest/gtest.h>

#include "jobs/ProgramValues.h"
#include "scripts/ToolPaths.h"
#include "scripts/avs.h"
#include "support/TestEnv.h"

namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

TEST(SaveScript, EveryLineEndsInCrLfWithoutAByteOrderMark) {
    TempDir dir;
    const std::string path = dir.File("lastjob.vcf");
    SaveScript({"VirtualDub.Open(\"/Am\xC3\xA9lie.avs\",0,0);", "", "last"}, path);
    EXPECT_EQ(ReadAll(path), "VirtualDub.Open(\"/Am\xC3\xA9lie.avs\",0,0);\r\n\r\nlast\r\n");
    SaveScript({}, path);  // saved over the previous job
    EXPECT_EQ(ReadAll(path), "");
}

TEST(SaveScript, AFileThatCannotBeWrittenIsReportedByName) {
    TempDir dir;
    const std::string path = dir.File("no such folder/film_movie.avs");
    try {
        SaveScript({"x"}, path);
        FAIL() << "saved into a missing folder";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST(VDubModCommandLine, TheThreeRuns) {
    const std::string vdub = "/opt/movrex/VDubMod/VirtualDubMod.exe";
    const std::string job = "/My Films/mx_tmp/lastjob.vcf";
    EXPECT_EQ(VDubModCommandLine(TVDubModRun::Analysis, vdub, job, "/My Films/mx_tmp/"),
              vdub + R"( /nowrite /x /s"/My Films/mx_tmp/lastjob.vcf")");
    EXPECT_EQ(VDubModCommandLine(TVDubModRun::Logged, vdub, job, "/My Films/mx_tmp/"),
              vdub + R"( /log"/My Films/mx_tmp/frames.log" /x /s"/My Films/mx_tmp/lastjob.vcf")");
    EXPECT_EQ(VDubModCommandLine(TVDubModRun::Logged, vdub, job, "/My Films/mx_tmp"),
              vdub + R"( /log"/My Films/mx_tmp/frames.log" /x /s"/My Films/mx_tmp/lastjob.vcf")");
    EXPECT_EQ(VDubModCommandLine(TVDubModRun::Plain, vdub, job, "/My Films/mx_tmp/"),
              vdub + R"( /x /s"/My Films/mx_tmp/lastjob.vcf")");

    Program().VDubModPath = "/inst/VDubMod/VirtualDubMod.exe";
    EXPECT_EQ(VDubModCommandLine(TVDubModRun::Plain, "/t/mx_tmp/lastjob.vcf", "/t/mx_tmp/"),
              R"(/inst/VDubMod/VirtualDubMod.exe /x /s"/t/mx_tmp/lastjob.vcf")");
}

TEST(ToolPaths, BelowTheProgramFolder) {
    EXPECT_EQ(VDubModLocation("/opt/movrex"), "/opt/movrex/VDubMod/VirtualDubMod.exe");
    EXPECT_EQ(VDubModLocation("/"), "/VDubMod/VirtualDubMod.exe");
    EXPECT_EQ(FilterPluginPath("/opt/movrex", "decomb.dll"), "/opt/movrex/filters/decomb.dll");
}

TEST(ScriptEnvironment, ComesFromTheProgramWideValues) {
    Program().ProgramDir = "/inst";
    Program().HasSSE = true;
    TScriptLines lines;
    MakeMovieScript(lines, "/a.d2v", 640, "0", 5, "LanczosResize(%s,%s)", 0, "", stProgressive,
                    1.0);
    EXPECT_EQ(lines[2], R"(LoadPlugin("/inst/filters/undot.dll"))");
    Program().HasSSE = false;
    MakeMovieScript(lines, "/a.d2v", 640, "0", 5, "LanczosResize(%s,%s)", 0, "", stProgressive,
                    1.0);
    EXPECT_EQ(lines[2], "");
}

}  // namespace
