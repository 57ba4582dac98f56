// The installed job runner on each kind of job the planner writes, judged by ffprobe and ffmpeg,
// and on bad input: a clear message naming the file, and nothing under the output's name.
#include <filesystem>
#include <fstream>

#include "JobRunnerRun.h"
#include "platform/files.h"

namespace {

using namespace jobrunner_test;

constexpr int kFrames = 200;  // flash.y4m: 8 s at 25 frames per second
const std::string kAc3 = "flash T01 AC3 2ch 48kHz 192Kbps DELAY 0ms.ac3";
const std::string kAc3Six = "flash T02 AC3 6ch 48kHz 448Kbps DELAY -40ms.ac3";
const std::string kVbr = "vbr/flash T01 AC3 2ch 48kHz 192Kbps DELAY 0ms.mp3";
const std::string kCbr = "cbr/flash T01 AC3 2ch 48kHz 192Kbps DELAY 0ms.mp3";

int64_t SumOfLines(const std::string& path, int& lines) {
    std::ifstream in(path);
    int64_t sum = 0;
    lines = 0;
    for (std::string line; std::getline(in, line); ++lines) sum += std::stoll(line.substr(1));
    return sum;
}

int64_t SumOfPackets(const std::string& avi) {
    std::istringstream sizes(
        Shell("ffprobe -v error -select_streams v -show_entries packet=size -of csv=p=0 " +
              Quoted(avi))
            .output);
    int64_t sum = 0;
    for (int64_t size; sizes >> size;) sum += size;
    return sum;
}

using Jobs = JobRunnerTest;

TEST_F(Jobs, AnalysisJobServesEveryFrameAndWritesNothing) {
    TScriptLines script, job;
    MakeAnalysisScript(script, Media("flash.y4m"), File("mx_tmp/interlace.log"), Environment());
    SaveScript(script, File("mx_tmp/_.avs"));
    MakeAnalysisJob(job, File("mx_tmp/_.avs"), File("mx_tmp/_.avi"));
    const ProgramRun run = Run(job, "/nowrite");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(std::filesystem::exists(File("mx_tmp/_.avi")));
    std::ifstream log(File("mx_tmp/interlace.log"));
    int lines = 0;
    for (std::string line; std::getline(log, line);) ++lines;
    // Eighteen frames of every 180: 0-17 and 180-197.
    EXPECT_EQ(lines, 36);
    EXPECT_NE(run.output.find("progress 36 36"), std::string::npos) << run.output;
}

TEST_F(Jobs, VideoJobLogsEveryFrameWithBothCodecs) {
    const std::string script = MovieScript();
    for (uint8_t codec : {0, 1}) {
        SCOPED_TRACE(int(codec));
        TScriptLines job;
        MakeVideoJob(job, script, File("film.avi"), codec, Environment());
        const ProgramRun run = Run(job, "/log" + Quoted(File("mx_tmp/frames.log")));
        ASSERT_EQ(run.status, 0) << run.output;
        int lines = 0;
        EXPECT_EQ(SumOfLines(File("mx_tmp/frames.log"), lines), SumOfPackets(File("film.avi")));
        EXPECT_EQ(lines, kFrames);
        EXPECT_EQ(
            Probe(File("film.avi"), "stream=codec_name,codec_tag_string,nb_frames,r_frame_rate"),
            std::string(codec == 0 ? "mpeg4|XVID" : "mpeg4|DX50") + "|25/1|200");
        EXPECT_EQ(DecodeProblems(File("film.avi")), "");
    }
}

TEST_F(Jobs, FinalJobWithEachAudioCombination) {
    const std::string script = MovieScript();
    const struct {
        std::string first, second;
        uint8_t mode;
        std::string streams;
    } cases[] = {
        {"", "", 1, "mpeg4"},
        {kAc3, "", 1, "mpeg4|ac3|2"},
        {kVbr, "", 2, "mpeg4|mp3|2"},
        {kCbr, "", 3, "mpeg4|mp3|2"},
        {kVbr, kAc3Six, 2, "mpeg4|mp3|2|ac3|6"},
    };
    // An output folder with a blank and non-ASCII letters, as the planner escapes them.
    const std::string output = File("Fran\xC3\xA7ois d\xC3\xA9j\xC3\xA0/film.avi");
    std::filesystem::create_directories(std::filesystem::path(output).parent_path());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first + " + " + c.second);
        TScriptLines job;
        MakeFinalJob(job, script, output, c.first.empty() ? "" : Media(c.first),
                     c.second.empty() ? "" : Media(c.second), c.mode, 0, "English",
                     "Fran\xC3\xA7"
                     "ais",
                     Environment());
        const ProgramRun run = Run(job);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(Probe(output, "stream=codec_name,channels"), c.streams);
        EXPECT_EQ(DecodeProblems(output), "");
        if (!c.first.empty()) {
            EXPECT_EQ(Probe(output, "format_tags=IAS1"), "English");
            // The audio ends with the video (shown one frame late for its B-frames), to within
            // half an audio frame.
            EXPECT_NEAR(DecodedSeconds(output, 0), 8.04, 0.017);
        }
        if (!c.second.empty()) {
            EXPECT_EQ(Probe(output, "format_tags=IAS2"),
                      "Fran\xC3\xA7"
                      "ais");
        }
    }
}

