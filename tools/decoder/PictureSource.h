#pragma once
// Decoded pictures by display number, asked for in any order. Serving in order runs one decoder
// on through the title; a picture far from where it is makes it start again at the entry that
// picture needs. The last few pictures are kept for the two fields of a frame; the frame
// server's cache keeps the frames served.
//
// A picture that does not decode is served as the next one that does; where a run found such a
// gap it is remembered, so that any order of asking gives the same frames. Past the last picture
// that decodes (a VOB shorter than its index says) that picture is served, and a warning says so
// once.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PictureDecoder.h"
#include "PictureTable.h"
#include "VideoFeed.h"
#include "Warnings.h"

namespace decoder {

class PictureSource {
  public:
    // `index`, `table` and `warnings` must outlive the source. Throws fsrv::Error when a VOB
    // file cannot be opened.
    PictureSource(const std::string& indexPath, const media::IndexFile& index,
                  const PictureTable& table, std::shared_ptr<FramePool> pool, Warnings& warnings);

    // Picture `display` (0 .. table.Count()-1), or what is served in its place. Throws
    // fsrv::Error when the files cannot be read or nothing of the title decodes.
    fsrv::FramePtr Picture(int display);

  private:
    struct Gap {
        int last;  // the gap runs from its key to here
        int next;  // the picture served in its place
    };
    int Resolve(int display) const;
    fsrv::FramePtr Nearest(int wanted);
    bool CanContinueTo(int display) const;
    void Start(int entry, int target);
    void DecodeUntil(int display);
    void Take(std::vector<DecodedPicture>& decoded);
    void Keep(int display, fsrv::FramePtr frame);
    void SetEnd(int last);
    void FindEnd();

    std::string indexPath_;
    const PictureTable& table_;
    Warnings& warnings_;
    std::unique_ptr<VideoFeed> feed_;
    PictureDecoder decoder_;

    // The run: the decoder going on from an entry.
    bool running_ = false;
    int startEntry_ = 0;
    int validFrom_ = 0;    // pictures before this one are not right in this run
    int lastOutput_ = -1;  // the last picture the run gave
    std::vector<PicturePiece> pieces_;
    std::vector<DecodedPicture> decoded_;

    std::map<int, fsrv::FramePtr> kept_;
    std::map<int, Gap> gaps_;
    int end_;  // the last picture that decodes, as far as known
};

}  // namespace decoder
