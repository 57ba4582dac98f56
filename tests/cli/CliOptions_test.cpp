#include "cli/CliOptions.h"

#include <gtest/gtest.h>

namespace {

TCliOptions Parse(std::vector<std::string> args) {
    return ParseCliOptions(args);
}

std::string Refusal(std::vector<std::string> args) {
    try {
        ParseCliOptions(args);
    } catch (const TCliError& e) {
        return e.what();
    }
    return "<accepted>";
}

TEST(CliOptions, OneJobWithTheWindowsDefaults) {
    const TCliOptions options = Parse({"--input", "/dvd", "--output", "/out/movie.avi"});
    ASSERT_EQ(options.Jobs.size(), 1u);
    const TJobOptions& job = options.Jobs[0];
    EXPECT_EQ(job.Input, "/dvd");
    EXPECT_EQ(job.Output, "/out/movie.avi");
    EXPECT_EQ(job.Audio, 0);
    EXPECT_FALSE(job.Audio2);
    EXPECT_EQ(job.Subs, -1);
    EXPECT_EQ(job.Size.Option, TSizeOption::Predefined);
    EXPECT_EQ(kPredefinedSizes[job.Size.Predefined].TargetSize, 1400);
    EXPECT_EQ(job.Advanced, TAdvancedValues());
    EXPECT_FALSE(options.Preview || options.Shutdown || options.Help);
}

TEST(CliOptions, EveryJobOptionReachesItsValue) {
    const TCliOptions options = Parse({"--input",
                                       "/dvd",
                                       "--output=/out/a",
                                       "--audio",
                                       "none",
                                       "--audio2",
                                       "2",
                                       "--subs",
                                       "3",
                                       "--subs2",
                                       "1",
                                       "--quality",
                                       "80",
                                       "--codec",
                                       "divx",
                                       "--audio-mode",
                                       "vbr",
                                       "--audio-bitrate",
                                       "96",
                                       "--width-mode",
                                       "fixed",
                                       "--width",
                                       "800",
                                       "--forced-subs",
                                       "--external-subs",
                                       "--overwrite",
                                       "--shutdown",
                                       "--preview"});
    const TJobOptions& job = options.Jobs.at(0);
    EXPECT_EQ(job.Output, "/out/a");
    EXPECT_EQ(job.Audio, -1);
    EXPECT_EQ(job.Audio2, 1);
    EXPECT_EQ(job.Subs, 2);
    EXPECT_EQ(job.Subs2, 0);
    EXPECT_EQ(job.Size.Option, TSizeOption::Quality);
    EXPECT_EQ(job.Size.Quality, 80);
    EXPECT_EQ(job.Advanced, (TAdvancedValues{2, 800, 2, 96, 1, true, true}));
    EXPECT_TRUE(job.Overwrite);
    EXPECT_TRUE(options.Shutdown && options.Preview);
}

TEST(CliOptions, OptionsBeforeTheFirstInputApplyToEveryJob) {
    const TCliOptions options = Parse(
        {"--codec", "divx", "--size", "700", "--input", "/a", "--output", "/a.avi", "--input", "/b",
         "--output", "/b.avi", "--preset", "1 CD (700 Mb)", "--codec", "xvid", "--audio", "2"});
    ASSERT_EQ(options.Jobs.size(), 2u);
    EXPECT_EQ(options.Jobs[0].Advanced.CodecIndex, 1);
    EXPECT_EQ(options.Jobs[0].Size.Option, TSizeOption::Custom);
    EXPECT_EQ(options.Jobs[0].Size.CustomSize, 700);
    EXPECT_EQ(options.Jobs[0].Audio, 0);
    EXPECT_EQ(options.Jobs[1].Advanced.CodecIndex, 0);
    EXPECT_EQ(options.Jobs[1].Size.Option, TSizeOption::Predefined);
    EXPECT_EQ(options.Jobs[1].Size.Predefined, 3);
    EXPECT_EQ(options.Jobs[1].Audio, 1);
}

TEST(CliOptions, RefusalsNameTheOptionAndTheReason) {
    const std::vector<std::string> job = {"--input", "/d", "--output", "/o"};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = job;
        args.insert(args.end(), more.begin(), more.end());
        return Refusal(args);
    };
    EXPECT_EQ(Refusal({}), "nothing to do: give --input DIR --output FILE");
    EXPECT_EQ(Refusal({"--frobnicate"}), "--frobnicate: unknown option");
    EXPECT_EQ(Refusal({"--input"}), "--input: needs a value (DIR)");
    EXPECT_EQ(Refusal({"--input", "/d"}), "the job of --input /d: --output is missing");
    EXPECT_EQ(Refusal({"--output", "/o", "--input", "/d"}), "--output: give --input first");
    EXPECT_EQ(with({"--size", "0"}), "--size 0: must be from 1 to 10000");
    EXPECT_EQ(with({"--size", "10001"}), "--size 10001: must be from 1 to 10000");
    EXPECT_EQ(with({"--size", "12x"}), "--size 12x: not a whole number");
    EXPECT_EQ(with({"--quality", "9"}), "--quality 9: must be from 10 to 100");
    EXPECT_EQ(with({"--audio-bitrate", "100"}), "--audio-bitrate 100: must be a multiple of 16");
    EXPECT_EQ(with({"--audio-bitrate", "336"}), "--audio-bitrate 336: must be from 64 to 320");
    EXPECT_EQ(with({"--width", "24"}), "--width 24: must be from 32 to 1024");
    EXPECT_EQ(with({"--audio", "0"}), "--audio 0: must be a track number from 1 or none");
    EXPECT_EQ(with({"--audio2", "none"}), "--audio2 none: must be a track number from 1");
    EXPECT_EQ(with({"--codec", "h264"}), "--codec h264: must be one of xvid|divx");
    EXPECT_EQ(with({"--preset", "4 CDs"}), "--preset \"4 CDs\": no such predefined size");
    EXPECT_EQ(with({"--size", "700", "--quality", "50"}),
              "--quality: only one of --size, --preset and --quality per job (--size was given)");
    EXPECT_EQ(with({"--forced-subs=yes"}), "--forced-subs yes: takes no value");
    EXPECT_EQ(with({"--subs2", "1"}), "the job of --input /d: --subs2 needs --external-subs");
    EXPECT_EQ(with({"--width-mode", "min", "--width", "656"}),
              "the job of --input /d: --width 656: at most 640 with --width-mode min");
    EXPECT_EQ(with({"--audio-mode", "vbr", "--audio-bitrate", "64"}),
              "the job of --input /d: --audio-bitrate 64: at least 80 with --audio-mode vbr");
    EXPECT_EQ(with({"--list-tracks", "/d"}), "--list-tracks cannot be combined with --input");
    // The size of the defaults may be replaced by a job's own.
    EXPECT_EQ(Refusal({"--size", "700", "--input", "/d", "--output", "/o", "--quality", "50"}),
              "<accepted>");
}

// A row that sets nothing, or both a job's and the run's values, would be a new option added
// half-way.
TEST(CliOptions, EveryRowSetsEitherAJobsValueOrTheRuns) {
    for (const TOptionDef& def : CliOptionTable()) {
        EXPECT_NE(def.ToJob == nullptr, def.ToRun == nullptr) << def.Name;
        if (def.StartsJob || def.NeedsInput || def.ChoosesSize) {
            EXPECT_TRUE(def.ToJob) << def.Name;
        }
        EXPECT_EQ(FindOption(def.Name), &def);
    }
}

TEST(CliOptions, HelpAndListingNeedNoJob) {
    EXPECT_TRUE(Parse({"--help"}).Help);
    EXPECT_EQ(Parse({"--list-tracks", "/d"}).ListTracks, "/d");
}

}  // namespace
