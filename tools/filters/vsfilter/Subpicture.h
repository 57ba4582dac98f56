#pragma once
// Decoded subpictures as the renderer draws them: bitmaps in the video's colours with an
// opacity per pixel, and when they show.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct AVCodecContext;

namespace subrender {

// One rectangle of a subpicture, pixel by pixel: Y, Cb, Cr (video range) and opacity 0..255.
struct Bitmap {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<uint8_t> luma, cb, cr, alpha;
};

struct Subpicture {
    int64_t startMs = 0;  // after the unit's time stamp
    int64_t endMs = -1;   // after the unit's time stamp; -1: until the next subpicture
    bool forced = false;
    std::vector<Bitmap> bitmaps;
};

// libavcodec's DVD subpicture decoder with the index's palette (without one it guesses grey
// levels). Each unit is decoded on its own: nothing of a damaged unit reaches the next.
class SubpictureDecoder {
  public:
    // `alphaPercent` scales every opacity (the index's "alpha:").
    SubpictureDecoder(const std::array<uint32_t, 16>* palette, int alphaPercent);
    ~SubpictureDecoder();
    SubpictureDecoder(const SubpictureDecoder&) = delete;
    SubpictureDecoder& operator=(const SubpictureDecoder&) = delete;

    // nullopt with `problem` set when the unit does not decode.
    std::optional<Subpicture> Decode(const std::vector<uint8_t>& unit, std::string& problem);

  private:
    AVCodecContext* context_ = nullptr;
    int alphaPercent_;
};

}  // namespace subrender