TEST_F(Jobs, SplitCopiesItsRangeWithTheAudioOfThatTime) {
    TScriptLines job;
    MakeFinalJob(job, MovieScript(), File("film.avi"), Media(kAc3), Media(kVbr), 1, 0, "English",
                 "Deutsch", Environment());
    ASSERT_EQ(Run(job).status, 0);
    // The key frames the codec chose; the part starts at the last one before the middle.
    std::istringstream flags(Shell("ffprobe -v error -select_streams v -show_entries packet=flags "
                                   "-of csv=p=0 " +
                                   Quoted(File("film.avi")))
                                 .output);
    int first = 0, n = 0;
    for (std::string f; std::getline(flags, f); ++n)
        if (f[0] == 'K' && n <= kFrames / 2) first = n;
    ASSERT_GT(first, 0) << "the codec made no key frame but the first";
    const int count = kFrames - first - 10;
    MakeSplitJob(job, File("film.avi"), File("film.cd2.avi"), first, count, 1, true, "English",
                 "Deutsch", Environment());
    const ProgramRun run = Run(job);
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string packets =
        "ffprobe -v error -select_streams v -show_entries packet=size -of csv=p=0 ";
    const std::string whole = Shell(packets + Quoted(File("film.avi"))).output;
    std::istringstream lines(whole);
    std::string range;
    n = 0;
    for (std::string line; std::getline(lines, line); ++n)
        if (n >= first && n < first + count) range += line + "\n";
    EXPECT_EQ(Shell(packets + Quoted(File("film.cd2.avi"))).output, range);
    EXPECT_EQ(Probe(File("film.cd2.avi"), "format_tags=IAS1,IAS2"), "English|Deutsch");
    // The beeps of both tracks stay with their flashes, within a frame of the source's.
    const std::vector<double> flashes = Flashes(File("film.cd2.avi"));
    ASSERT_FALSE(flashes.empty());
    for (int a : {0, 1}) {
        const std::vector<double> beeps = Beeps(File("film.cd2.avi"), a);
        ASSERT_FALSE(beeps.empty());
        double nearest = 1;
        for (double f : flashes) nearest = std::min(nearest, std::abs(f - beeps.front()));
        EXPECT_LT(nearest, 0.04) << a;
    }
}

