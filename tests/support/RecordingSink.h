#pragma once
// A line sink that keeps every line it is given, from any thread, for the tests to read back.
#include <mutex>
#include <string>
#include <vector>

#include "util/LineSink.h"

namespace testing_support {

class RecordingSink : public ILineSink {
  public:
    void AddLine(const std::string& line) override {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(line);
    }
    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

}  // namespace testing_support
