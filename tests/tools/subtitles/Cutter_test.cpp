// The installed Cutter on bad sources: a pair delivered as the planner leaves it beside the AVI
// (the index and an archive of the bitmaps made by the installed archiver), then damaged. Its
// good cuts are judged under the planner's split stage (Planner_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>

#include "TitleCase.h"
#include "archiver/Commands.h"

namespace {

class DeliveredPair : public subtitletest::TitleCase {
  protected:
    void SetUp() override {
        TitleCase::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        base_ = Extract({0, 1, 2});
        ASSERT_EQ(configure_.status, 0) << configure_.output;
        ASSERT_EQ(Planner(rar_ + " a -m5 -ep \"" + base_ + ".rar\" \"" + base_ + ".sub\""), 0);
        std::filesystem::remove(base_ + ".sub");
    }
    const std::string rar_ = dist_ + "/WinRAR/rar.exe";
    std::string base_;
};

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
