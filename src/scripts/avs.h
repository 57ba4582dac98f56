#pragma once
// The text of the frame-server scripts and of the job runner's job scripts. The builders only
// produce lines; callers save them (SaveScript) and hand the file to the tool. Every builder
// clears the list it is given first.
#include <cstdint>
#include <string>
#include <vector>

#include "dvd/VobInfo.h"
#include "scripts/SourceType.h"
#include "util/codepage.h"
#include "util/utils.h"

using TScriptLines = std::vector<std::string>;

struct TProgramValues;

// What the texts take from the installation rather than from the run. The default is the
// program-wide values; a run passes the values it was handed, tests their own.
struct TScriptEnvironment {
    std::string ProgramDir;  // folder of the tools, without a trailing separator
    bool HasSSE = false;
    CodePage Ansi = SystemAnsiCodePage();  // code page of the paths and names written into jobs
    // The codec's state text for SetCompData, read after its registry values were written.
    std::string (*CodecState)(const std::string& fourcc) = &CodecStateText;
};
TScriptEnvironment ScriptEnvironmentFor(const TProgramValues& program);
TScriptEnvironment ProgramScriptEnvironment();

// A double as scripts write it: shortest general form, up to 15 significant digits, ".".
std::string ScriptFloat(double value);

// ---- Frame-server scripts

// A sampled, decoded-only clip that appends "<combed>-<moving>" per frame to `logPath`.
void MakeAnalysisScript(TScriptLines& lines, const std::string& d2vPath, const std::string& logPath,
                        const TScriptEnvironment& env = ProgramScriptEnvironment());

// Selected frame pairs through field matching with the decimation filter's debug reports.
// `trimExpression` is one line of Trim(a,b) pieces joined by "+".
void MakeHybridTestScript(TScriptLines& lines, const std::string& d2vPath,
                          const std::string& trimExpression,
                          const TScriptEnvironment& env = ProgramScriptEnvironment());

// The movie: decode, inverse telecine or deinterlace, aspect-correct crop, noise filter,
// subtitles, resize and, when sampleCount > 0, a frame sample. Throws std::invalid_argument for
// an unknown source type and for paths that a script string cannot hold (a double quote or a
// line break).
void MakeMovieScript(TScriptLines& lines, const std::string& d2vPath, int32_t outWidth,
                     const std::string& hybridThreshold, int32_t cropSamples,
                     const std::string& resizeTemplate, int32_t sampleCount,
                     const std::string& vobSubPath, uint8_t sourceType, double pixelAspect,
                     const TScriptEnvironment& env = ProgramScriptEnvironment());

// The run's values the movie script is made from, named as the encoder names them.
struct TMovieScriptParams {
    std::string D2VFile;
    int32_t OutWidth = 0;
    double HybridThreshold = 0;
    std::string ResizeTemplate;  // "LanczosResize(%s,%s)" or "BicubicResize(%s,%s,0,0.5)"
    std::string VobSubFile;      // empty: no subtitles rendered
    uint8_t SourceType = stProgressive;
    double PixelAspect = 1;
    int32_t CompCycle = 15;  // frames per sample of the compressibility test
};
// The three uses of the movie script differ only in crop samples and sampling.
enum class TMovieScriptUse { Preview, CompTest, Encoding };
void MakeMovieScript(TScriptLines& lines, const TMovieScriptParams& run, TMovieScriptUse use,
                     const TScriptEnvironment& env = ProgramScriptEnvironment());

// ---- Job scripts

// Serve a script without compression or audio (the run is started with /nowrite).
void MakeAnalysisJob(TScriptLines& lines, const std::string& inputScript,
                     const std::string& outputAvi);

// Compress video only with codec 0 (XviD) or 1 (DivX).
void MakeVideoJob(TScriptLines& lines, const std::string& inputScript, const std::string& outputAvi,
                  uint8_t codec, const TScriptEnvironment& env = ProgramScriptEnvironment());

// Compress video and add up to two audio streams; an empty audio file means that stream is
// absent. audioMode: 1 AC3, 2 VBR MP3, 3 CBR MP3.
void MakeFinalJob(TScriptLines& lines, const std::string& inputScript, const std::string& outputAvi,
                  const std::string& audioFile1, const std::string& audioFile2, uint8_t audioMode,
                  uint8_t codec, const std::string& audioName1, const std::string& audioName2,
                  const TScriptEnvironment& env = ProgramScriptEnvironment());

// Copy frames [firstFrame, firstFrame + frameCount) of the finished AVI with its audio streams.
void MakeSplitJob(TScriptLines& lines, const std::string& sourceAvi, const std::string& partAvi,
                  int64_t firstFrame, int64_t frameCount, uint8_t audioMode, bool hasAudio2,
                  const std::string& audioName1, const std::string& audioName2,
                  const TScriptEnvironment& env = ProgramScriptEnvironment());

// The language text of audio track `track` for the AddComment lines; empty for -1 (no track) and
// for an index outside the title's tracks.
std::string AudioTrackName(const TVobInfo& vobInfo, int32_t track);

// ---- Saving

// Writes every line followed by CR LF, no byte-order mark, the bytes as they are (the lines are
// already in the system's narrow code page). Throws std::runtime_error naming the file when it
// cannot be written.
void SaveScript(const TScriptLines& lines, const std::string& path);
// The saved form, for callers that need the bytes.
std::string ScriptFileText(const TScriptLines& lines);
