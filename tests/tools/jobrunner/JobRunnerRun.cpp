#include "JobRunnerRun.h"

#include <filesystem>

#include "support/GeneratedMedia.h"

namespace jobrunner_test {

std::string JobRunnerPath() {
    return testing_support::DistDir() + "/VDubMod/VirtualDubMod.exe";
}

JobRunnerTest::JobRunnerTest()
    : config_("MOVREX_CONFIG_DIR", dir_.File("config")),
      system_("MOVREX_SYSTEM_DIR", testing_support::DistDir() + "/system"),
      machine_("MOVREX_MACHINE_HIVE", testing_support::DistDir() + "/system/machine.reg") {}

void JobRunnerTest::SetUp() {
    const auto media = testing_support::MakeMedia("make_jobrunner_media.sh", "jobrunner");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    media_ = media.Folder;
    // The test source plugin reads the .y4m where the decoder would read the index; the filters
    // pass the frames on.
    const std::filesystem::path filters = dir_.File("filters");
    std::filesystem::create_directories(filters);
    std::filesystem::create_directories(File("mx_tmp"));
    std::filesystem::copy_file(FS_SOURCE_PLUGIN, filters / "mpeg2dec3dg.dll");
    for (const char* name : {"decomb", "chr", "autocrop", "undot", "kerneldeint", "vsfilter"})
        std::filesystem::copy_file(FS_STANDIN_PLUGIN, filters / (std::string(name) + ".dll"));
}

TScriptEnvironment JobRunnerTest::Environment() const {
    TScriptEnvironment env;
    env.ProgramDir = dir_.Path();
    env.HasSSE = true;
    return env;
}

std::string JobRunnerTest::MovieScript(const std::string& name) const {
    TMovieScriptParams params;
    params.D2VFile = Media("flash.y4m");
    params.OutWidth = 352;
    params.ResizeTemplate = "LanczosResize(%s,%s)";
    params.SourceType = stProgressive;
    params.PixelAspect = 1;
    TScriptLines lines;
    MakeMovieScript(lines, params, TMovieScriptUse::Encoding, Environment());
    SaveScript(lines, File(name));
    return File(name);
}

ProgramRun JobRunnerTest::Run(const TScriptLines& job, const std::string& switches) const {
    const std::string path = File("mx_tmp/lastjob.vcf");
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    SaveScript(job, path);
    return Shell(Quoted(JobRunnerPath()) + " " + switches + " /x /s" + Quoted(path));
}

}  // namespace jobrunner_test
