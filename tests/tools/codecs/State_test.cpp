// The codec state the planner puts into every job script: read through CodecStateText right
// after each writer, set on a fresh instance opened under other settings, it reproduces the run
// bit for bit. Two instances at work in one process do not disturb each other.
#include <fstream>
#include <functional>
#include <thread>

#include "CodecTestEnv.h"
#include "util/utils.h"

namespace codec_testing {
namespace {

using State = CodecTest;

// "size,"Base64"" back to bytes, decoded by coreutils rather than by our own code.
std::vector<uint8_t> StateBytes(const std::string& text, const std::string& folder) {
    const size_t comma = text.find(',');
    if (comma == std::string::npos || text.size() < comma + 3) return {};
    std::ofstream(folder + "/state.b64") << text.substr(comma + 2, text.size() - comma - 3);
    const std::string bytes = Shell("base64 -d '" + folder + "/state.b64'");
    if (std::stoul(text.substr(0, comma)) != bytes.size()) return {};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

struct RunCase {
    const char* name;
    const char* handler;
    std::function<void(const std::string& log)> write;
};

TEST_F(State, EachRunsStateReproducesItOnAFreshInstance) {
    const std::string log = File("short_codec.log");
    const RunCase runs[] = {
        {"XviD compressibility test", "xvid",
         [](const std::string&) {
             TXviDCodecParams p = XvidParams(0);
             p.FixedQuant2 = true;
             p.QualityLevel = 200;
             WriteXvid(p);
         }},
        {"XviD quality pass with credits", "xvid",
         [](const std::string&) {
             TXviDCodecParams p = XvidParams(0);
             p.QualityLevel = 267;
             p.MatrixType = 0;
             p.Cartoon = true;
             p.CreditsFrame = 30;
             p.CreditsWeight = 40;
             p.CreditsGreyscale = true;
             WriteXvid(p);
         }},
        {"XviD first pass", "xvid", [](const std::string& l) { WriteXvid(XvidParams(1, l)); }},
        {"XviD second pass", "xvid",
         [](const std::string& l) {
             TXviDCodecParams p = XvidParams(2, l);
             p.DesiredSize = 60;
             WriteXvid(p);
         }},
        {"DivX quality pass", "divx", [](const std::string&) { WriteDivx(DivxParams(1)); }},
        {"DivX first pass", "divx", [](const std::string& l) { WriteDivx(DivxParams(2, l)); }},
        {"DivX second pass", "divx",
         [](const std::string& l) {
             TDivXCodecParams p = DivxParams(3, l);
             p.TargetBitrate = 300000;
             WriteDivx(p);
         }},
    };
    for (const RunCase& run : runs) {
        SCOPED_TRACE(run.name);
        run.write(log);
        const std::vector<uint8_t> state = StateBytes(CodecStateText(run.handler), work_.Path());
        ASSERT_FALSE(state.empty());
        ASSERT_TRUE(Short(run.handler, "registry.m4v").Ok());
        // Other settings in the registry: only the state can bring the run back.
        WriteXvid(XvidParams(0));
        WriteDivx(DivxParams(1));
        const CodecResult result = Short(run.handler, "state.m4v", 50, &state);
        ASSERT_TRUE(result.Ok()) << result.error;
        EXPECT_EQ(testing_support::ReadAll(File("state.m4v")),
                  testing_support::ReadAll(File("registry.m4v")));
    }
}

TEST_F(State, InstancesAtWorkTogetherDoNotDisturbEachOther) {
    TXviDCodecParams xvid = XvidParams(0);
    xvid.CreditsFrame = 25;
    xvid.CreditsGreyscale = true;
    WriteXvid(xvid);
    WriteDivx(DivxParams(1));
    ASSERT_TRUE(Short("xvid", "xvid.m4v").Ok());
    ASSERT_TRUE(Short("divx", "divx.m4v").Ok());
    const char* handlers[] = {"xvid", "xvid", "divx", "divx"};
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] { Short(handlers[i], "together" + std::to_string(i)); });
    }
    for (std::thread& t : threads) t.join();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(testing_support::ReadAll(File("together" + std::to_string(i))),
                  testing_support::ReadAll(File(std::string(handlers[i]) + ".m4v")))
            << handlers[i] << " instance " << i;
    }
}

}  // namespace
}  // namespace codec_testing
