#pragma once
// A child's standard output, read line by line on a thread of its own, so that the child never
// blocks on a full pipe while its starter waits for something else (its end, its debug strings).
#include <functional>
#include <string>
#include <thread>

namespace platform {

class OutputLines {
  public:
    // Lines longer than this are handed on in pieces of this length.
    static constexpr size_t kMaxLine = 64 * 1024;

    // Takes over the reading end `fd` (Process::TakeOutput) and hands every line, without its
    // line end, to `onLine` on the reading thread. An exception from `onLine` drops that line.
    // Throws std::system_error when no thread can be made; `fd` is closed then.
    OutputLines(int fd, std::function<void(const std::string&)> onLine);
    // Finish().
    ~OutputLines();
    OutputLines(const OutputLines&) = delete;
    OutputLines& operator=(const OutputLines&) = delete;

    // Reads what the pipe still holds, then stops, even while a program that the child started
    // holds the pipe open; a last piece without a line end counts as a line. Call it once the
    // child has ended.
    void Finish();

  private:
    void Read();
    // Reads what is there now; false at the end of the stream or on an error.
    bool ReadAvailable();
    void Deliver(const std::string& line);

    int fd_ = -1;
    int stop_ = -1;  // an event descriptor that Finish() signals
    std::function<void(const std::string&)> onLine_;
    std::string pending_;
    std::thread thread_;
};

}  // namespace platform
