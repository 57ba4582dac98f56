#include "PictureSource.h"

#include <climits>

#include "media/MediaError.h"

namespace decoder {
namespace {

// Pictures kept from the run: enough for the fields of a frame and the pulldown around it.
constexpr size_t kKeptPictures = 8;
// Gaps remembered at most; a title damaged beyond that is decoded again where it is asked for.
constexpr size_t kMaxGaps = 100000;
// What a new start costs beyond the pictures it decodes: emptying and refilling the decoder's
// threads, counted in pictures.
constexpr int kRestartPictures = 6;
// Entries gone back one by one to find where the data ends, before going back to the start.
constexpr int kMaxStepsBack = 16;

std::string Range(int first, int last) {
    return first == last ? "picture " + std::to_string(first)
                         : "pictures " + std::to_string(first) + "-" + std::to_string(last);
}

}  // namespace

PictureSource::PictureSource(const std::string& indexPath, const media::IndexFile& index,
                             const PictureTable& table, std::shared_ptr<FramePool> pool,
                             Warnings& warnings)
    : indexPath_(indexPath),
      table_(table),
      warnings_(warnings),
      decoder_(std::move(pool), index.video.format.width, index.video.format.height),
      end_(table.Count() - 1) {
    try {
        feed_ = std::make_unique<VideoFeed>(
            indexPath, index, table, [&warnings](const std::string& w) { warnings.Once(w); });
    } catch (const media::MediaError& e) {
        throw fsrv::Error(std::string("mpeg2source: ") + e.what());
    }
}

fsrv::FramePtr PictureSource::Picture(int display) {
    try {
        // Each round finds the picture or learns of a gap or the end that decides what is served
        // in its place, so a few rounds do for a whole title.
        int wanted = display;
        for (int round = 0; round < 4; ++round) {
            wanted = Resolve(display);
            if (auto it = kept_.find(wanted); it != kept_.end()) return it->second;
            if (!CanContinueTo(wanted)) Start(table_.StartEntryFor(wanted), wanted);
            DecodeUntil(wanted);
            if (auto it = kept_.find(wanted); it != kept_.end()) return it->second;
            if (!running_ && lastOutput_ < 0) FindEnd();
        }
        return Nearest(wanted);
    } catch (const media::MediaError& e) {
        running_ = false;
        throw fsrv::Error(std::string("mpeg2source: ") + e.what());
    }
}

// Around damage, what decodes depends on where decoding began: a picture found once may not
// come out of a later start. The nearest picture at hand is served and stays its stand-in.
fsrv::FramePtr PictureSource::Nearest(int wanted) {
    if (kept_.empty())
        throw fsrv::Error("mpeg2source: " + indexPath_ + ": picture " + std::to_string(wanted) +
                          " cannot be found in the VOB files");
    auto it = kept_.lower_bound(wanted);
    if (it == kept_.end()) --it;
    if (gaps_.size() < kMaxGaps) gaps_[wanted] = {wanted, it->first};
    warnings_.Once(indexPath_ + ": " + Range(wanted, wanted) +
                   " does not decode from where it was asked for; picture " +
                   std::to_string(it->first) + " is served in its place");
    return it->second;
}

// The picture served for `display`: past the end the last one, in a gap the picture after it,
// which may lie in a gap found later.
int PictureSource::Resolve(int display) const {
    for (size_t step = 0; step <= gaps_.size(); ++step) {
        display = std::min(display, end_);
        const auto after = gaps_.upper_bound(display);
        if (after == gaps_.begin() || display > std::prev(after)->second.last) break;
        if (std::prev(after)->second.next == display) break;
        display = std::prev(after)->second.next;
    }
    return display;
}

// Going on is better than starting again when it decodes no more pictures than a start would.
bool PictureSource::CanContinueTo(int display) const {
    if (!running_ || display < validFrom_ || display <= lastOutput_) return false;
    const int from = std::max(lastOutput_ + 1, validFrom_);
    const int restart =
        display - table_.FirstValid(table_.StartEntryFor(display)) + kRestartPictures;
    return display - from <= restart;
}

void PictureSource::Start(int entry, int target) {
    decoder_.Reset();
    kept_.clear();
    startEntry_ = feed_->StartAt(entry);
    validFrom_ = std::min(table_.FirstValid(startEntry_), target);
    lastOutput_ = -1;
    running_ = true;
}

// Decodes on until `display` or a picture after it came out, or the data ended.
void PictureSource::DecodeUntil(int display) {
    while (running_ && lastOutput_ < display) {
        if (!feed_->Next(pieces_)) {
            decoder_.Drain(decoded_);
            Take(decoded_);
            running_ = false;
            if (lastOutput_ >= 0) SetEnd(lastOutput_);
            break;
        }
        for (const PicturePiece& piece : pieces_) decoder_.Send(piece.bytes, piece.tag, decoded_);
        Take(decoded_);
    }
    if (decoder_.SawOtherSize())
        warnings_.Once(
            indexPath_ +
            ": some pictures are not of the index's size; their top left part is served");
}

// Keeps the run's pictures in display order; a picture missing between two that came out is a
// gap, served as the picture after it.
void PictureSource::Take(std::vector<DecodedPicture>& decoded) {
    for (DecodedPicture& picture : decoded) {
        if (picture.tag < 0 || picture.tag >= table_.Count()) continue;
        const int shown = table_.DisplayOf(picture.tag);
        if (shown < validFrom_ || shown <= lastOutput_) continue;
        const int expected = lastOutput_ >= 0 ? lastOutput_ + 1 : validFrom_;
        if (shown > expected && gaps_.size() < kMaxGaps) {
            gaps_[expected] = {shown - 1, shown};
            warnings_.Once(indexPath_ + ": " + Range(expected, shown - 1) +
                           " (in display order) do not decode; picture " + std::to_string(shown) +
                           " is served in their place");
        }
        Keep(shown, std::move(picture.frame));
        lastOutput_ = shown;
    }
    decoded.clear();
}

void PictureSource::Keep(int display, fsrv::FramePtr frame) {
    kept_[display] = std::move(frame);
    while (kept_.size() > kKeptPictures) kept_.erase(kept_.begin());
}

void PictureSource::SetEnd(int last) {
    if (last >= end_) return;
    end_ = last;
    warnings_.Once(indexPath_ + ": the VOB files end before the video the index lists: " +
                   std::to_string(last + 1) + " of its " + std::to_string(table_.Count()) +
                   " pictures decode, and the last of them is served in place of the rest");
}

// A run from startEntry_ to the end of the data gave nothing: the end lies before that entry.
void PictureSource::FindEnd() {
    for (int steps = 0; lastOutput_ < 0; ++steps) {
        if (startEntry_ == 0)
            throw fsrv::Error("mpeg2source: " + indexPath_ +
                              ": no picture of the VOB files it lists decodes");
        const int entry = steps < kMaxStepsBack ? startEntry_ - 1 : 0;
        Start(entry, table_.FirstValid(entry));
        DecodeUntil(INT_MAX);
    }
}

}  // namespace decoder
