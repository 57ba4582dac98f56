#pragma once
// libavcodec decodes straight into the frames the plugin serves, so that a picture is not copied
// on its way out. Every 4:2:0 picture buffer of the decoder is one of our frames, wrapped as a
// libavcodec buffer: one of the pool's when the picture has the index's size and the decoder's
// alignment fits it, else one made to the decoder's aligned size (those are copied out).
#include "FramePool.h"
#include "frameserver_plugin.h"

struct AVCodecContext;
struct AVFrame;

namespace decoder {

// For AVCodecContext::get_buffer2, with the context's opaque pointing at the FramePool.
int GetFrameBuffer(AVCodecContext* context, AVFrame* frame, int flags);

// A decoded 4:2:0 picture of `width` x `height` served as it is: the pool frame it was decoded
// into, holding the picture's buffer (so that the decoder writes into it no more) for as long as
// the frame is used. Null when the picture is in a frame of another size (copy it out).
fsrv::FramePtr ServedAsDecoded(const AVFrame& picture, int width, int height);

}  // namespace decoder
