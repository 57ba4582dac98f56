#include "FilterKit.h"

#include <cstring>
#include <numeric>
#include <sstream>

namespace filters {
namespace {

std::string Text(double v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

}  // namespace

int IntArg(const char* filter, const char* name, const fsrv::Value& value, int orElse, int lo,
           int hi) {
    const int v = value.AsInt(orElse);
    if (v < lo || v > hi)
        throw fsrv::Error(std::string(filter) + ": " + name + " must be from " +
                          std::to_string(lo) + " to " + std::to_string(hi) + ", not " +
                          std::to_string(v));
    return v;
}

double FloatArg(const char* filter, const char* name, const fsrv::Value& value, double orElse,
                double lo, double hi) {
    const double v = value.AsFloat(orElse);
    if (!(v >= lo && v <= hi))
        throw fsrv::Error(std::string(filter) + ": " + name + " must be from " + Text(lo) + " to " +
                          Text(hi) + ", not " + Text(v));
    return v;
}

void CopyArea(const fsrv::Frame& from, int left, int top, fsrv::Frame& to) {
    for (int p = 0; p < 3; ++p) {
        const int x = p == fsrv::kY ? left : left / 2;
        const int y0 = p == fsrv::kY ? top : top / 2;
        for (int y = 0; y < to.Height(p); ++y)
            std::memcpy(Row(to, p, y), Row(from, p, y0 + y) + x, size_t(to.Width(p)));
    }
}

void ScaleRate(fsrv::VideoInfo& info, unsigned num, unsigned den) {
    uint64_t n = uint64_t(info.fpsNumerator) * num;
    uint64_t d = uint64_t(info.fpsDenominator) * den;
    const uint64_t g = std::gcd(n, d);
    if (g == 0) return;
    info.fpsNumerator = unsigned(n / g);
    info.fpsDenominator = unsigned(d / g);
}

}  // namespace filters
