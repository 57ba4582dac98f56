#include "divx/DivxPasses.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/PassFiles.h"

namespace mxcodec {

namespace {

constexpr char kWhat[] = "log file";

// B-frames lean on their neighbours and are coded coarser, as libavcodec does by default.
double TypeFactor(char type) {
    return type == 'B' ? 1.25 : 1.0;
}

int TypeIndex(char type) {
    return type == 'I' ? 0 : type == 'B' ? 2 : 1;
}

// Bytes at quantizer q, from the first pass's bytes at its fixed quantizer.
std::vector<double> Shares(const std::vector<DivxPassFrame>& frames) {
    std::vector<double> shares;
    for (const DivxPassFrame& f : frames) {
        shares.push_back(double(f.bytes) * kDivxFirstPassQuant / TypeFactor(f.type));
    }
    return shares;
}

}  // namespace

std::string DivxLogHeader() {
    return "# DivX first pass: frame, type, bytes at quantizer " +
           std::to_string(kDivxFirstPassQuant) + "\n";
}

std::string DivxLogLine(int64_t frame, char type, int64_t bytes) {
    return std::to_string(frame) + " " + std::string(1, type ? type : 'P') + " " +
           std::to_string(bytes) + "\n";
}

std::vector<DivxPassFrame> ParseDivxLog(const std::string& body, const std::string& path) {
    std::vector<DivxPassFrame> frames;
    int64_t lineNumber = 0;
    for (size_t at = 0; at < body.size();) {
        const size_t end = std::min(body.find('\n', at), body.size());
        const std::string line = body.substr(at, end - at);
        at = end + 1;
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        long long frame = -1, bytes = -1;
        char type = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "%lld %c %lld%n", &frame, &type, &bytes, &used) != 3 ||
            size_t(used) != line.size() || !std::strchr("IPBS", type) || type == 0 || frame < 0 ||
            frame > 100000000 || bytes < 0) {
            PassFileError(kWhat, path, "is damaged at line " + std::to_string(lineNumber));
        }
        if (size_t(frame) >= frames.size()) frames.resize(size_t(frame) + 1);
        if (frames[size_t(frame)].bytes >= 0) {
            PassFileError(kWhat, path, "gives frame " + std::to_string(frame) + " twice");
        }
        frames[size_t(frame)] = {type, bytes};
    }
    for (size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].bytes < 0) PassFileError(kWhat, path, "lacks frame " + std::to_string(i));
    }
    if (frames.empty()) PassFileError(kWhat, path, "describes no frames");
    return frames;
}

DivxSecondPass::DivxSecondPass(std::vector<DivxPassFrame> frames, double targetBytes)
    : frames_(std::move(frames)), plan_(Shares(frames_), targetBytes) {
    // With size proportional to 1 / quantizer, the whole comes out at the target when every
    // frame's quantizer is the first pass's times (first-pass size / target).
    double shares = 0;
    for (const DivxPassFrame& f : frames_) shares += double(f.bytes) / TypeFactor(f.type);
    base_ = kDivxFirstPassQuant * shares / std::max(targetBytes, 1.0);
}

int DivxSecondPass::QuantizerFor(int64_t frame) {
    if (frame < 0 || size_t(frame) >= frames_.size()) return kDivxFirstPassQuant;
    const char type = frames_[size_t(frame)].type;
    const double quant = base_ * TypeFactor(type) * plan_.Correction();
    return std::clamp(spread_[TypeIndex(type)].Next(quant), kDivxFirstPassQuant, 31);
}

bool DivxSecondPass::KeyFrame(int64_t frame) const {
    return frame >= 0 && size_t(frame) < frames_.size() && frames_[size_t(frame)].type == 'I';
}

}  // namespace mxcodec
