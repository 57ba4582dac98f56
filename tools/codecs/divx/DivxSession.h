#pragma once
// One run of the DivX codec: libavcodec's MPEG-4 Part 2 encoder set up from the configuration
// for one input format, fed frame by frame, drained, and ended with the pass's own end work.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "common/PassFiles.h"
#include "common/Pictures.h"
#include "divx/DivxConfig.h"
#include "divx/DivxPasses.h"
#include "platform/vfw_abi.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

namespace mxcodec {

class DivxSession {
  public:
    DivxSession(const DivxConfig& config, const MxVideoFormat& format);
    ~DivxSession();
    DivxSession(const DivxSession&) = delete;
    DivxSession& operator=(const DivxSession&) = delete;

    uint32_t StreamCode() const;
    void Encode(MxCompressFrame& frame);
    bool Drain(MxCompressFrame& frame);
    void Finish();

  private:
    void Open();
    void Release() noexcept;
    void Send(AVFrame* frame);  // null: the end of the input
    void Collect();             // moves every packet the encoder has ready into `ready_`
    bool Hand(MxCompressFrame& out);
    int QuantizerFor(int64_t frame);

    DivxConfig config_;
    MxVideoFormat format_;
    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = nullptr;
    std::unique_ptr<FirstPassFile> firstPass_;
    std::unique_ptr<DivxSecondPass> secondPass_;
    PassFrames logFrames_;  // a second pass's check of its frames against the log
    int64_t framesIn_ = 0;
    bool flushed_ = false;
    std::deque<AVPacket*> ready_;
    QuantizerSpreader spreader_;
};

}  // namespace mxcodec
