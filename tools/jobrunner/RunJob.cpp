#include "RunJob.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "AudioSources.h"
#include "JobStatements.h"
#include "VideoSources.h"
#include "platform/files.h"

namespace jobrunner {

namespace {

// Bytes the header's super indexes are sized for: a RIFF of 1 GiB each, and two to spare.
uint32_t SuperIndexRoom(uint64_t estimatedBytes) {
    return uint32_t(std::max<uint64_t>(4, estimatedBytes / kRiffLimit + 2));
}
// What a compressed DVD title comes to, at the very most.
constexpr uint64_t kCompressedEstimate = uint64_t(14) << 30;

// Everything a job opens, in the order it must be closed: the video source before the script
// or codec it uses.
struct Inputs {
    std::unique_ptr<fsclient::ClipScript> script;
    std::unique_ptr<VideoCodec> codec;
    std::unique_ptr<VideoSource> video;
    bool fromAvi = false;
    double startSeconds = 0;  // when the input's first frame plays
    int64_t first = 0;
    uint32_t superIndexRoom = 4;
};

std::string Line(const Job& job, int line) {
    return Where(job.scriptName, line);
}

void CheckRange(const Job& job, int64_t frames, const std::string& what) {
    if (job.range && frames > 0 && job.range->first + job.range->count > frames)
        throw JobError(Line(job, job.range->line) + ": the range of " +
                       std::to_string(job.range->count) + " frames from frame " +
                       std::to_string(job.range->first) + " runs past the end of " + what + " (" +
                       std::to_string(frames) + " frames)");
}

void OpenAvi(const Job& job, Inputs& in) {
    if (!job.copyVideo)
        throw JobError(Line(job, job.openLine) +
                       ": an AVI input is copied (video.SetMode(0)); "
                       "compressing needs a frame-server script");
    auto reader = std::make_unique<AviVideoReader>(job.input);
    const int64_t frames = reader->FramesInHeader();
    CheckRange(job, frames, job.input);
    in.first = job.range ? job.range->first : 0;
    const int64_t count = job.range ? job.range->count : frames;
    if (count <= 0) throw JobError(job.input + " does not say how many frames it has");
    in.fromAvi = true;
    in.startSeconds = reader->StartSeconds();
    in.superIndexRoom =
        SuperIndexRoom(uint64_t(std::max<int64_t>(0, platform::FileSize(job.input))));
    in.video = AviVideo(std::move(reader), in.first, count);
}

void OpenScript(const Job& job, const Options& options, Inputs& in) {
    std::string error;
    in.script = fsclient::OpenInstalledScript(job.input, error);
    if (!in.script) throw std::runtime_error(error);
    const FsVideoInfo& info = in.script->Info();
    CheckRange(job, info.frame_count, job.input);
    in.first = job.range ? job.range->first : 0;
    const int count = job.range ? int(job.range->count) : info.frame_count;
    ServeMode mode = ServeMode::Uncompressed;
    if (options.noWrite) {
        mode = ServeMode::ServeOnly;
    } else if (!job.copyVideo && job.codec) {
        mode = ServeMode::Compress;
        in.codec =
            std::make_unique<VideoCodec>(*job.codec, job.codecState, Line(job, job.codecLine));
    }
    const uint64_t picture = uint64_t(info.width) * uint64_t(info.height) * 3 / 2;
    in.superIndexRoom = SuperIndexRoom(mode == ServeMode::Compress ? kCompressedEstimate
                                                                   : picture * uint64_t(count));
    in.video = ScriptVideo(*in.script, int(in.first), count, mode, in.codec.get());
}

std::vector<AudioOutput> OpenAudio(const Job& job, const Inputs& in,
                                   const media::WarningSink& warn) {
    const VideoDescription& video = in.video->Description();
    const double frameSeconds = double(video.rateDen) / video.rateNum;
    const double seconds = double(in.video->Frames()) * frameSeconds;
    std::vector<AudioOutput> audio;
    for (const auto& [index, stream] : job.audio) {
        const std::string where = Line(job, stream.line);
        if (!stream.file.empty()) {
            audio.push_back(FileAudio(stream, seconds, where, warn));
        } else if (!in.fromAvi) {
            throw JobError(where + ": the audio of an AVI (0x73647561) needs an AVI input");
        } else {
            audio.push_back(AviAudio(stream, job.input,
                                     in.startSeconds + double(in.first) * frameSeconds, seconds,
                                     warn));
        }
    }
    return audio;
}

void Write(const Job& job, const Options& options, Inputs& in, const media::WarningSink& warn) {
    Progress progress(in.video->Frames());
    VideoChunk chunk;
    int64_t done = 0;
    if (options.noWrite) {
        while (in.video->Next(chunk)) progress.Done(++done);
        return;
    }
    std::vector<AudioOutput> audio = OpenAudio(job, in, warn);
    // What an earlier run left under the names goes now rather than when the new files are
    // whole: a run ended by force (an aborted job) must not leave the first pass's video-only
    // AVI behind as if it were the result.
    std::remove(job.output.c_str());
    if (!options.framesLog.empty()) std::remove(options.framesLog.c_str());
    AviOutput out(job.output, *in.video, std::move(audio), job.comments, in.superIndexRoom);
    std::optional<FramesLog> log;
    if (!options.framesLog.empty()) log.emplace(options.framesLog);
    while (in.video->Next(chunk)) {
        out.Video(chunk);
        if (log) log->Add(chunk.type, chunk.size);
        progress.Done(++done);
    }
    out.Commit();
    if (log) log->Commit();
}

void Run(const Job& job, const Options& options, const media::WarningSink& warn) {
    if (!platform::FileExists(job.input))
        throw JobError(Line(job, job.openLine) + ": the input " + job.input + " does not exist");
    Inputs in;
    if (LooksLikeAvi(job.input))
        OpenAvi(job, in);
    else
        OpenScript(job, options, in);
    Write(job, options, in, warn);
}

}  // namespace

void RunJob(const Options& options, const media::WarningSink& warn) {
    std::optional<Job> job;
    try {
        job = ReadJob(options.jobScript);
        Run(*job, options, warn);
    } catch (...) {
        const std::string output = job ? job->output : OutputNamedBy(options.jobScript);
        if (!output.empty() && !options.noWrite) std::remove(output.c_str());
        if (!options.framesLog.empty()) std::remove(options.framesLog.c_str());
        throw;
    }
}

}  // namespace jobrunner
