#pragma once
// The file a first pass leaves for the second: the codec's own statistics, followed by one line
// of ours that says the pass finished and which clip it saw ("# clip 640x352 25/1 frames 500").
// A second pass refuses a file without that line (the first pass did not finish, or the file was
// cut short) and a file of another clip.
#include <cstdint>
#include <string>

#include "platform/vfw_abi.h"

namespace mxcodec {

// Collects a first pass's file under "<path>.part" and saves it under its own name when the
// pass ends, so that a pass that fails never leaves a file under that name.
class FirstPassFile {
  public:
    // Creates the part file; CodecError(MXICERR_FILE) naming the file when it cannot.
    FirstPassFile(std::string path, std::string what);
    ~FirstPassFile();  // removes the part file unless Commit() saved it
    FirstPassFile(const FirstPassFile&) = delete;
    FirstPassFile& operator=(const FirstPassFile&) = delete;

    const std::string& PartPath() const { return part_; }
    void Append(const std::string& text);  // for codecs that hand their statistics over as text
    // Adds the clip line and saves the file under its name (replacing an older one at once).
    void Commit(const MxVideoFormat& format, int64_t frames);

  private:
    std::string path_;
    std::string part_;
    std::string what_;
    int fd_ = -1;
    bool committed_ = false;
};

struct FirstPassData {
    std::string body;    // the codec's statistics, the clip line removed
    int64_t frames = 0;  // as the clip line gives it
};

// Reads a first pass's file for the second pass of `format` and checks its clip line.
// CodecError(MXICERR_FILE) names the file and says what is wrong with it.
FirstPassData ReadFirstPassFile(const std::string& path, const std::string& what,
                                const MxVideoFormat& format);

// What a second pass checks of its frames against the first pass's file: the file describes
// as many frames as its clip line says, the pass goes on no further than that and ends with all
// of them. Each check throws CodecError(MXICERR_FILE) naming the file.
class PassFrames {
  public:
    PassFrames() = default;
    PassFrames(std::string what, std::string path, int64_t frames, int64_t described);
    int64_t Count() const { return frames_; }
    void CheckNext(int64_t coded) const;  // before coding frame number `coded`
    void CheckEnd(int64_t coded) const;   // after `coded` frames

  private:
    std::string what_;
    std::string path_;
    int64_t frames_ = 0;
};

// Throws CodecError(MXICERR_FILE): "The <what> <path> <problem>".
[[noreturn]] void PassFileError(const std::string& what, const std::string& path,
                                const std::string& problem);

}  // namespace mxcodec
