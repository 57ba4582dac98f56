#pragma once
// Where a run's log lines go: the main window's log view, the terminal of the headless program,
// or a list in a test. Implementations must accept lines from any thread and keep their order.
#include <string>

class ILineSink {
  public:
    virtual ~ILineSink() = default;
    virtual void AddLine(const std::string& line) = 0;
};
