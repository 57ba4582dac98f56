#include <stdexcept>

#include "scripts/ScriptText.h"
#include "scripts/avs.h"

namespace {

bool IsTelecined(uint8_t sourceType) {
    return sourceType == stFilm || sourceType == stHybridFilm || sourceType == stHybridVideo;
}

void CheckSourceType(uint8_t sourceType) {
    if (sourceType > stHybridVideo)
        throw std::invalid_argument("Unknown source type " + std::to_string(sourceType) +
                                    " for the movie script.");
}

void AddPlugins(TScriptLines& lines, bool subtitles, uint8_t sourceType,
                const TScriptEnvironment& env) {
    lines.push_back(LoadPluginLine(env, "mpeg2dec3dg.dll"));
    lines.push_back(LoadPluginLine(env, "autocrop.dll"));
    if (IsTelecined(sourceType)) lines.push_back(LoadPluginLine(env, "decomb.dll"));
    if (subtitles) lines.push_back(LoadPluginLine(env, "vsfilter.dll"));
    if (env.HasSSE) lines.push_back(LoadPluginLine(env, "undot.dll"));
    if (sourceType == stInterlaced) lines.push_back(LoadPluginLine(env, "kerneldeint.dll"));
    lines.push_back("");
    lines.push_back("function getOrder(clip c) {");
    lines.push_back("order = GetParity(c) ? 1 : 0");
    lines.push_back("return order }");
    lines.push_back("");
}

// Measures the visible picture and works out an output height (a multiple of 16) and the frame
// shape in source pixels that the second crop cuts to, so the resize needs no distortion.
void AddSizeArithmetic(TScriptLines& lines, const std::string& d2vPath, int32_t outWidth,
                       int32_t cropSamples, const std::string& aspect) {
    const std::string samples = std::to_string(cropSamples);
    lines.push_back("movie = mpeg2source(" + QuotedScriptPath(d2vPath) + ")");
    lines.push_back("cropclip = autocrop(movie,mode=0,wmultof=4,hmultof=4,samples=" + samples +
                    ",aspect=0,threshold=35)");
    lines.push_back("c_width = width(cropclip)");
    lines.push_back("c_height = round(height(cropclip) / " + aspect + ")");
    lines.push_back("input_par = float(c_width)/float(c_height)");
    lines.push_back("fixed_aspect = " + aspect);
    lines.push_back("flag_halfdvd = input_par > 1.0 ? 0 : 1");
    lines.push_back("input_par = input_par > 1.0 ? input_par : input_par * 2");
    lines.push_back("input_par = input_par > 1.4 ? input_par : (4.0/3.0)");
    lines.push_back("out_width = " + std::to_string(outWidth));
    lines.push_back("out_height = round(float(out_width) / input_par)");
    lines.push_back("hmod = out_height - (floor(out_height / 16 ) * 16)");
    lines.push_back("out_height = (hmod > 4) ? (out_height + (16 - hmod)) : (out_height - hmod)");
    lines.push_back("new_aspect = (float(out_width) / float(out_height)) / fixed_aspect");
    lines.push_back("new_aspect = flag_halfdvd > 0 ? new_aspect/2.0 : new_aspect");
}

void AddFieldFilter(TScriptLines& lines, uint8_t sourceType, const std::string& threshold) {
    const std::string telecide = "Telecide(movie,order=getOrder(movie),guide=1,post=2)";
    if (sourceType == stFilm) lines.push_back(telecide + ".Decimate(mode=0)");
    if (sourceType == stHybridFilm)
        lines.push_back(telecide + ".Decimate(mode=3,threshold=" + threshold + ")");
    if (sourceType == stHybridVideo)
        lines.push_back(telecide + ".Decimate(mode=1,threshold=" + threshold + ")");
    if (sourceType == stInterlaced)
        lines.push_back("KernelDeInt(movie,order=getOrder(movie),sharp=true)");
}

// The template's first "%s" becomes out_width and its second out_height. Replaced as text: the
// template is never used as a format string.
std::string ResizeLine(const std::string& resizeTemplate) {
    std::string line = resizeTemplate;
    size_t pos = line.find("%s");
    if (pos == std::string::npos) return line;
    line.replace(pos, 2, "out_width");
    pos = line.find("%s", pos + 9);
    if (pos != std::string::npos) line.replace(pos, 2, "out_height");
    return line;
}

}  // namespace

void MakeMovieScript(TScriptLines& lines, const std::string& d2vPath, int32_t outWidth,
                     const std::string& hybridThreshold, int32_t cropSamples,
                     const std::string& resizeTemplate, int32_t sampleCount,
                     const std::string& vobSubPath, uint8_t sourceType, double pixelAspect,
                     const TScriptEnvironment& env) {
    CheckSourceType(sourceType);
    lines.clear();
    AddPlugins(lines, !vobSubPath.empty(), sourceType, env);
    AddSizeArithmetic(lines, d2vPath, outWidth, cropSamples, ScriptFloat(pixelAspect));
    AddFieldFilter(lines, sourceType, hybridThreshold);
    const std::string crop = "mode=0,wmultof=4,hmultof=4,samples=" + std::to_string(cropSamples) +
                             ",aspect=new_aspect,threshold=35)";
    if (sourceType == stForcedFilm || sourceType == stProgressive)
        lines.push_back("autocrop(movie," + crop);
    else
        lines.push_back("autocrop(" + crop);
    if (env.HasSSE) lines.push_back("Undot()");
    if (!vobSubPath.empty()) lines.push_back("VobSub(" + QuotedScriptPath(vobSubPath) + ")");
    lines.push_back(ResizeLine(resizeTemplate));
    if (sampleCount > 0)
        lines.push_back("SelectRangeEvery(" + std::to_string(20 * int64_t{sampleCount}) + "," +
                        std::to_string(sampleCount) + ")");
}

void MakeMovieScript(TScriptLines& lines, const TMovieScriptParams& run, TMovieScriptUse use,
                     const TScriptEnvironment& env) {
    const int32_t cropSamples = use == TMovieScriptUse::Preview ? 5 : 10;
    const int32_t sampleCount = use == TMovieScriptUse::CompTest ? run.CompCycle : 0;
    MakeMovieScript(lines, run.D2VFile, run.OutWidth, ScriptFloat(run.HybridThreshold), cropSamples,
                    run.ResizeTemplate, sampleCount, run.VobSubFile, run.SourceType,
                    run.PixelAspect, env);
}
