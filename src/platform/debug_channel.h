#pragma once
// The debug-string channel between a helper program (and any program it starts) and the planner.
// The parent makes a pipe; the child finds the writing end's descriptor number in
// MOVREX_DEBUG_FD and inherits it into its own children. A record is a 4-byte little-endian
// length followed by that many bytes (at most kMaxDebugRecord), written with one write() so that
// records of several writers never interleave. The reader reads records until every process
// holding the writing end has closed it.
#include <functional>
#include <string>

namespace platform {

inline constexpr size_t kMaxDebugRecord = 4000;  // below PIPE_BUF with the length prefix

// Child side: writes one record; longer texts are cut to kMaxDebugRecord. Does nothing when the
// process has no channel (MOVREX_DEBUG_FD unset, or not naming the writing end of a pipe), and
// never ends the process with SIGPIPE when the reader has gone.
void OutputDebugString(const std::string& text);

// The channel's writing end that this process inherited, or -1. Process::Start passes it on to
// children started without a channel of their own, so that a whole tree writes to one reader.
int InheritedDebugFd();

// Parent side: the reading end. Made by Process::Start with StartOptions::debugChannel.
class DebugChannel {
  public:
    DebugChannel() = default;
    DebugChannel(const DebugChannel&) = delete;
    DebugChannel& operator=(const DebugChannel&) = delete;
    ~DebugChannel();

    // Hands every record to `onRecord` until all writers have ended. A malformed record (a
    // length above kMaxDebugRecord, or a stream that ends inside a record) ends the reading and
    // returns false; true when the channel closed cleanly. After a malformed length the channel
    // is closed, so that writers get an error instead of blocking on a pipe nobody reads.
    // False too when there is no channel. Exceptions from `onRecord` propagate (the channel stays
    // usable for Close()).
    bool ReadAll(const std::function<void(const std::string&)>& onRecord);
    void Close();

    // Used by Process::Start; closes the descriptor held before.
    void Adopt(int readFd);
    int Fd() const { return fd_; }

  private:
    int fd_ = -1;
};

}  // namespace platform
