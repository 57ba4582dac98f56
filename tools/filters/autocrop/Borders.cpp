#include "Borders.h"

#include <algorithm>
#include <cmath>

#include "common/FilterKit.h"

namespace autocrop {
namespace {

using filters::Row;

bool DarkRow(const fsrv::Frame& f, int y, int threshold) {
    const int w = f.Width(fsrv::kY);
    const uint8_t* row = Row(f, fsrv::kY, y);
    int bright = 0;
    for (int x = 0; x < w; ++x) bright += row[x] > threshold;
    return bright * 50 <= w;
}

bool DarkColumn(const fsrv::Frame& f, int x, int threshold) {
    const int h = f.Height(fsrv::kY);
    int bright = 0;
    for (int y = 0; y < h; ++y) bright += Row(f, fsrv::kY, y)[x] > threshold;
    return bright * 50 <= h;
}

int EvenDown(int v) {
    return v / 2 * 2;
}
int EvenUp(int v) {
    return (v + 1) / 2 * 2;
}

// Cuts `size` to a multiple of `mult`, moving `start` by half the cut (kept even).
void FitMultiple(int& start, int& size, int mult) {
    const int cut = size % mult;
    start += EvenDown(cut / 2);
    size -= cut;
}

}  // namespace

Borders MeasureBorders(const fsrv::Frame& frame, int threshold) {
    const int w = frame.Width(fsrv::kY), h = frame.Height(fsrv::kY);
    Borders b;
    while (b.top < h && DarkRow(frame, b.top, threshold)) ++b.top;
    if (b.top == h) {
        b.blank = true;
        return b;
    }
    while (DarkRow(frame, h - 1 - b.bottom, threshold)) ++b.bottom;
    while (DarkColumn(frame, b.left, threshold)) ++b.left;
    while (DarkColumn(frame, w - 1 - b.right, threshold)) ++b.right;
    return b;
}

Borders Narrowest(const Borders& a, const Borders& b) {
    if (a.blank) return b;
    if (b.blank) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom), false};
}

Rect PictureRect(const Borders& borders, int width, int height, int wmult, int hmult) {
    if (borders.blank) return PictureRect(Borders{}, width, height, wmult, hmult);
    Rect r;
    r.left = EvenUp(borders.left);
    r.top = EvenUp(borders.top);
    r.width = std::max(0, width - r.left - EvenUp(borders.right));
    r.height = std::max(0, height - r.top - EvenUp(borders.bottom));
    FitMultiple(r.left, r.width, wmult);
    FitMultiple(r.top, r.height, hmult);
    return r;
}

Rect ShapeRect(const Rect& picture, double aspect, int wmult, int hmult) {
    Rect r = picture;
    if (aspect <= 0 || picture.width == 0 || picture.height == 0) return r;
    if (double(picture.width) / picture.height > aspect) {
        r.width = int(std::lround(picture.height * aspect / wmult)) * wmult;
        if (r.width > picture.width) r.width -= wmult;
        r.left += EvenDown((picture.width - r.width) / 2);
    } else {
        r.height = int(std::lround(picture.width / aspect / hmult)) * hmult;
        if (r.height > picture.height) r.height -= hmult;
        r.top += EvenDown((picture.height - r.height) / 2);
    }
    return r;
}

}  // namespace autocrop
