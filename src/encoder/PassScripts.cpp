#include "encoder/PassScripts.h"

#include <stdexcept>

#include "encoder/Runner.h"
#include "jobs/ProgramValues.h"

void SaveMovieScript(TMXEncoder& e, TMovieScriptUse use, const std::string& path) {
    TMovieScriptParams p;
    p.D2VFile = e.D2VFile;
    p.OutWidth = e.OutWidth;
    p.HybridThreshold = e.HybridThreshold;
    p.ResizeTemplate = e.ResizeTemplate;
    p.VobSubFile = e.VobSubFile;
    p.SourceType = e.SourceType;
    p.PixelAspect = e.PixelAspect;
    p.CompCycle = e.CompCycle;
    TScriptLines lines;
    MakeMovieScript(lines, p, use);
    e.LogScript(lines, "Writing the following script to " + path);
    SaveScript(lines, path);
}

void SaveJob(TMXEncoder& e, const TScriptLines& job) {
    e.LogScript(job, "Writing the following script to " + e.JobScriptFile);
    SaveScript(job, e.JobScriptFile);
}

TScriptLines FinalJob(const TMXEncoder& e, const std::string& movieScript) {
    const TEncRecord& s = e.Settings;
    TScriptLines job;
    MakeFinalJob(job, movieScript, s.OutputFile, e.EncodedAudioFile, e.EncodedAudioFile2,
                 s.AudioMode, s.Codec, AudioTrackName(s.VobInfo, s.AudioTrack),
                 AudioTrackName(s.VobInfo, s.AudioTrack2));
    return job;
}

void TMXEncoder::RunJobRunner(const std::string& commandLine) {
    if (!RunProgram(commandLine, true, true))
        throw std::runtime_error("Cannot start the job runner " + Program().VDubModPath + ".");
}
