#pragma once
// A subpicture packet source for tests, on libavformat's program-stream demuxer: an independent
// reading of the title's VOBs to hold the extractor's own VOB reader against.
#include <string>
#include <vector>

#include "SubpictureSource.h"

namespace subtitletest {

class LibavTitlePackets : public subtitles::SubpictureSource {
  public:
    // The VOBs VTS_xx_1.VOB, VTS_xx_2.VOB ... beside the IFO at `ifoPath`; read whole at once.
    explicit LibavTitlePackets(const std::string& ifoPath);
    subtitles::CellPackets ReadCell(const subtitles::IfoCell& cell) override;

  private:
    struct Located {
        uint32_t sector = 0;
        subtitles::SubpicturePacket packet;
    };
    std::vector<std::string> vobs_;
    std::vector<Located> packets_;
};

}  // namespace subtitletest
