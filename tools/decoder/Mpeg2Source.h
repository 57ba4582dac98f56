#pragma once
// mpeg2source("file.d2v"): the frames of a title through its index, as the index's field
// operation asks for them, at the index's frame rate.
#include <string>
#include <vector>

#include "FieldMap.h"
#include "PictureSource.h"
#include "PictureTable.h"
#include "Warnings.h"
#include "frameserver_plugin.h"
#include "media/IndexFile.h"

namespace decoder {

// The frame rate of the index's Frame_Rate value (frames per 1000 s): 23976, 29970 and 59940
// are the NTSC rates, everything else is taken as it is.
struct FrameRate {
    unsigned numerator = 0, denominator = 1;
};
FrameRate FrameRateOf(int perThousandSeconds);

// The index, read and checked: fsrv::Error naming the file and what is wrong with it.
media::IndexFile ReadServableIndex(const std::string& path);

class Mpeg2Source final : public fsrv::Clip {
  public:
    explicit Mpeg2Source(const std::string& indexPath);

    const fsrv::VideoInfo& Info() const override { return info_; }
    fsrv::FramePtr GetFrame(int n) override;
    bool GetParity(int n) override { return frames_[Clamp(n)].topFirst; }

  private:
    media::IndexFile index_;
    PictureTable table_;
    std::vector<FrameFields> frames_;
    fsrv::VideoInfo info_;
    std::shared_ptr<FramePool> pool_;
    Warnings warnings_;
    PictureSource pictures_;
};

}  // namespace decoder
