#include "cli/Headless.h"

#include <gtest/gtest.h>
#include <signal.h>

#include "app/AdvancedStore.h"
#include "app/Messages.h"
#include "dvd/SourceFolder.h"
#include "platform/system.h"
#include "support/FakeInstallation.h"
#include "support/FakeRuns.h"
#include "support/RecordingSink.h"
#include "support/TextTitles.h"

using namespace testing_support;

namespace {

// A run that writes its output name and `last` as its last line, then ends.
class ScriptedRun : public IJobRun {
  public:
    ScriptedRun(const TEncRecord& s, std::string last) : settings_(s), last_(std::move(last)) {}
    void Start() override {
        thread_ = std::thread([this] {
            settings_.Log->AddLine("run " + settings_.OutputFile);
            if (!last_.empty()) settings_.Log->AddLine(last_);
        });
    }
    void WaitFor() override {
        if (thread_.joinable()) thread_.join();
    }
    ~ScriptedRun() override { WaitFor(); }

  private:
    TEncRecord settings_;
    std::string last_;
    std::thread thread_;
};

class HeadlessTest : public testing::Test {
  protected:
    HeadlessTest() {
        ResetProgramState();
        Program() = TProgramValues();
        hooks_.Machine = {install_.ProgramDir(), install_.SystemDir(), {true, true, true}};
        hooks_.MakeRun = [this](const TEncRecord& settings, uint32_t) {
            std::lock_guard<std::mutex> lock(mutex_);
            ran_.push_back(settings);
            const std::string last = failing_ == settings.OutputFile ? "EXCEPTION: boom" : "";
            return std::unique_ptr<IJobRun>(new ScriptedRun(settings, last));
        };
        hooks_.PowerOff = [this] { ++powerOffs_; };
    }
    ~HeadlessTest() override { ResetProgramState(); }

