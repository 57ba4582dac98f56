#pragma once
// The DivX codec's two passes. The first pass codes every frame at one fixed quantizer and
// notes each frame's type and size in the log file, one line a frame ("17 P 5321"). The second
// pass plans the target's bytes over the frames in proportion to those sizes, starts from the
// quantizer that a simple model of size against quantizer (size falls as the quantizer rises)
// expects to land on the target, and corrects it frame by frame from the bytes really spent
// (common/SizePlan). libavcodec codes each frame at the quantizer chosen here.
#include <cstdint>
#include <string>
#include <vector>

#include "common/Pictures.h"
#include "common/SizePlan.h"

namespace mxcodec {

inline constexpr int kDivxFirstPassQuant = 2;

struct DivxPassFrame {
    char type = 0;  // 'I', 'P', 'B' or 'S'
    int64_t bytes = -1;
};

std::string DivxLogHeader();
std::string DivxLogLine(int64_t frame, char type, int64_t bytes);
// The frames of a log body in display order; CodecError(MXICERR_FILE) naming `path` and the
// line when a line is damaged, a frame is missing or given twice.
std::vector<DivxPassFrame> ParseDivxLog(const std::string& body, const std::string& path);

class DivxSecondPass {
  public:
    DivxSecondPass(std::vector<DivxPassFrame> frames, double targetBytes);

    int QuantizerFor(int64_t frame);
    bool KeyFrame(int64_t frame) const;
    void Spent(int64_t frame, int64_t bytes) { plan_.Spent(frame, bytes); }

  private:
    std::vector<DivxPassFrame> frames_;
    SizePlan plan_;
    double base_ = kDivxFirstPassQuant;
    QuantizerSpreader spread_[3];
};

}  // namespace mxcodec
