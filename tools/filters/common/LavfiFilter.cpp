#include "LavfiFilter.h"

#include <cstring>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
}

#include "FilterKit.h"

namespace filters {
namespace {

struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
using AvFrame = std::unique_ptr<AVFrame, FrameDeleter>;

void ReleaseHeld(void* opaque, uint8_t*) {
    delete static_cast<fsrv::FramePtr*>(opaque);
}

// An AVFrame over the planes of `in`, which it keeps alive; read-only, so the filter writes its
// result into a frame of its own.
AvFrame Wrap(const fsrv::FramePtr& in, int64_t pts) {
    AvFrame f(av_frame_alloc());
    if (!f) throw std::bad_alloc();
    const uint8_t* start = in->Data(fsrv::kY);
    const uint8_t* end = in->Data(fsrv::kV) + size_t(in->Pitch(fsrv::kV)) * in->Height(fsrv::kV);
    auto* held = new fsrv::FramePtr(in);
    f->buf[0] = av_buffer_create(const_cast<uint8_t*>(start), size_t(end - start), &ReleaseHeld,
                                 held, AV_BUFFER_FLAG_READONLY);
    if (!f->buf[0]) {
        delete held;
        throw std::bad_alloc();
    }
    for (int p = 0; p < 3; ++p) {
        f->data[p] = const_cast<uint8_t*>(in->Data(p));
        f->linesize[p] = in->Pitch(p);
    }
    f->width = in->Width(fsrv::kY);
    f->height = in->Height(fsrv::kY);
    f->format = AV_PIX_FMT_YUV420P;
    f->pts = pts;
    return f;
}

}  // namespace

LavfiFilter::LavfiFilter(std::string owner, std::string filter, std::string options,
                         const fsrv::VideoInfo& info)
    : owner_(std::move(owner)),
      filter_(std::move(filter)),
      options_(std::move(options)),
      info_(info) {
    Build();
}

LavfiFilter::~LavfiFilter() {
    Free();
}

void LavfiFilter::Fail(const std::string& what, int code) const {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    throw fsrv::Error(owner_ + ": libavfilter's " + filter_ + " " + what + " (" + text + ")");
}

void LavfiFilter::Build() {
    graph_ = avfilter_graph_alloc();
    if (!graph_) throw std::bad_alloc();
    graph_->nb_threads = 1;
    const std::string source = "video_size=" + std::to_string(info_.width) + "x" +
                               std::to_string(info_.height) +
                               ":pix_fmt=yuv420p:time_base=1/90000:pixel_aspect=1/1";
    const AVFilter* work = avfilter_get_by_name(filter_.c_str());
    if (!work) Fail("is not in this build of the library", AVERROR_FILTER_NOT_FOUND);
    AVFilterContext* middle = nullptr;
    int r = avfilter_graph_create_filter(&source_, avfilter_get_by_name("buffer"), "in",
                                         source.c_str(), nullptr, graph_);
    if (r >= 0)
        r = avfilter_graph_create_filter(&middle, work, "work", options_.c_str(), nullptr, graph_);
    if (r >= 0)
        r = avfilter_graph_create_filter(&sink_, avfilter_get_by_name("buffersink"), "out", nullptr,
                                         nullptr, graph_);
    if (r >= 0) r = avfilter_link(source_, 0, middle, 0);
    if (r >= 0) r = avfilter_link(middle, 0, sink_, 0);
    if (r >= 0) r = avfilter_graph_config(graph_, nullptr);
    if (r < 0) {
        Free();
        Fail("cannot be set up with \"" + options_ + "\"", r);
    }
}

void LavfiFilter::Free() {
    avfilter_graph_free(&graph_);
    source_ = sink_ = nullptr;
}

void LavfiFilter::Reset() {
    Free();
    Build();
    pts_ = 0;
}

std::shared_ptr<fsrv::Frame> LavfiFilter::Run(const fsrv::FramePtr& in) {
    if (!graph_) Build();
    AvFrame frame = Wrap(in, pts_++);
    int r = av_buffersrc_add_frame_flags(source_, frame.get(), 0);
    if (r < 0) Fail("refused a frame", r);
    AvFrame result(av_frame_alloc());
    if (!result) throw std::bad_alloc();
    r = av_buffersink_get_frame(sink_, result.get());
    if (r < 0) Fail("gave no frame back", r);
    auto out = NewFrame(info_);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < out->Height(p); ++y)
            std::memcpy(Row(*out, p, y), result->data[p] + ptrdiff_t(y) * result->linesize[p],
                        size_t(out->Width(p)));
    return out;
}

}  // namespace filters
