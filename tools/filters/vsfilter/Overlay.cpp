#include "Overlay.h"

#include <algorithm>

#include "common/FilterKit.h"

namespace subrender {
namespace {

using filters::Row;

// Where a bitmap of `size` at `pos` on a canvas of `canvasSize` goes in a frame of `frameSize`:
// its centre in proportion, the whole bitmap inside when it fits. Even, so chroma lines up.
int Place(int pos, int size, int canvasSize, int frameSize) {
    const int64_t centre = (int64_t(pos) * 2 + size) * frameSize / (2 * int64_t(canvasSize));
    int64_t at = centre - size / 2;
    at = std::clamp<int64_t>(at, 0, std::max(0, frameSize - size));
    return int(at) & ~1;
}

uint8_t Mix(int under, int over, int alpha) {
    return uint8_t((under * (255 - alpha) + over * alpha + 127) / 255);
}

void DrawBitmap(fsrv::Frame& f, const Bitmap& bm, int left, int top) {
    const int fw = f.Width(fsrv::kY), fh = f.Height(fsrv::kY);
    const int w = std::min(bm.width, fw - left), h = std::min(bm.height, fh - top);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = Row(f, fsrv::kY, top + y) + left;
        const size_t at = size_t(y) * size_t(bm.width);
        for (int x = 0; x < w; ++x) row[x] = Mix(row[x], bm.luma[at + x], bm.alpha[at + x]);
    }
    // Each chroma sample takes the opacity-weighted colour of the (up to) four pixels it covers.
    for (int cy = 0; cy < (h + 1) / 2; ++cy) {
        uint8_t* u = Row(f, fsrv::kU, top / 2 + cy) + left / 2;
        uint8_t* v = Row(f, fsrv::kV, top / 2 + cy) + left / 2;
        for (int cx = 0; cx < (w + 1) / 2; ++cx) {
            int alpha = 0, cb = 0, cr = 0;
            for (int dy = 0; dy < 2 && 2 * cy + dy < h; ++dy)
                for (int dx = 0; dx < 2 && 2 * cx + dx < w; ++dx) {
                    const size_t at = size_t(2 * cy + dy) * size_t(bm.width) + size_t(2 * cx + dx);
                    alpha += bm.alpha[at];
                    cb += bm.alpha[at] * bm.cb[at];
                    cr += bm.alpha[at] * bm.cr[at];
                }
            if (alpha == 0) continue;
            const int a = alpha / 4;
            u[cx] = Mix(u[cx], cb / alpha, a);
            v[cx] = Mix(v[cx], cr / alpha, a);
        }
    }
}

}  // namespace

void DrawSubpicture(fsrv::Frame& frame, const Subpicture& sub, const Canvas& canvas) {
    const int fw = frame.Width(fsrv::kY), fh = frame.Height(fsrv::kY);
    const int cw = canvas.width > 0 ? canvas.width : fw,
              ch = canvas.height > 0 ? canvas.height : fh;
    for (const Bitmap& bm : sub.bitmaps) {
        if (bm.width <= 0 || bm.height <= 0) continue;
        DrawBitmap(frame, bm, Place(bm.x + canvas.originX, bm.width, cw, fw),
                   Place(bm.y + canvas.originY, bm.height, ch, fh));
    }
}

}  // namespace subrender
