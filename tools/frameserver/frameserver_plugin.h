#pragma once
// The frame server's plugin interface. A plugin is a shared object in filters/ built in this
// repository with the same compiler; it includes this header only (it links nothing of the frame
// server) and exports one registration function, written with FRAMESERVER_PLUGIN below:
//
//   FRAMESERVER_PLUGIN(host) {
//       host.AddFunction("Undot", "c", &MakeUndot);
//   }
//
// Everything here is header-only so that a plugin and the frame server share no symbols: the
// frame server calls the plugin through the registration function and the Function objects it
// registers, the plugin calls back through the virtual Host.
//
// Threads: a clip graph is used by one thread at a time (the host interface serialises calls on
// one open script), so a filter needs no locks of its own. Different open scripts may serve on
// different threads at once: keep no mutable state outside your clip objects.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace fsrv {

// Bumped whenever a class below changes its layout or a virtual function is added.
inline constexpr int kInterfaceVersion = 1;

// What a clip serves: 8-bit planar YUV 4:2:0 (Y, U, V planes; chroma at half width and height,
// so width and height are even) at fpsNumerator / fpsDenominator frames per second.
struct VideoInfo {
    int width = 0;
    int height = 0;
    unsigned fpsNumerator = 25;
    unsigned fpsDenominator = 1;
    int frameCount = 0;
};

enum Plane { kY = 0, kU = 1, kV = 2 };

// One picture. Planes start 64-byte aligned and each row is padded to a multiple of 64 bytes, so
// the media libraries' vector code may read a whole pitch. A frame handed on is shared and must
// not be written any more: write only into frames you made yourself.
class Frame {
  public:
    Frame(int width, int height) {
        if (width <= 0 || height <= 0 || width % 2 || height % 2 || width > 16384 || height > 16384)
            throw std::invalid_argument("a frame of " + std::to_string(width) + "x" +
                                        std::to_string(height) +
                                        " pixels is impossible in 4:2:0 (even sizes up to 16384)");
        size_t offset = 0;
        for (int p = 0; p < 3; ++p) {
            width_[p] = p == kY ? width : width / 2;
            height_[p] = p == kY ? height : height / 2;
            pitch_[p] = (width_[p] + 63) / 64 * 64;
            offset_[p] = offset;
            offset += size_t(pitch_[p]) * size_t(height_[p]);
        }
        size_ = offset;
        buffer_ = static_cast<uint8_t*>(::operator new[](size_, std::align_val_t(64)));
    }
    ~Frame() { ::operator delete[](buffer_, std::align_val_t(64)); }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    uint8_t* Data(int plane) { return buffer_ + offset_[plane]; }
    const uint8_t* Data(int plane) const { return buffer_ + offset_[plane]; }
    int Pitch(int plane) const { return pitch_[plane]; }
    int Width(int plane) const { return width_[plane]; }
    int Height(int plane) const { return height_[plane]; }

    // Copies the visible pixels of `from` (same size) into this frame.
    void CopyFrom(const Frame& from) {
        for (int p = 0; p < 3; ++p)
            for (int y = 0; y < height_[p]; ++y)
                std::memcpy(Data(p) + size_t(y) * pitch_[p],
                            from.Data(p) + size_t(y) * from.Pitch(p), size_t(width_[p]));
    }

  private:
    uint8_t* buffer_ = nullptr;
    size_t size_ = 0;
    size_t offset_[3] = {};
    int pitch_[3] = {};
    int width_[3] = {};
    int height_[3] = {};
};
using FramePtr = std::shared_ptr<const Frame>;

// A node of the clip graph. Frame numbers outside 0..frameCount-1 are clamped by the clip (the
// frame server's own clips do so), so a temporal filter may ask for n-1 at frame 0.
class Clip {
  public:
    virtual ~Clip() = default;
    virtual const VideoInfo& Info() const = 0;
    virtual FramePtr GetFrame(int n) = 0;
    // True when frame n's top field comes first.
    virtual bool GetParity(int n) = 0;

  protected:
    int Clamp(int n) const { return std::clamp(n, 0, std::max(Info().frameCount - 1, 0)); }
};
using ClipPtr = std::shared_ptr<Clip>;