    int Run(const std::vector<std::string>& args) {
        return RunHeadless(ParseCliOptions(args), out_, err_, hooks_);
    }
    std::string Title(const std::string& name = "dvd", const TextTitle& t = TwoTrackTitle()) {
        return MakeTextTitle(media_, name, t);
    }
    std::vector<std::string> Job(const std::string& output, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"--input", Title(), "--output", media_.File(output)};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    FakeInstallation install_;
    TempDir media_;
    THeadlessHooks hooks_;
    RecordingSink out_;
    RecordingSink err_;
    std::mutex mutex_;
    std::vector<TEncRecord> ran_;
    std::string failing_;
    int powerOffs_ = 0;
};

TEST_F(HeadlessTest, JobsRunInOrderAndAllFineIsZero) {
    std::vector<std::string> args = Job("a", {"--audio", "none", "--quality", "80"});
    for (const std::string& arg : Job("b.mpg", {"--codec", "divx", "--shutdown"}))
        args.push_back(arg);
    EXPECT_EQ(Run(args), kExitOk);
    EXPECT_EQ(err_.Lines(), std::vector<std::string>{});
    ASSERT_EQ(ran_.size(), 2u);
    EXPECT_EQ(ran_[0].OutputFile, media_.File("a.avi"));
    EXPECT_EQ(ran_[0].AudioTrack, -1);
    EXPECT_TRUE(ran_[0].QualityMode);
    EXPECT_EQ(ran_[0].Quality, 80);
    EXPECT_EQ(ran_[0].Codec, kCodecXviD);
    EXPECT_EQ(ran_[1].OutputFile, media_.File("b.avi"));
    EXPECT_EQ(ran_[1].AudioTrack, 0);
    EXPECT_EQ(ran_[1].TargetSize, 1400);
    EXPECT_EQ(ran_[1].Codec, kCodecDivX);
    EXPECT_EQ(out_.Lines(), (std::vector<std::string>{"run " + media_.File("a.avi"),
                                                      "run " + media_.File("b.avi")}));
    EXPECT_EQ(powerOffs_, 1);
}

TEST_F(HeadlessTest, AFailedJobMakesTheStatusOne) {
    failing_ = media_.File("a.avi");
    std::vector<std::string> args = Job("a");
    for (const std::string& arg : Job("b")) args.push_back(arg);
    EXPECT_EQ(Run(args), kExitFailed);
    EXPECT_EQ(ran_.size(), 2u);  // the queue goes on after a failed job

    // A run that cannot even be made counts as failed too.
    ResetProgramState();
    hooks_.MakeRun = [](const TEncRecord&, uint32_t) -> std::unique_ptr<IJobRun> {
        throw std::runtime_error("no run");
    };
    EXPECT_EQ(Run(Job("c")), kExitFailed);
}

TEST_F(HeadlessTest, RefusedChoicesRunNothing) {
    install_.Remove("filters/vsfilter.dll");
    media_.Write("exists.avi", "");
    const std::string vsfilter = install_.ProgramDir() + "/filters/vsfilter.dll";
    const struct {
        std::vector<std::string> args;
        std::string firstMessage;
    } cases[] = {
        {Job("a", {"--audio", "2"}),
         "movrex-cli: --audio 2: Deutsch DTS 6ch is a DTS track, which cannot be encoded; choose "
         "another track or none; nothing was run."},
        {Job("a", {"--audio", "4"}),
         "movrex-cli: --audio 4: the title has only 2 such tracks; nothing was run."},
        {Job("a", {"--subs", "1"}), vsfilter + " is not found.\\nSubtitles will be disabled."},
        {Job("exists"), "movrex-cli: --output " + media_.File("exists") + ": " +
                            media_.File("exists.avi") +
                            " exists already; give --overwrite to replace it; nothing was run."},
        {Job("none/a"), "movrex-cli: --output " + media_.File("none/a") + ": the folder " +
                            media_.File("none") + " does not exist; nothing was run."},
        {Job("a[1]"), kInvalidOutputPathMessage},
        {Job("say \"hi\""), kOutputPathQuoteMessage},
        {{"--input", media_.Path(), "--output", media_.File("a")}, kNotDvdMessage},
        {{"--input", media_.File("x [1]"), "--output", media_.File("a")}, kInvalidInputPathMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstMessage);
        ResetProgramState();
        err_.Clear();
        // A good job first: it is not run either.
        std::vector<std::string> args = Job("good");
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(Run(args), kExitRefused);
        ASSERT_FALSE(err_.Lines().empty());
        EXPECT_EQ(err_.Lines().front(), c.firstMessage);
        EXPECT_TRUE(ran_.empty());
    }
}

TEST_F(HeadlessTest, ExistingOutputIsReplacedWhenAsked) {
    media_.Write("exists.avi", "");
    EXPECT_EQ(Run(Job("exists", {"--overwrite"})), kExitOk);
}

TEST_F(HeadlessTest, SecondTracksAndExternalSubtitles) {
    EXPECT_EQ(Run(Job("a", {"--audio2", "1", "--subs", "2", "--subs2", "1", "--external-subs"})),
              kExitOk);
    ASSERT_EQ(ran_.size(), 1u);
    EXPECT_EQ(ran_[0].AudioTrack2, 0);
    EXPECT_EQ(ran_[0].SubTrack, 1);
    EXPECT_EQ(ran_[0].SubTrack2, 0);
    EXPECT_TRUE(ran_[0].ExternalSubs);

    // Without the archiver the option is refused with the window's message.
    install_.Remove("WinRAR/rar.exe");
    ResetProgramState();
    EXPECT_EQ(Run(Job("b", {"--subs", "1", "--external-subs"})), kExitRefused);
    EXPECT_EQ(err_.Lines().front(), kRarMissingMessage);
    EXPECT_EQ(ran_.size(), 1u);
}

TEST_F(HeadlessTest, TheWindowsStoredOptionsAreTheDefaults) {
    platform::IniFile ini(install_.ConfigDir() + "/movrex.ini");
    for (const auto& [key, value] :
         std::vector<std::pair<const char*, const char*>>{{"rgCodec_ItemIndex", "1"},
                                                          {"rgAudio_ItemIndex", "2"},
                                                          {"spinBitrate_Value", "64"},
                                                          {"rgResolution_ItemIndex", "1"},
                                                          {"udWidth_Position", "800"},
                                                          {"cbForcedSubs_Checked", "True"},
                                                          {"cbExternalSubs_Checked", "True"}})
        ASSERT_TRUE(ini.WriteString("TformAdvanced", key, value));
    const TAdvancedValues stored = StoredAdvancedDefaults();
    install_.Remove("WinRAR/rar.exe");
    EXPECT_EQ(RunHeadless(ParseCliOptions(Job("a"), stored), out_, err_, hooks_), kExitOk);
    ASSERT_EQ(ran_.size(), 1u);
    EXPECT_EQ(ran_[0].Codec, kCodecDivX);
    EXPECT_EQ(ran_[0].AudioMode, kAudioVbrMp3);
    EXPECT_EQ(ran_[0].AudioBitrate, 80);
    EXPECT_EQ(ran_[0].ResizeMode, kResizeMinimum);
    EXPECT_EQ(ran_[0].TargetWidth, 640);
    EXPECT_TRUE(ran_[0].ForcedSubsOnly);
    // A stored tick without the archiver gives way with its message, as in the window.
    EXPECT_FALSE(ran_[0].ExternalSubs);
    EXPECT_EQ(err_.Lines(), std::vector<std::string>{kRarMissingMessage});

    const TCliOptions given =
        ParseCliOptions(Job("b", {"--no-forced-subs", "--codec", "xvid"}), stored);
    EXPECT_FALSE(given.Jobs[0].Advanced.ForcedSubs);
    EXPECT_EQ(given.Jobs[0].Advanced.CodecIndex, 0);
    EXPECT_FALSE(
        ParseCliOptions({"--no-external-subs", "--input", "/d", "--output", "/o.avi"}, stored)
            .Jobs[0]
            .Advanced.ExternalSubs);
}

TEST_F(HeadlessTest, FailedStartAndASecondCopy) {
    install_.Remove("BeSweet/BeSweet.exe");
    EXPECT_EQ(Run(Job("a")), kExitFailed);
    EXPECT_EQ(err_.Lines(), std::vector<std::string>{install_.ProgramDir() +
                                                     "/BeSweet/BeSweet.exe" + kToolMissingSuffix});
    install_.Add("BeSweet/BeSweet.exe");
    err_.Clear();
    // One copy on a configuration folder; a copy with a folder of its own runs beside it.
    platform::SingleInstance first("Movrex", install_.ConfigDir());
    ASSERT_TRUE(first.Acquired());
    EXPECT_EQ(Run(Job("a")), kExitFailed);
    EXPECT_EQ(err_.Lines(), std::vector<std::string>{"movrex-cli: Movrex is running already."});
    EXPECT_TRUE(ran_.empty());
    TempDir other;
    ScopedEnv otherConfig("MOVREX_CONFIG_DIR", other.File("config"));
    EXPECT_EQ(Run(Job("b")), kExitOk);
    EXPECT_EQ(ran_.size(), 1u);
}

TEST_F(HeadlessTest, InterruptAbortsTheRunningJobAndStopsTheQueue) {
    RunGate gate;
    hooks_.MakeRun = [&](const TEncRecord& settings, uint32_t) {
        ran_.push_back(settings);
        // Ctrl+C while the job runs; the run ends as an aborted one does.
        kill(getpid(), SIGINT);
        return std::unique_ptr<IJobRun>(new GatedRun(gate, settings, nullptr, 0));
    };
    std::vector<std::string> args = Job("a", {"--shutdown"});
    for (const std::string& arg : Job("b")) args.push_back(arg);
    EXPECT_EQ(Run(args), kExitFailed);
    EXPECT_EQ(ran_.size(), 1u);
    EXPECT_EQ(powerOffs_, 0);
    EXPECT_EQ(err_.Lines(), std::vector<std::string>{
                                "Interrupted: aborting the running job; the remaining jobs are not "
                                "run."});
}

TEST_F(HeadlessTest, ListingShowsTheChoosersItems) {
    EXPECT_EQ(Run({"--list-tracks", Title()}), kExitOk);
    EXPECT_EQ(out_.Lines(),
              (std::vector<std::string>{"Video info:   PAL - 720x576 - 16:9 Anamorphic - 25fps",
                                        "audio 1: English AC3 6ch", "audio 2: Deutsch DTS 6ch",
                                        "audio 3: No Audio Track", "subtitle 1: English",
                                        "subtitle 2: Deutsch", "subtitle 3: No Subtitles"}));
    out_.Clear();
    EXPECT_EQ(Run({"--list-tracks", media_.Path()}), kExitRefused);
    EXPECT_EQ(err_.Lines(), std::vector<std::string>{kNotDvdMessage});
    EXPECT_TRUE(out_.Lines().empty());
}

}  // namespace
