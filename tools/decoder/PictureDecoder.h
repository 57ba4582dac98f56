#pragma once
// libavcodec's MPEG-2 decoder, fed one picture at a time and giving back decoded pictures in
// display order, each with the tag of the piece it was decoded from. It uses its own threads.
#include <memory>
#include <string>
#include <vector>

#include "FramePool.h"
#include "frameserver_plugin.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace decoder {

struct DecodedPicture {
    int tag = -1;
    fsrv::FramePtr frame;
};

class PictureDecoder {
  public:
    // Pictures come out in the pool's frames, of the index's size. Throws fsrv::Error when
    // libavcodec has no MPEG-2 decoder.
    PictureDecoder(std::shared_ptr<FramePool> pool, int width, int height);
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // Forgets every picture held, for a new start.
    void Reset();
    // Decodes one piece; what was finished goes to `out`. A piece libavcodec refuses is skipped.
    void Send(const std::vector<uint8_t>& piece, int tag, std::vector<DecodedPicture>& out);
    // The end of the data: the pictures still held go to `out`. Reset() before sending more.
    void Drain(std::vector<DecodedPicture>& out);

    // A picture of another size than the index's was met (its top left part is served).
    bool SawOtherSize() const { return otherSize_; }

  private:
    void Free();
    void Receive(std::vector<DecodedPicture>& out);
    fsrv::FramePtr Copy(const AVFrame& picture);

    std::shared_ptr<FramePool> pool_;
    int width_, height_;
    AVCodecContext* context_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* picture_ = nullptr;
    bool otherSize_ = false;
};

}  // namespace decoder