// A filter that changes some frames or the description derives from this and overrides what it
// changes; everything else goes to the input clip.
class PassThroughClip : public Clip {
  public:
    explicit PassThroughClip(ClipPtr child) : child_(std::move(child)), info_(child_->Info()) {}
    const VideoInfo& Info() const override { return info_; }
    FramePtr GetFrame(int n) override { return child_->GetFrame(n); }
    bool GetParity(int n) override { return child_->GetParity(n); }

  protected:
    ClipPtr child_;
    VideoInfo info_;
};

// A filter's complaint: throw Error("FilterName: what is wrong"). The frame server puts the
// script's file and line in front.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A script value: undefined (an optional argument not given, a function that returns nothing),
// an integer, a float, a boolean, a string or a clip.
class Value {
  public:
    enum class Type { Undefined, Int, Float, Bool, String, Clip };
    Value() = default;
    Value(int v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(bool v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(ClipPtr v) : v_(std::move(v)) {}

    Type GetType() const { return static_cast<Type>(v_.index()); }
    bool Defined() const { return GetType() != Type::Undefined; }
    bool IsInt() const { return GetType() == Type::Int; }
    bool IsFloat() const { return GetType() == Type::Float; }
    bool IsNumber() const { return IsInt() || IsFloat(); }
    bool IsBool() const { return GetType() == Type::Bool; }
    bool IsString() const { return GetType() == Type::String; }
    bool IsClip() const { return GetType() == Type::Clip; }

    // The accessors take the value for an undefined one; the frame server has checked the type
    // of every argument against the signature before a function sees it.
    int AsInt(int orElse = 0) const { return IsInt() ? std::get<int>(v_) : orElse; }
    double AsFloat(double orElse = 0) const {
        return IsFloat() ? std::get<double>(v_) : IsInt() ? std::get<int>(v_) : orElse;
    }
    bool AsBool(bool orElse = false) const { return IsBool() ? std::get<bool>(v_) : orElse; }
    std::string AsString(const std::string& orElse = "") const {
        return IsString() ? std::get<std::string>(v_) : orElse;
    }
    ClipPtr AsClip() const { return IsClip() ? std::get<ClipPtr>(v_) : nullptr; }

  private:
    std::variant<std::monostate, int, double, bool, std::string, ClipPtr> v_;
};

// The arguments of one call, one per parameter of the signature and in its order; an optional
// parameter that was not given is undefined.
using Args = std::vector<Value>;

class Host;

// A registered function. It runs while the script is evaluated (or, for a run-time function,
// while FrameEvaluate serves a frame) and returns its result, often a new clip.
using Function = std::function<Value(const Args& args, Host& host)>;

// The frame server as a plugin sees it. The Host outlives every clip of the script, so a filter
// may keep a reference to it for use in GetFrame.
class Host {
  public:
    // Registers `name` (case does not matter) with a parameter signature: one letter per
    // parameter, c clip, i integer, f float (an integer is accepted), b boolean, s string,
    // . any value; "[name]" before a letter makes the parameter optional and lets it be given
    // by name. Positional parameters come first: "c[threshold]f[debug]b". When the first
    // parameter is a clip and a call leaves it out, the script's implicit last clip is passed.
    // A later registration of the same name replaces the earlier one.
    virtual void AddFunction(const std::string& name, const std::string& signature,
                             Function function) = 0;
    // The frame FrameEvaluate is serving, for run-time functions; -1 outside FrameEvaluate.
    virtual int CurrentFrame() const = 0;
    // One record on the debug-string channel of the process (nothing when there is none).
    virtual void DebugString(const std::string& text) = 0;

  protected:
    ~Host() = default;
};

}  // namespace fsrv

// The registration function every plugin exports. The frame server calls it once per LoadPlugin
// with its interface version; the body registers the plugin's functions on `hostName` only when
// the versions agree, and the frame server refuses the plugin otherwise.
#define FRAMESERVER_PLUGIN_INIT_NAME "FrameServerPluginInit"
#define FRAMESERVER_PLUGIN(hostName)                                                             \
    static void FrameServerRegister(fsrv::Host& hostName);                                       \
    extern "C" __attribute__((visibility("default"))) int FrameServerPluginInit(int version,     \
                                                                                fsrv::Host* h) { \
        if (version == fsrv::kInterfaceVersion) FrameServerRegister(*h);                         \
        return fsrv::kInterfaceVersion;                                                          \
    }                                                                                            \
    static void FrameServerRegister(fsrv::Host& hostName)
