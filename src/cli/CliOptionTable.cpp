// Every option of the headless program, one row each. Adding an option is adding its row: the
// parser, the checks and the help text all read it from here.
#include "cli/CliOptions.h"

namespace {

using K = TOptionKind;
using G = const TGiven&;
using Job = TJobOptions&;
using Run = TCliOptions&;

}  // namespace

const std::vector<TOptionDef>& CliOptionTable() {
    static const std::vector<TOptionDef> table = {
        {.Name = "--help",
         .Help = "Shows this text and ends.",
         .ToRun = [](G, Run run) { run.Help = true; }},
        {.Name = "--list-tracks",
         .Kind = K::Text,
         .Value = "DIR",
         .Help = "Prints the source information of a ripped title and its audio and subtitle "
                 "tracks as the window lists them, numbered from 1, and ends.",
         .ToRun = [](G given, Run run) { run.ListTracks = given.Text; }},
        {.Name = "--input",
         .Kind = K::Text,
         .Value = "DIR",
         .StartsJob = true,
         .Help = "The folder of a ripped title; starts a new job.",
         .ToJob = [](G given, Job job) { job.Input = given.Text; }},
        {.Name = "--output",
         .Kind = K::Text,
         .Value = "FILE",
         .NeedsInput = true,
         .Help = "The AVI file of the job; its extension becomes .avi.",
         .ToJob = [](G given, Job job) { job.Output = given.Text; }},
        {.Name = "--overwrite",
         .Help = "Replaces an existing output file (otherwise it is refused).",
         .ToJob = [](G, Job job) { job.Overwrite = true; }},
        {.Name = "--audio",
         .Kind = K::Track,
         .Value = "N|none",
         .Default = "1",
         .Min = 1,
         .Max = kMaxAudioTracks + 1,
         .NoneAllowed = true,
         .Help = "The audio track.",
         .ToJob = [](G given, Job job) { job.Audio = given.Number; }},
        {.Name = "--audio2",
         .Kind = K::Track,
         .Value = "N",
         .Default = "none",
         .Min = 1,
         .Max = kMaxAudioTracks + 1,
         .Help = "A second audio track.",
         .ToJob = [](G given, Job job) { job.Audio2 = given.Number; }},
        {.Name = "--subs",
         .Kind = K::Track,
         .Value = "N|none",
         .Default = "none",
         .Min = 1,
         .Max = kMaxSubtitleTracks + 1,
         .NoneAllowed = true,
         .Help = "The subtitle track.",
         .ToJob = [](G given, Job job) { job.Subs = given.Number; }},
        {.Name = "--subs2",
         .Kind = K::Track,
         .Value = "N",
         .Default = "none",
         .Min = 1,
         .Max = kMaxSubtitleTracks + 1,
         .Help = "A second subtitle track (needs --external-subs).",
         .ToJob = [](G given, Job job) { job.Subs2 = given.Number; }},
        {.Name = "--size",
         .Kind = K::Number,
         .Value = "MB",
         .Min = kCustomSizeMin,
         .Max = kCustomSizeMax,
         .ChoosesSize = true,
         .Help = "A custom target size in megabytes.",
         .ToJob =
             [](G given, Job job) {
                 job.Size.Option = TSizeOption::Custom;
                 job.Size.CustomSize = given.Number;
             }},
        {.Name = "--preset",
         .Kind = K::Text,
         .Value = "TEXT",
         .Default = kPredefinedSizes[kDefaultPredefinedSize].Text,
         .ChoosesSize = true,
         .Help = "A predefined size, by the text the window lists.",
         .ToJob =
             [](G given, Job job) {
                 const int32_t item = FindPredefinedSize(given.Text);
                 if (item < 0) given.Refuse("\"" + given.Text + "\"", "no such predefined size");
                 job.Size.Option = TSizeOption::Predefined;
                 job.Size.Predefined = item;
             }},
        {.Name = "--quality",
         .Kind = K::Number,
         .Value = "PCT",
         .Min = kQualityMin,
         .Max = kQualityMax,
         .ChoosesSize = true,
         .Help = "A target quality in percent instead of a size.",
         .ToJob =
             [](G given, Job job) {
                 job.Size.Option = TSizeOption::Quality;
                 job.Size.Quality = given.Number;
             }},
        {.Name = "--codec",
         .Kind = K::Choice,
         .Value = "xvid|divx",
         .Default = "xvid where installed",
         .Choices = {"xvid", "divx"},
         .Help = "The video codec.",
         .ToJob = [](G given, Job job) { job.Advanced.CodecIndex = given.Number; }},
        {.Name = "--audio-mode",
         .Kind = K::Choice,
         .Value = "auto|ac3|vbr|cbr",
         .Default = "auto",
         .Choices = {"auto", "ac3", "vbr", "cbr"},
         .Help = "Audio coding: AC3 or VBR MP3 as the job decides, AC3, VBR MP3 or CBR MP3.",
         .ToJob = [](G given, Job job) { job.Advanced.AudioIndex = given.Number; }},
        {.Name = "--audio-bitrate",
         .Kind = K::Number,
         .Value = "KBPS",
         .Default = "128",
         .Min = kBitrateMin,
         .Max = kBitrateMax,
         .Step = kBitrateStep,
         .Help = "MP3 bitrate (at least 80 for VBR).",
         .ToJob = [](G given, Job job) { job.Advanced.Bitrate = given.Number; }},
        {.Name = "--width-mode",
         .Kind = K::Choice,
         .Value = "auto|min|fixed",
         .Default = "auto",
         .Choices = {"auto", "min", "fixed"},
         .Help = "Picture width: chosen by the job, a minimum width, or a fixed width.",
         .ToJob = [](G given, Job job) { job.Advanced.ResolutionIndex = given.Number; }},
        {.Name = "--width",
         .Kind = K::Number,
         .Value = "W",
         .Default = "640",
         .Min = kWidthMin,
         .Max = kWidthMax,
         .Step = kWidthStep,
         .Help = "The width for --width-mode min (at most 640) or fixed.",
         .ToJob = [](G given, Job job) { job.Advanced.Width = given.Number; }},
        {.Name = "--forced-subs",
         .Help = "Shows only the forced subtitles of the track.",
         .ToJob = [](G, Job job) { job.Advanced.ForcedSubs = true; }},
        {.Name = "--external-subs",
         .Help = "Delivers the subtitles as files beside the AVI (needs the archiver; no blanks "
                 "in the output path).",
         .ToJob =
             [](G, Job job) {
                 job.Advanced.ExternalSubs = true;
                 job.ExternalSubsGiven = true;
             }},
        {.Name = "--no-forced-subs",
         .Help = "Shows every subtitle of the track, though the window's stored options say "
                 "forced only.",
         .ToJob = [](G, Job job) { job.Advanced.ForcedSubs = false; }},
        {.Name = "--no-external-subs",
         .Help = "Renders the subtitles into the picture, though the window's stored options say "
                 "external.",
         .ToJob =
             [](G, Job job) {
                 job.Advanced.ExternalSubs = false;
                 job.ExternalSubsGiven = false;
             }},
        {.Name = "--preview",
         .Help = "Opens each job's preview in the media player instead of encoding it.",
         .ToRun = [](G, Run run) { run.Preview = true; }},
        {.Name = "--shutdown",
         .Help = "Powers the computer off when every job has run (not after Ctrl+C).",
         .ToRun = [](G, Run run) { run.Shutdown = true; }},
    };
    return table;
}

const TOptionDef* FindOption(const std::string& name) {
    for (const TOptionDef& def : CliOptionTable())
        if (name == def.Name) return &def;
    return nullptr;
}