TEST_F(Jobs, BadInputIsNamedAndLeavesNoOutput) {
    const std::string script = MovieScript();
    std::ofstream(File("a.wav")) << std::string("RIFF\x24\0\0\0WAVEfmt ", 16);
    TScriptLines good;
    MakeFinalJob(good, script, File("film.avi"), Media(kAc3), "", 1, 0, "English", "",
                 Environment());
    auto with = [&](size_t line, const std::string& text) {
        TScriptLines job = good;
        job[line] = text;
        return job;
    };
    const struct {
        TScriptLines job;
        std::string said;
    } cases[] = {
        {with(3, "VirtualDub.video.SetIVTC(0,0,-1,0)"), "lastjob.vcf, line 4: expected \";\""},
        {with(0, "VirtualDub.SaveAVI(\"" + File("film.avi") + "\");"),
         "line 1: VirtualDub.SaveAVI: nothing is open yet"},
        {with(0, "VirtualDub.Open(\"" + File("none.avs") + "\",0,0);"), "none.avs does not exist"},
        {with(10, "VirtualDub.stream[0].SetSource(\"" + File("none.ac3") + "\",0x00000203,0);"),
         "none.ac3 does not exist"},
        {with(10, "VirtualDub.stream[0].SetSource(\"" + Media(kVbr) + "\",0x00000203,0);"),
         "DELAY 0ms.mp3 is not AC3"},
        {with(10, "VirtualDub.stream[0].SetSource(\"" + File("a.wav") + "\",0x00000202,0);"),
         "a.wav is a RIFF (WAV) file, not MPEG audio"},
        {with(5, "VirtualDub.video.SetCompression(0x30303030,0,10000,0);"),
         "no codec for the code \"0000\""},
        {with(6, "VirtualDub.video.SetCompData(8,\"AAAAAAAAAAA=\");"),
         "the codec XVID (" + File("mx_tmp/lastjob.vcf") + ", line 6) refuses the state"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        // A file from an earlier run must not pass for this run's.
        std::ofstream(File("film.avi")) << "old";
        const ProgramRun run = Run(c.job);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(File("film.avi")));
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
            EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
    }
}

TEST_F(Jobs, ADamagedAviOrARangeBeyondItsEndIsNamed) {
    TScriptLines job;
    MakeFinalJob(job, MovieScript(), File("film.avi"), Media(kAc3), "", 1, 0, "English", "",
                 Environment());
    ASSERT_EQ(Run(job).status, 0);
    // Cut to its first third: the header still promises every frame.
    std::filesystem::copy_file(File("film.avi"), File("cut.avi"));
    std::filesystem::resize_file(File("cut.avi"), std::filesystem::file_size(File("cut.avi")) / 3);
    std::ofstream(File("junk.avi"))
        << std::string("RIFF\x10\0\0\0AVI LIST\xff\xff\xff\x7fhdrl", 24);
    const struct {
        std::string input;
        int first, count;
        std::string said;
    } cases[] = {
        {"film.avi", 150, 100,
         "line 14: the range of 100 frames from frame 150 runs past the end of"},
        {"cut.avi", 0, 200, "The AVI " + File("cut.avi") + " ends at frame"},
        {"junk.avi", 0, 10, "The AVI " + File("junk.avi") + " cannot be read"},
        {"film.avi", 1, 10, "frame 1 is not a key frame"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        MakeSplitJob(job, File(c.input), File("part.avi"), c.first, c.count, 1, false, "English",
                     "", Environment());
        const ProgramRun run = Run(job);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(File("part.avi")));
    }
}

TEST_F(Jobs, AFullDiskFailsTheRunAndLeavesNothing) {
    TScriptLines job;
    MakeVideoJob(job, MovieScript(), File("film.avi"), 0, Environment());
    SaveScript(job, File("job.vcf"));
    // A file size limit stands in for a full disk: the writes fail the same way.
    const ProgramRun run =
        Shell("ulimit -f 64; " + Quoted(JobRunnerPath()) + " /x /s" + Quoted(File("job.vcf")));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("film.avi"), std::string::npos) << run.output;
    EXPECT_FALSE(std::filesystem::exists(File("film.avi")));
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

}  // namespace
