// The AVI writer in both index forms, read back by the planner's split search and by ffprobe. A
// small RIFF limit makes the OpenDML form out of a few megabytes; the installed program's file
// past 1 GiB is LargeAvi_test's.
#include <gtest/gtest.h>

#include <filesystem>

#include "AviFormats.h"
#include "AviWriter.h"
#include "avi/AviSplit.h"
#include "support/TestEnv.h"

namespace {

using namespace jobrunner;

constexpr int kFrames = 300;

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    if (pipe) pclose(pipe);
    return out;
}

// 300 frames of varying size with a key frame every 25 and one empty frame, and byte-counted
// audio in half-second chunks between them; `riffLimit` bytes of chunks a RIFF.
std::string WriteFile(const testing_support::TempDir& dir, const std::string& name,
                      uint64_t riffLimit) {
    const std::string path = dir.File(name);
    media::OutputFile file(path + ".partial");
    VideoDescription video;
    video.width = 320;
    video.height = 240;
    video.fourcc = 0x34504D46;  // "FMP4"
    FrameHeader ac3;
    ac3.coding = AudioCoding::Ac3;
    ac3.sampleRate = 48000;
    ac3.channels = 2;
    ac3.samplesPerFrame = 1536;
    ac3.bitRate = 192000;
    AviLayout layout;
    layout.streams = {VideoStream(video, true), AudioStream(ac3, AudioLayout::ByteCounted, 1)};
    layout.comments = {{"IAS1", "English"}};
    layout.riffLimit = riffLimit;
    AviWriter writer(file, layout);
    const std::vector<uint8_t> audio(12000, 0x55), frame(40000, 0xAA);
    for (int n = 0; n < kFrames; ++n) {
        if (n % 12 == 0) writer.Write(1, audio.data(), audio.size(), true, audio.size());
        const size_t size = n == 7 ? 0 : 1001 + size_t(n * 97 % 30000);
        writer.Write(0, frame.data(), size, n % 25 == 0, 1);
    }
    writer.Finish();
    file.Commit(path);
    return path;
}

TEST(AviWriter, BothIndexFormsReadAlikeByTheSplitSearchAndFfprobe) {
    testing_support::TempDir dir;
    const std::string plain = WriteFile(dir, "plain.avi", kRiffLimit);
    const std::string odml = WriteFile(dir, "odml.avi", 1 << 20);
    TAVISplitSearch a, b;
    ASSERT_TRUE(a.Open(plain)) << a.LastError();
    ASSERT_TRUE(b.Open(odml)) << b.LastError();
    EXPECT_FALSE(a.IsOpenDml());
    EXPECT_FALSE(a.UsedOpenDmlIndex());
    EXPECT_TRUE(b.UsedOpenDmlIndex());
    EXPECT_EQ(b.OdmlTotalFrames(), uint32_t(kFrames));
    ASSERT_EQ(a.Index().size(), b.Index().size());
    int keys = 0;
    for (size_t i = 0; i < a.Index().size(); ++i) {
        EXPECT_EQ(a.Index()[i].Kind, b.Index()[i].Kind) << i;
        EXPECT_EQ(a.Index()[i].Size, b.Index()[i].Size) << i;
        keys += a.Index()[i].Kind == kChunkKeyFrame;
    }
    EXPECT_EQ(keys, kFrames / 25);
    for (int32_t start : {0, 25, 150})
        EXPECT_EQ(a.FindSplitFrame(start, 2), b.FindSplitFrame(start, 2)) << start;
    EXPECT_EQ(a.FindSplitFrame(0, 2) % 25, 0);

    for (const std::string& file : {plain, odml}) {
        SCOPED_TRACE(file);
        // The reader skips the empty chunk; its frame keeps its place in the time stamps.
        EXPECT_EQ(
            Output("ffprobe -v error -select_streams v -show_entries packet=flags -of csv=p=0 '" +
                   file + "' | grep -c K"),
            std::to_string(kFrames / 25) + "\n");
        EXPECT_EQ(Output("ffprobe -v error -select_streams v -count_packets -show_entries "
                         "stream=nb_read_packets -of csv=p=0 '" +
                         file + "'"),
                  std::to_string(kFrames - 1) + "\n");
        EXPECT_EQ(
            Output("ffprobe -v error -show_entries format_tags=IAS1 -of csv=p=0 '" + file + "'"),
            "English\n");
    }
}

}  // namespace
