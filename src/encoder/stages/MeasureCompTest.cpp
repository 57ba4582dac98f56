// The measurement of the compressibility test: the bits per pixel its sample took, against the
// bits per pixel the budget allows.
#include <stdexcept>
#include <string>

#include "encoder/TextFiles.h"
#include "encoder/rules/FrameSizes.h"
#include "encoder/stages/Stages.h"
#include "util/VFW.h"

namespace {

// The test output's picture size, through the AVI file interface.
void TestPictureSize(TRun& run, const std::string& path, uint32_t& width, uint32_t& height) {
    AVIFileInit();
    PAVIFILE file;
    AVIFILEINFOA info;
    std::string why;
    if (AVIFileOpenA(file, path, OF_READ, &why) == AVIERR_OK &&
        AVIFileInfoA(file, &info, sizeof info) != AVIERR_OK)
        why = "The AVI file " + path + " cannot be described.";
    else if (why.empty() && (info.dwWidth == 0 || info.dwHeight == 0))
        why = "The AVI file " + path + " has no picture size.";
    AVIFileRelease(file);
    AVIFileExit();
    if (!why.empty()) {
        run.LogLine(why);
        throw std::runtime_error("Open avi failed.");
    }
    width = info.dwWidth;
    height = info.dwHeight;
}

void MeasureCompTest(TRun& run) {
    TCompTestRecord& test = run.CompTest;
    const std::string log = run.TempFolder() + "frames.log";
    const TFrameSizes sizes = SumFrameSizes(LoadTextLines(log), test.CompCycle,
                                            SampleEdgeFrames(run.Settings.Codec), log);
    if (sizes.Count == 0 || sizes.Sum == 0)
        throw std::runtime_error("The frame log " + log + " has no frame sizes to measure.");
    const int64_t frames = run.Source.FrameCount;
    if (frames <= 0)
        throw std::runtime_error("The frame count " + std::to_string(frames) +
                                 " leaves no budget per frame.");
    uint32_t width = 0, height = 0;
    TestPictureSize(run, run.TempFile("_comptest.avi"), width, height);
    const double pixels = static_cast<double>(width) * height;
    test.CompAspect = static_cast<double>(width) / height;
    test.CompBitsPerPixel = (sizes.Sum * 8 / sizes.Count) / pixels;
    const double targetBitsPerPixel = (run.Budget.VideoSize * 8 / frames) / pixels;
    test.CompRatio = targetBitsPerPixel / test.CompBitsPerPixel;
}

}  // namespace

const TStage kMeasureCompTest{"MeasureCompTest", MeasureCompTest};
