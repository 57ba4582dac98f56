#pragma once
// A frame-server script's frames, served on a thread of their own a few frames ahead of the one
// that takes them (the compressing thread), so that serving and compressing use both cores.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "client/ScriptClient.h"

namespace jobrunner {

class ServedFrames {
  public:
    // Serves frames first .. first + count - 1 of `script`, at most `ahead` in waiting.
    ServedFrames(fsclient::ClipScript& script, int first, int count, size_t ahead = 4);
    // Stops the serving thread and waits for it; frames not taken are released.
    ~ServedFrames();
    ServedFrames(const ServedFrames&) = delete;
    ServedFrames& operator=(const ServedFrames&) = delete;

    // The next frame in order, null after the last. Throws std::runtime_error with the frame
    // server's words when a frame could not be served.
    fsclient::FramePtr Next();

  private:
    void Serve(int first, int count);

    fsclient::ClipScript& script_;
    const size_t ahead_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<fsclient::FramePtr> frames_;
    bool finished_ = false;  // the thread served its last frame or failed
    bool stopping_ = false;  // the taker wants no more
    std::string error_;
    std::thread thread_;
};

}  // namespace jobrunner
