#pragma once
// What the codec tests share: the staged installation's codecs with a user hive of the test's
// own (written by the planner's writers, as before a job's run), the generated clips, and the
// independent readings of a compressed stream by ffprobe and ffmpeg.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CodecRun.h"
#include "codec/reg.h"
#include "support/TestEnv.h"

namespace codec_testing {

class CodecTest : public ::testing::Test {
  protected:
    CodecTest();
    void SetUp() override;

    std::string Clip(const std::string& name) const { return clips_ + "/" + name; }
    std::string File(const std::string& name) const { return work_.File(name); }
    // Compresses the first `frames` frames of short.yuv (320x176) with a fresh instance of
    // `handler`, optionally given `state` first; the stream goes to File(out).
    CodecResult Short(const std::string& handler, const std::string& out, int frames = 50,
                      const std::vector<uint8_t>* state = nullptr);

    testing_support::TempDir work_;
    testing_support::ScopedEnv config_;
    testing_support::ScopedEnv system_;
    testing_support::ScopedEnv machine_;
    std::string clips_;
};

// The planner's settings of each XviD run (split-core layout) and each DivX run.
TXviDCodecParams XvidParams(int32_t mode, const std::string& stats = "");
TDivXCodecParams DivxParams(int32_t vbrMode, const std::string& log = "");
void WriteXvid(const TXviDCodecParams& params);
void WriteDivx(const TDivXCodecParams& params);

// Picture types in display order ("IBPBP..."), as ffprobe reads them.
std::string FrameTypes(const std::string& stream);
// The quantizers of every macroblock, by picture type, as ffmpeg's decoder reports them.
std::map<char, std::multiset<int>> Quantizers(const std::string& stream);
// What ffmpeg says when it decodes the whole stream; empty when it decodes cleanly.
std::string DecodeProblems(const std::string& stream);
// The lowest and highest U and V sample of each decoded frame ("UMIN UMAX VMIN VMAX").
std::vector<std::vector<int>> ChromaRanges(const std::string& stream);
// Output of a shell command (standard output and error) and its exit status.
std::string Shell(const std::string& command, int* status = nullptr);

}  // namespace codec_testing
