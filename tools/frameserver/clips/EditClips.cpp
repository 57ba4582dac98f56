#include "clips/EditClips.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace fsrv {
namespace {

std::string Size(const VideoInfo& vi) {
    return std::to_string(vi.width) + "x" + std::to_string(vi.height);
}

// A clip whose frame n is frame Map(n) of its input, with that frame's parity.
class MappedClip : public PassThroughClip {
  public:
    MappedClip(ClipPtr child, int frameCount) : PassThroughClip(std::move(child)) {
        info_.frameCount = frameCount;
    }
    FramePtr GetFrame(int n) override { return child_->GetFrame(Map(Clamp(n))); }
    bool GetParity(int n) override { return child_->GetParity(Map(Clamp(n))); }

  protected:
    virtual int Map(int n) const = 0;
};

class Trimmed final : public MappedClip {
  public:
    Trimmed(ClipPtr child, int first, int count)
        : MappedClip(std::move(child), count), first_(first) {}

  private:
    int Map(int n) const override { return first_ + n; }
    int first_;
};

class RangeSample final : public MappedClip {
  public:
    RangeSample(ClipPtr child, int count, int every, int length, int offset)
        : MappedClip(std::move(child), count), every_(every), length_(length), offset_(offset) {}

  private:
    int Map(int n) const override {
        return int(offset_ + int64_t(n / length_) * every_ + n % length_);
    }
    int every_, length_, offset_;
};

class Splice final : public Clip {
  public:
    explicit Splice(std::vector<ClipPtr> parts) : parts_(std::move(parts)) {
        info_ = parts_.front()->Info();
        int64_t total = 0;
        for (const ClipPtr& part : parts_) {
            starts_.push_back(int(total));
            total += part->Info().frameCount;
            if (total > INT_MAX) throw Error("+: the spliced clip would have too many frames");
        }
        info_.frameCount = int(total);
    }
    const VideoInfo& Info() const override { return info_; }
    FramePtr GetFrame(int n) override {
        const size_t i = Part(n);
        return parts_[i]->GetFrame(Clamp(n) - starts_[i]);
    }
    bool GetParity(int n) override {
        const size_t i = Part(n);
        return parts_[i]->GetParity(Clamp(n) - starts_[i]);
    }
    const std::vector<ClipPtr>& Parts() const { return parts_; }

  private:
    size_t Part(int n) const {
        const auto it = std::upper_bound(starts_.begin(), starts_.end(), Clamp(n));
        return size_t(it - starts_.begin()) - 1;
    }
    std::vector<ClipPtr> parts_;
    std::vector<int> starts_;
    VideoInfo info_;
};

class Cropped final : public PassThroughClip {
  public:
    Cropped(ClipPtr child, int left, int top, int width, int height)
        : PassThroughClip(std::move(child)), left_(left), top_(top) {
        info_.width = width;
        info_.height = height;
    }
    FramePtr GetFrame(int n) override {
        const FramePtr in = child_->GetFrame(n);
        auto out = std::make_shared<Frame>(info_.width, info_.height);
        for (int p = 0; p < 3; ++p) {
            const int shift = p == kY ? 0 : 1;
            const uint8_t* src =
                in->Data(p) + size_t(top_ >> shift) * in->Pitch(p) + (left_ >> shift);
            for (int y = 0; y < out->Height(p); ++y)
                std::copy_n(src + size_t(y) * in->Pitch(p), out->Width(p),
                            out->Data(p) + size_t(y) * out->Pitch(p));
        }
        return out;
    }

  private:
    int left_, top_;
};

}  // namespace

ClipPtr SpliceClips(const ClipPtr& a, const ClipPtr& b) {
    const VideoInfo& x = a->Info();
    const VideoInfo& y = b->Info();
    if (x.width != y.width || x.height != y.height)
        throw Error("+: clips of " + Size(x) + " and " + Size(y) + " pixels cannot be spliced");
    if (uint64_t(x.fpsNumerator) * y.fpsDenominator != uint64_t(y.fpsNumerator) * x.fpsDenominator)
        throw Error("+: clips of different frame rates cannot be spliced");
    std::vector<ClipPtr> parts;
    for (const ClipPtr& c : {a, b}) {
        if (const auto* s = dynamic_cast<const Splice*>(c.get()))
            parts.insert(parts.end(), s->Parts().begin(), s->Parts().end());
        else
            parts.push_back(c);
    }
    return std::make_shared<Splice>(std::move(parts));
}

ClipPtr TrimClip(const ClipPtr& clip, int first, int last) {
    const int frames = clip->Info().frameCount;
    int64_t end = last == 0 ? frames - 1 : last < 0 ? int64_t(first) - last - 1 : last;
    end = std::min<int64_t>(end, frames - 1);
    if (first < 0) throw Error("Trim: the first frame " + std::to_string(first) + " is negative");
    if (first > end)
        throw Error("Trim: frames " + std::to_string(first) + " to " + std::to_string(last) +
                    " hold no frame of a clip of " + std::to_string(frames) + " frames");
    return std::make_shared<Trimmed>(clip, first, int(end - first + 1));
}

ClipPtr SelectRangeEveryClip(const ClipPtr& clip, int every, int length, int offset) {
    if (every <= 0 || length <= 0)
        throw Error("SelectRangeEvery: every and length must be above 0");
    if (offset < 0) throw Error("SelectRangeEvery: offset must not be negative");
    const int64_t rest = int64_t(clip->Info().frameCount) - offset;
    if (rest <= 0)
        throw Error("SelectRangeEvery: the offset " + std::to_string(offset) +
                    " is beyond the clip's last frame");
    const int64_t count = rest / every * length + std::min<int64_t>(rest % every, length);
    if (count > INT_MAX) throw Error("SelectRangeEvery: too many frames");
    return std::make_shared<RangeSample>(clip, int(count), every, length, offset);
}

ClipPtr CropClip(const ClipPtr& clip, int left, int top, int width, int height) {
    const VideoInfo& vi = clip->Info();
    const int64_t w = width > 0 ? int64_t(width) : int64_t(vi.width) - left + width;
    const int64_t h = height > 0 ? int64_t(height) : int64_t(vi.height) - top + height;
    if (left < 0 || top < 0 || w <= 0 || h <= 0 || left + w > vi.width || top + h > vi.height)
        throw Error("crop: " + std::to_string(left) + "," + std::to_string(top) + "," +
                    std::to_string(width) + "," + std::to_string(height) +
                    " does not lie within the picture of " + Size(vi));
    if (left % 2 || top % 2 || w % 2 || h % 2)
        throw Error("crop: 4:2:0 pictures are cut at even positions and sizes only");
    return std::make_shared<Cropped>(clip, left, top, int(w), int(h));
}

}  // namespace fsrv
