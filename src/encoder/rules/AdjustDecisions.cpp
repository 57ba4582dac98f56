// The adjustment after the compressibility test: the width moves in steps of 16 and the softer
// or sharper tools are switched on until the predicted compressibility lies in its band.
#include <stdexcept>

#include "encoder/rules/Decisions.h"

namespace {

// No width below this is tried: a prediction that never reaches its band must not run the width
// through zero.
constexpr int32_t kSmallestWidth = 16;

class Adjuster {
  public:
    Adjuster(const TAdjustInputs& in, TAdjustState& s) : in_(in), s_(s) {}

    void Run() {
        const bool large = in_.TargetSize >= 706;
        if (in_.Codec == kCodecDivX)
            large ? DivXLarge() : DivXSmall();
        else
            large ? XviDLarge() : XviDSmall();
    }

  private:
    bool Fixed() const { return in_.ResizeMode == kResizeFixed; }
    bool AtMinimum() const {
        return in_.ResizeMode == kResizeMinimum && s_.Width == in_.TargetWidth;
    }
    bool AtCorner() const {
        return (s_.Width == 608 && in_.Aspect > 1.4) || (s_.Width == 512 && in_.Aspect < 1.4);
    }
    bool Shrink() {
        if (s_.Width - 16 < kSmallestWidth) return false;
        s_.Width -= 16;
        s_.R = in_.Predict(s_.Width);
        return true;
    }
    void Grow() {
        s_.Width += 16;
        s_.R = in_.Predict(s_.Width);
    }
    void SofterResizer() {
        s_.ResizeTemplate = kBicubicTemplate;
        s_.R /= in_.ResizerFactor;
        s_.Messages.push_back("Using softer resizer.");
    }
    void SofterMatrix() {
        s_.MatrixType = 0;
        s_.R /= in_.MatrixFactor;
        s_.Messages.push_back("Using softer matrix.");
    }
    void SharperMatrix() {
        s_.MatrixType = 1;
        s_.R *= in_.MatrixFactor;
        s_.Messages.push_back("Using sharper matrix");
    }
    void BFramesOff(const char* message) {
        if (in_.Codec == kCodecDivX)
            s_.Bidirectional = 0;
        else
            s_.BFrames = -1;
        s_.R *= in_.BFramesFactor;
        s_.Messages.push_back(message);
    }
    // The small targets' sharper matrix, and B-frames off when even that is not enough.
    void SharperThenBFrames() {
        SharperMatrix();
        if (s_.R > 1.0) BFramesOff("Switching b-frames off");
    }

    // Shrinks until R reaches the threshold, stopping at the minimum width.
    void ShrinkToThreshold() {
        while (s_.R < t_) {
            if (AtMinimum() || !Shrink()) return;
        }
    }

    void DivXLarge() {
        if (s_.R > 0.95) return BFramesOff("Switching b-frames off.");
        if (Fixed()) {
            if (s_.R < 0.7) SofterResizer();
            return;
        }
        while (s_.R < t_) {
            if (AtMinimum()) return SofterResizer();
            if (AtCorner()) {
                t_ = 0.6;
                if (s_.R < 0.6) SofterResizer();
                break;
            }
            if (!Shrink()) return;
        }
        ShrinkToThreshold();
    }

    void XviDLarge() {
        if (s_.R > 0.95) return BFramesOff("Switching b-frames off.");
        if (Fixed()) {
            if (s_.R >= 0.7) return;
            SofterMatrix();
            if (s_.R < 0.7) SofterResizer();
            return;
        }
        while (s_.R < t_) {
            if (AtMinimum()) {
                SofterMatrix();
                if (s_.R < 0.7) SofterResizer();
                return;
            }
            if (AtCorner()) {
                SofterMatrix();
                if (s_.R >= 0.7) {
                    if (!Shrink()) return;
                    continue;
                }
                t_ = 0.6;
                if (s_.R < 0.6) SofterResizer();
                break;
            }
            if (!Shrink()) return;
        }
        ShrinkToThreshold();
    }

    // Above the band the width grows to 704, then the codec gives up sharpness.
    void GrowToBand(void (Adjuster::*atFullWidth)()) {
        while (s_.R > 0.85) {
            if (s_.Width >= 704) return (this->*atFullWidth)();
            Grow();
        }
    }
    void DivXBFramesOff() { BFramesOff("Switching b-frames off."); }

    void SmallShrink() {
        while (s_.R < t_) {
            if (AtMinimum()) {
                if (s_.R < 0.6) SofterResizer();
                return;
            }
            if (AtCorner()) {
                t_ = 0.6;
                if (s_.R >= 0.6) return;
                SofterResizer();
            }
            if (!Shrink()) return;
        }
    }

    void DivXSmall() {
        if (Fixed()) {
            if (s_.R > 0.95) BFramesOff("Switching b-frames off.");
            return;
        }
        GrowToBand(&Adjuster::DivXBFramesOff);
        SmallShrink();
    }

    void XviDSmall() {
        if (Fixed()) {
            if (s_.R > 0.85) SharperThenBFrames();
            return;
        }
        GrowToBand(&Adjuster::SharperThenBFrames);
        SmallShrink();
    }

    const TAdjustInputs& in_;
    TAdjustState& s_;
    double t_ = 0.7;
};

}  // namespace

void AdjustAfterTest(const TAdjustInputs& in, TAdjustState& s) {
    if (!in.Predict) throw std::invalid_argument("The adjustment has no prediction.");
    Adjuster(in, s).Run();
}
