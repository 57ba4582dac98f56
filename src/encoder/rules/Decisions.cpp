#include "encoder/rules/Decisions.h"

#include <cmath>
#include <stdexcept>

#include "platform/locale.h"
#include "util/rounding.h"

double PixelAspectFor(bool ntsc, bool widescreen) {
    const double base = ntsc ? 0.9113924050632911 : 1.0940170940170941;
    if (!widescreen) return base;
    return static_cast<double>(static_cast<long double>(base) * 4.0L / 3.0L);
}

namespace {

void QualityQuantizers(int32_t q, bool newXviD, TXviDCodecParams& x) {
    if (q == 100) {
        x.MinIQuant = x.MinPQuant = x.MaxIQuant = x.MaxPQuant = 2;
        x.QualityLevel = newXviD ? 200 : 100;
        return;
    }
    x.MinIQuant = x.MinPQuant = 200 / q;
    x.MaxIQuant = x.MaxPQuant = static_cast<int32_t>(std::ceil(200.0 / q)) + 1;
    if (newXviD)
        x.QualityLevel = static_cast<int32_t>(RoundHalfEven(20000.0 / q));
    else
        x.QualityLevel =
            100 - static_cast<int32_t>(RoundHalfEven((20000.0 / q - 100.0 * x.MinIQuant) / 2));
}

int32_t QualityModeStart(const TEncRecord& s, bool newXviD, TXviDCodecParams& x,
                         TDivXCodecParams& d) {
    const int32_t q = s.Quality;
    if (q < 1 || q > 100)
        throw std::invalid_argument("The quality percentage " + std::to_string(q) +
                                    " is not between 1 and 100.");
    int32_t width = 704;
    if (s.TargetSize == 0) {
        width = 720;
        x.BFrames = -1;
        d.Bidirectional = 0;
        x.MaxIQuant = x.MaxPQuant = 2;
    } else {
        x.BFrames = 1;
        d.Bidirectional = 1;
        QualityQuantizers(q, newXviD, x);
    }
    x.MatrixType = 1;
    d.VbrQuality = static_cast<int32_t>(RoundHalfEven(2000.0 / q));
    return width;
}

int32_t SizeModeStart(const TEncRecord& s, TXviDCodecParams& x, TDivXCodecParams& d) {
    x.BFrames = 1;
    x.MinIQuant = 2, x.MaxIQuant = 3, x.MinPQuant = 2, x.MaxPQuant = 3;
    d.Bidirectional = 1;
    const bool large = s.TargetSize >= 706;
    x.MatrixType = large ? 1 : 0;
    return large ? 704 : 640;
}

}  // namespace

TStartSettings ChooseStartSettings(const TEncRecord& settings, bool newXviD, TXviDCodecParams& xvid,
                                   TDivXCodecParams& divx) {
    TStartSettings start;
    start.ResizeTemplate = kLanczosTemplate;
    start.OutWidth = settings.QualityMode ? QualityModeStart(settings, newXviD, xvid, divx)
                                          : SizeModeStart(settings, xvid, divx);
    if (settings.ResizeMode == kResizeFixed) start.OutWidth = settings.TargetWidth;
    return start;
}

namespace {

int32_t CreditsInteger(const std::string& line, const std::string& path) {
    const auto value = platform::ParseInteger(line);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        throw std::runtime_error("The credits file " + path + " has \"" + line +
                                 "\" where a whole number belongs.");
    return static_cast<int32_t>(*value);
}

bool CreditsBoolean(const std::string& line, const std::string& path) {
    std::string lower;
    for (char c : line)
        if (c != ' ' && c != '\t') lower += static_cast<char>(std::tolower(c));
    if (lower == "true") return true;
    if (lower == "false") return false;
    const auto value = platform::ParseInteger(lower);
    if (!value)
        throw std::runtime_error("The credits file " + path + " has \"" + line +
                                 "\" where 0, 1, true or false belongs.");
    return *value != 0;
}

}  // namespace

void ReadCreditsLines(const std::vector<std::string>& lines, bool filmOutput,
                      const std::string& path, TXviDCodecParams& xvid,
                      std::vector<std::string>& messages) {
    if (lines.size() <= 2) return;
    const int32_t frame = CreditsInteger(lines[0], path);
    xvid.CreditsFrame = frame;
    messages.push_back("Credits start frame: " + std::to_string(frame));
    xvid.CreditsWeight = CreditsInteger(lines[1], path);
    if (filmOutput) xvid.CreditsFrame = static_cast<int32_t>(RoundHalfEven(frame * 0.8));
    messages.push_back("Credits quality percentage: " + std::to_string(xvid.CreditsWeight));
    xvid.CreditsGreyscale = CreditsBoolean(lines[2], path);
    if (xvid.CreditsGreyscale) messages.push_back("Credits greyscale option activated.");
}

TCorrectionFactors CorrectionFactors(uint8_t codec, bool newXviD, bool essMarker) {
    if (codec == kCodecDivX) return {0.818, 1, 0.938};
    if (newXviD)
        return essMarker ? TCorrectionFactors{0.746, 0.906, 0.94}
                         : TCorrectionFactors{0.74, 0.862, 0.953};
    return essMarker ? TCorrectionFactors{0.768, 0.904, 0.939}
                     : TCorrectionFactors{0.745, 0.855, 0.952};
}

int32_t HeightFor(int32_t width, double aspect) {
    const double exact = width / aspect;
    if (!std::isfinite(exact) || std::fabs(exact) > 1e9) return 0;
    const int64_t h = RoundHalfEven(exact);
    const int64_t r = h % 16;
    return static_cast<int32_t>(r > 4 ? h + 16 - r : h - r);
}
