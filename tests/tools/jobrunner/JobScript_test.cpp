// The job runner's reading of job scripts: the four kinds the planner's own writers make, with
// paths and names that need every escape, and the faults a script can have.
#include <gtest/gtest.h>

#include "JobStatements.h"
#include "scripts/avs.h"

namespace {

using namespace jobrunner;

// A folder with a blank, a backslash, a double quote and a non-ASCII letter.
const std::string kDir = "/tmp/Films \xC3\xA9t\xC3\xA9 \\ \"2\"/mx_tmp/";

std::string State(const std::string&) {
    return "4,\"AQIDBA==\"";
}

Job Read(const TScriptLines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return MakeJob(ReadJobScript(text, "lastjob.vcf"), "lastjob.vcf");
}

TScriptEnvironment Env() {
    TScriptEnvironment env;
    env.Ansi = CodePage::Utf8;
    env.CodecState = &State;
    return env;
}

TEST(JobScript, ThePlannersJobsReadAsTheyAreMeant) {
    TScriptLines lines;
    MakeAnalysisJob(lines, kDir + "_.avs", kDir + "_.avi");
    Job job = Read(lines);
    EXPECT_EQ(job.input, kDir + "_.avs");
    EXPECT_EQ(job.output, kDir + "_.avi");
    EXPECT_TRUE(job.copyVideo);
    EXPECT_FALSE(job.codec);
    EXPECT_TRUE(job.audio.empty());

    MakeVideoJob(lines, kDir + "film_movie.avs", kDir + "film.avi", 1, Env());
    job = Read(lines);
    EXPECT_FALSE(job.copyVideo);
    EXPECT_EQ(job.codec, 0x78766964u);
    EXPECT_EQ(job.codecState, (std::vector<uint8_t>{1, 2, 3, 4}));

    MakeFinalJob(lines, kDir + "film_movie.avs", kDir + "film.avi",
                 kDir + "film T01 AC3 DELAY -40ms.ac3", kDir + "film T02 DELAY 120ms.mp3", 1, 0,
                 "English",
                 "Fran\xC3\xA7"
                 "ais",
                 Env());
    job = Read(lines);
    EXPECT_EQ(job.codec, 0x64697678u);
    ASSERT_EQ(job.audio.size(), 2u);
    const AudioStreamJob& ac3 = job.audio.at(0);
    EXPECT_EQ(ac3.file, kDir + "film T01 AC3 DELAY -40ms.ac3");
    EXPECT_EQ(ac3.format, kFormatAc3);
    EXPECT_FALSE(ac3.variableRate);
    EXPECT_EQ(ac3.delayMs, -40);
    EXPECT_TRUE(ac3.clipToVideoEnd);
    const AudioStreamJob& mp3 = job.audio.at(1);
    EXPECT_EQ(mp3.format, kFormatMpegAudio);
    EXPECT_TRUE(mp3.variableRate);
    EXPECT_EQ(mp3.delayMs, 120);
    EXPECT_EQ(mp3.preloadMs, 500);
    ASSERT_EQ(job.comments.size(), 2u);
    EXPECT_EQ(job.comments[1].tag, "IAS2");
    EXPECT_EQ(job.comments[1].text,
              "Fran\xC3\xA7"
              "ais");

    MakeSplitJob(lines, kDir + "film.avi", kDir + "film.cd2.avi", 7575, 7000, 3, true, "English",
                 "Deutsch", Env());
    job = Read(lines);
    EXPECT_TRUE(job.copyVideo);
    ASSERT_TRUE(job.range);
    EXPECT_EQ(job.range->first, 7575);
    EXPECT_EQ(job.range->count, 7000);
    ASSERT_EQ(job.audio.size(), 2u);
    EXPECT_EQ(job.audio.at(1).aviStream, 1);
    EXPECT_TRUE(job.audio.at(1).file.empty());
}

TEST(JobScript, FaultsNameTheScriptAndTheLine) {
    const std::string open = "VirtualDub.Open(\"in.avs\",0,0);\n";
    const std::string save = "VirtualDub.SaveAVI(\"out.avi\");\n";
    const struct {
        std::string text;
        const char* said;
    } cases[] = {
        {open + "VirtualDub.video.SetFilter(1);\n" + save,
         "line 2: unknown statement VirtualDub.video.SetFilter"},
        {open + "VirtualDub.video.SetMode(\"1\");\n" + save,
         "line 2: VirtualDub.video.SetMode: takes (integer), not (string)"},
        {open + "VirtualDub.video.SetMode(7);\n" + save, "the mode 7 is outside 0..3"},
        {save + open, "line 1: VirtualDub.SaveAVI: nothing is open yet"},
        {open + save + "VirtualDub.subset.Delete();\n",
         "line 3: VirtualDub.subset.Delete comes after SaveAVI"},
        {open, "lastjob.vcf: the job saves nothing"},
        {open + open + save, "line 2: VirtualDub.Open: the job opened an input already, on line 1"},
        {"VirtualDub.Open(\"a\\qb\",0,0);\n", "line 1: unknown escape \"\\q\""},
        {"VirtualDub.Open(\"ab,0,0);\n", "line 1: a string is not closed on its line"},
        {open + "VirtualDub.subset.Clear(); VirtualDub.subset.Clear();\n",
         "line 2: only one statement per line"},
        {open + "VirtualDub.video.SetMode(0)\n", "line 2: expected \";\""},
        {"Open(\"a\",0,0);\n", "line 1: a statement starts with \"VirtualDub.\""},
        {open + "VirtualDub.video.SetCompData(4,\"AQI!BA==\");\n" + save,
         "line 2: VirtualDub.video.SetCompData: the state is no Base64 text"},
        {open + "VirtualDub.video.SetCompData(5,\"AQIDBA==\");\n" + save,
         "the state holds 4 bytes, its size says 5"},
        {open + "VirtualDub.stream[0].SetMode(0);\n" + save,
         "line 2: VirtualDub.stream[].SetMode: stream 0 has no SetSource before it"},
        {open + "VirtualDub.stream[0].SetSource(\"a.wav\",0x00000001,0);\n" + save,
         "the format code 1 is neither 0x202"},
        {open + "VirtualDub.subset.AddRange(10,0);\n" + save, "the frame count 0 is outside 1.."},
        {open + "VirtualDub.video.SetMode(0x123456789);\n", "more than eight digits"},
        {open + "VirtualDub.video.AddComment(0,\"IAS\",\"x\");\n" + save,
         "\"IAS\" is no four-character tag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            MakeJob(ReadJobScript(c.text, "lastjob.vcf"), "lastjob.vcf");
            ADD_FAILURE() << "no error";
        } catch (const JobError& e) {
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("lastjob.vcf", 0), 0u) << e.what();
        }
    }
}

}  // namespace
