#pragma once
// What the decoder passed over, said once on standard error: the same damage met again after a
// seek is not repeated, and a badly damaged title stops after a screenful.
#include <iostream>
#include <set>
#include <string>

namespace decoder {

class Warnings {
  public:
    static constexpr size_t kMaxShown = 20;

    void Once(const std::string& text) {
        if (said_.size() > kMaxShown || !said_.insert(text).second) return;
        std::cerr << "mpeg2source: warning: "
                  << (said_.size() > kMaxShown ? "further warnings are not shown" : text)
                  << std::endl;
    }

  private:
    std::set<std::string> said_;
};

}  // namespace decoder
