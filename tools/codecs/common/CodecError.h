#pragma once
// How the codec modules report a failure inside a message: thrown by the work, caught at the
// message boundary, where its code becomes the message's result and its text the instance's
// error text.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "platform/vfw_abi.h"

namespace mxcodec {

class CodecError : public std::runtime_error {
  public:
    CodecError(int32_t code, const std::string& text) : std::runtime_error(text), code_(code) {}
    int32_t Code() const { return code_; }

  private:
    int32_t code_;
};

}  // namespace mxcodec
