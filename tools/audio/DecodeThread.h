#pragma once
// Decoding and mixing run on a thread of their own, a few blocks ahead of the encoder, so that
// both cores work: the encoder is the slow stage, and it need not wait for the decoder.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "AudioSource.h"
#include "Mixer.h"

namespace audio {

class DecodeThread {
  public:
    // Starts decoding `source` through `mixer`; both belong to the thread until Next() has said
    // that the end is reached.
    DecodeThread(AudioSource& source, Mixer& mixer);
    // Stops the thread (when the encoder gave up early) and waits for it.
    ~DecodeThread();
    DecodeThread(const DecodeThread&) = delete;
    DecodeThread& operator=(const DecodeThread&) = delete;

    // The next block of mixed samples; nullopt after the last. Throws what ended the decoding.
    std::optional<Pcm> Next();
    int64_t BytesRead() const { return bytesRead_.load(); }

  private:
    void Run();
    // Waits for room; false when the reader has gone.
    bool Push(Pcm&& block);
    void Close(std::exception_ptr error);

    AudioSource& source_;
    Mixer& mixer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Pcm> blocks_;
    bool closed_ = false;    // no more blocks will come
    bool stopping_ = false;  // the reader has gone
    std::exception_ptr error_;
    std::atomic<int64_t> bytesRead_{0};
    std::thread thread_;
};

}  // namespace audio
