// The measurement of the compressibility test.
#include <stdexcept>
#include <string>

#include "encoder/FrameSizes.h"
#include "encoder/TextFiles.h"
#include "encoder/encoder.h"
#include "util/VFW.h"

namespace {

// The test output's picture size, through the AVI file interface.
void TestPictureSize(TMXEncoder& e, const std::string& path, uint32_t& width, uint32_t& height) {
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
        e.LogLine(why);
        throw std::runtime_error("Open avi failed.");
    }
    width = info.dwWidth;
    height = info.dwHeight;
}

}  // namespace

void TMXEncoder::MeasureCompTest() {
    const std::string log = TempFolder() + "frames.log";
    const TFrameSizes sizes =
        SumFrameSizes(LoadTextLines(log), CompCycle, SampleEdgeFrames(Settings.Codec), log);
    if (sizes.Count == 0 || sizes.Sum == 0)
        throw std::runtime_error("The frame log " + log + " has no frame sizes to measure.");
    if (FrameCount <= 0)
        throw std::runtime_error("The frame count " + std::to_string(FrameCount) +
                                 " leaves no budget per frame.");
    uint32_t width = 0, height = 0;
    TestPictureSize(*this, TempFile("_comptest.avi"), width, height);
    const double pixels = static_cast<double>(width) * height;
    CompAspect = static_cast<double>(width) / height;
    CompBitsPerPixel = (sizes.Sum * 8 / sizes.Count) / pixels;
    const double targetBitsPerPixel = (VideoSize * 8 / FrameCount) / pixels;
    CompRatio = targetBitsPerPixel / CompBitsPerPixel;
}
