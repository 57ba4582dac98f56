#pragma once
// One libavfilter filter run frame by frame: a graph of a buffer source, the filter and a buffer
// sink, on one thread (serving and compressing already keep both cores busy). Frames go in
// without a copy, read-only, and come out copied into a frame of the plugin interface. Only for
// filters that give one frame for each frame they get.
#include <string>

#include "frameserver_plugin.h"

struct AVFilterGraph;
struct AVFilterContext;

namespace filters {

class LavfiFilter {
  public:
    // `owner` names our filter in errors ("Undot: ..."); `filter` and `options` are
    // libavfilter's ("removegrain", "m0=1:m1=1:m2=1").
    LavfiFilter(std::string owner, std::string filter, std::string options,
                const fsrv::VideoInfo& info);
    ~LavfiFilter();
    LavfiFilter(const LavfiFilter&) = delete;
    LavfiFilter& operator=(const LavfiFilter&) = delete;

    std::shared_ptr<fsrv::Frame> Run(const fsrv::FramePtr& in);
    // Starts again with a new graph, for a filter that remembers the frames before.
    void Reset();

  private:
    void Build();
    void Free();
    [[noreturn]] void Fail(const std::string& what, int code) const;

    std::string owner_, filter_, options_;
    fsrv::VideoInfo info_;
    AVFilterGraph* graph_ = nullptr;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
    int64_t pts_ = 0;
};

}  // namespace filters
