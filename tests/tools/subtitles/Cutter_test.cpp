// The installed Cutter on a pair delivered as the planner leaves it beside the AVI (the index and
// an archive of the bitmaps made by the installed archiver), started with the planner's own
// command lines; the parts are judged by ffmpeg's vobsub demuxer.
#include <gtest/gtest.h>

#include <filesystem>

#include "PairReading.h"
#include "TitleCase.h"
#include "archiver/Commands.h"
#include "platform/process.h"

namespace {

using subtitletest::kAuthored;
using subtitletest::kSecondCellMs;

class DeliveredPair : public subtitletest::TitleCase {
  protected:
    void SetUp() override {
        TitleCase::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        base_ = Extract({0, 1, 2});
        ASSERT_EQ(Planner(rar_ + " a -m5 -ep \"" + base_ + ".rar\" \"" + base_ + ".sub\""), 0);
        std::filesystem::remove(base_ + ".sub");
    }
    // Starts a command line as the planner's runner does: one string, split by the Windows rules,
    // a bare program name looked up in the system folder.
    int Planner(const std::string& line) {
        testing_support::ScopedEnv system("MOVREX_SYSTEM_DIR", dist_ + "/system");
        platform::Process process;
        std::string error;
        if (!process.Start(line, {}, &error)) ADD_FAILURE() << error;
        return process.Wait();
    }
    int Cut(const std::string& part, const std::string& start, const std::string& end) {
        return Planner("rundll32 " + dist_ + "/system/vobsub.dll,Cutter " + base_ + " " + part +
                       " 1 " + start + " " + end);
    }

    const std::string dist_ = testing_support::DistDir();
    const std::string rar_ = dist_ + "/WinRAR/rar.exe";
    std::string base_;
};

TEST_F(DeliveredPair, TwoPartsHoldEverySubpictureOnceWithTimesFromTheirStart) {
    ASSERT_EQ(Cut(base_ + ".cd1", "0:0:0.0", "00:00:02.000"), 0);
    ASSERT_EQ(Cut(base_ + ".cd2", "00:00:02.000", "00:00:04.040"), 0);
    const auto first = subtitletest::ReadPairWithFfmpeg(base_ + ".cd1.idx");
    const auto second = subtitletest::ReadPairWithFfmpeg(base_ + ".cd2.idx");
    ASSERT_EQ(first.error + second.error, "");
    ASSERT_EQ(first.subpictures.size() + second.subpictures.size(), std::size(kAuthored));
    for (const auto& a : kAuthored) {
        const bool later = a.ms >= kSecondCellMs;
        const auto& part = later ? second.subpictures : first.subpictures;
        const int64_t ms = later ? a.ms - kSecondCellMs : a.ms;
        EXPECT_TRUE(std::any_of(part.begin(), part.end(),
                                [&](const auto& s) {
                                    return s.stream == a.stream && s.ms == ms &&
                                           s.yellow == a.yellow;
                                }))
            << "stream " << a.stream << " at " << a.ms;
    }
    // The part's bitmaps pack again as the planner does it.
    EXPECT_EQ(Planner(rar_ + " a -m5 -ep \"" + base_ + ".cd2.rar\" \"" + base_ + ".cd2.sub\""), 0);
}

TEST_F(DeliveredPair, BadSourcesAreReportedByNameAndWriteNoPart) {
    const std::string vobsub = dist_ + "/system/vobsub.dll,Cutter";
    const std::string part = base_ + ".cd1";
    auto cut = tooltest::Run(
        {dist_ + "/system/rundll32", vobsub, base_, part, "1", "00:00:03.000", "00:00:01.000"});
    EXPECT_NE(cut.status, 0);
    EXPECT_NE(cut.output.find("the end time lies before the start time"), std::string::npos)
        << cut.output;

    std::filesystem::resize_file(base_ + ".rar", std::filesystem::file_size(base_ + ".rar") / 2);
    cut = tooltest::Run(
        {dist_ + "/system/rundll32", vobsub, base_, part, "1", "0:0:0.0", "00:00:01.000"});
    EXPECT_NE(cut.status, 0);
    EXPECT_NE(cut.output.find(base_ + ".rar: "), std::string::npos) << cut.output;
    EXPECT_FALSE(std::filesystem::exists(part + ".idx"));
    EXPECT_FALSE(std::filesystem::exists(part + ".sub"));
}

}  // namespace
