#pragma once
// What every filter plugin needs besides the plugin interface: argument checks whose errors name
// the filter, new frames of a clip's size, and row access to planes.
#include <cstdint>
#include <string>

#include "frameserver_plugin.h"

namespace filters {

// The integer argument, or `orElse` when it was not given; outside lo..hi it is an error
// "<filter>: <name> must be from <lo> to <hi>, not <value>".
int IntArg(const char* filter, const char* name, const fsrv::Value& value, int orElse, int lo,
           int hi);
double FloatArg(const char* filter, const char* name, const fsrv::Value& value, double orElse,
                double lo, double hi);

inline const uint8_t* Row(const fsrv::Frame& f, int plane, int y) {
    return f.Data(plane) + size_t(y) * size_t(f.Pitch(plane));
}
inline uint8_t* Row(fsrv::Frame& f, int plane, int y) {
    return f.Data(plane) + size_t(y) * size_t(f.Pitch(plane));
}

inline std::shared_ptr<fsrv::Frame> NewFrame(const fsrv::VideoInfo& info) {
    return std::make_shared<fsrv::Frame>(info.width, info.height);
}

// The part of `from` at (left, top) of `to`'s size; left and top even.
void CopyArea(const fsrv::Frame& from, int left, int top, fsrv::Frame& to);

// A frame rate times num/den, reduced.
void ScaleRate(fsrv::VideoInfo& info, unsigned num, unsigned den);

}  // namespace filters
