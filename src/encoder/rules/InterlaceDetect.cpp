#include "encoder/rules/InterlaceDetect.h"

#include "scripts/SourceType.h"
#include "util/utils.h"

namespace {

struct TMark {
    bool Combed = false;
    bool Moving = false;
};

TMark MarkOf(const std::string& line) {
    std::vector<std::string> items;
    SplitText(line, "-", &items);
    TMark m;
    m.Combed = !items.empty() && items[0] == "true";
    m.Moving = items.size() > 1 && items[1] == "true";
    return m;
}

// Positions of the combed frames among those considered.
struct TWindow {
    int32_t Considered = 0;
    int32_t Combed = 0;
    int32_t First = 0;
    int32_t Last = 0;
};

TWindow ScanWindow(const std::vector<std::string>& lines, size_t i, TInterlaceCounts& counts) {
    TWindow w;
    for (int32_t pos = 1; pos <= 5; ++pos) {
        const TMark m = MarkOf(lines[i + pos - 1]);
        if (!m.Moving && !m.Combed) continue;
        ++w.Considered;
        if (!m.Combed) {
            ++counts.CleanInMotion;
            continue;
        }
        ++counts.CombedInMotion;
        if (++w.Combed == 1)
            w.First = pos;
        else
            w.Last = pos;
    }
    return w;
}

int32_t PairPosition(const TWindow& w, bool prev2, bool prev1, bool next,
                     TInterlaceCounts& counts) {
    if (w.First == 1 && w.Last == 5 && !prev1) return 0;
    if (w.First == 1 && w.Last == 5 && prev1 && prev2) return 0;
    if (w.First == 1 && w.Last == 2 && prev1) return 0;
    if (w.First == 4 && w.Last == 5 && next) return 0;
    if (w.First == 1 && w.Last == 5) {
        ++counts.Telecined;
        return 1;
    }
    if (w.Last == w.First + 1) {
        ++counts.Telecined;
        return w.Last;
    }
    return 0;
}

}  // namespace

int32_t ClassifyWindow(const std::vector<std::string>& lines, size_t i, TInterlaceCounts& counts) {
    const bool prev2 = MarkOf(lines[i - 2]).Combed;
    const bool prev1 = MarkOf(lines[i - 1]).Combed;
    const bool next = MarkOf(lines[i + 5]).Combed;
    const TWindow w = ScanWindow(lines, i, counts);
    if (w.Considered <= 3 && w.Combed != 2) return 0;
    if (w.Combed == 0) {
        ++counts.Progressive;
        return 0;
    }
    if (w.Combed >= 3) {
        ++counts.Interlaced;
        return 0;
    }
    if (w.Combed == 1) {
        if (w.First != 1 || !prev1 || prev2) return 0;
        ++counts.Telecined;
        return 1;
    }
    return PairPosition(w, prev2, prev1, next, counts);
}

TInterlaceWalk WalkWindows(const std::vector<std::string>& lines) {
    TInterlaceWalk walk;
    size_t i = 0;
    while (i < lines.size()) {
        if (i % 18 == 0) {
            i += 2;
            continue;
        }
        if (i % 18 == 17) {
            i += 1;
            continue;
        }
        if (lines.size() < i + 6) break;
        const int32_t a = ClassifyWindow(lines, i, walk.Counts);
        if (a > 0)
            walk.TrimList +=
                "Trim(" + std::to_string(i + a - 1) + "," + std::to_string(i + a) + ")+";
        i += 5;
    }
    return walk;
}

double CombingRatio(const TInterlaceCounts& c) {
    const int64_t moving = c.CombedInMotion + c.CleanInMotion;
    return moving == 0 ? 0.0 : static_cast<double>(c.CombedInMotion) / moving;
}

namespace {

TInterlaceVerdict Verdict(uint8_t type, const char* kind) {
    TInterlaceVerdict v;
    v.SourceType = type;
    v.Message = std::string("Source is considered to be ") + kind + ".";
    return v;
}

TInterlaceVerdict NtscVerdict(double ratio, double shareSum) {
    if (ratio < 0.02) return Verdict(stProgressive, "progressive");
    if (shareSum > 0.94) return Verdict(stInterlaced, "interlaced");
    if (shareSum > 0.5) return Verdict(stHybridVideo, "hybrid (mostly NTSC)");
    if (shareSum > 0.06) return Verdict(stHybridFilm, "hybrid (mostly FILM)");
    return Verdict(stFilm, "FILM");
}

}  // namespace

TInterlaceVerdict DecideSource(const TInterlaceCounts& c, double ratio, bool ntsc,
                               const std::function<std::string(double)>& percent) {
    if (!ntsc)
        return ratio <= 0.02 ? Verdict(stProgressive, "progressive")
                             : Verdict(stInterlaced, "interlaced");
    const int64_t total = c.Telecined + c.Progressive + c.Interlaced;
    auto share = [total](int64_t n) { return total == 0 ? 0.0 : static_cast<double>(n) / total; };
    const double progressive = share(c.Progressive), interlaced = share(c.Interlaced);
    TInterlaceVerdict v = NtscVerdict(ratio, progressive + interlaced);
    v.Shares = {"Source has percentage of telecined patterns: " + percent(share(c.Telecined) * 100),
                "Source has percentage of progressive patterns: " + percent(progressive * 100),
                "Source has percentage of interlaced patterns: " + percent(interlaced * 100)};
    return v;
}
