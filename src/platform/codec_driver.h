#pragma once
// Opening an installed codec module (see vfw_abi.h): the drivers table of the local-machine hive
// names the module for "<TYPE>.<HANDLER>", the module is loaded from the system folder and asked
// to open an instance. The planner's codec layer and the job runner both open codecs this way.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/shared_library.h"
#include "platform/vfw_abi.h"

namespace platform {

// The four characters of a code, first byte first.
std::string FourCCText(uint32_t code);

// One open instance of a codec module. Destroying it closes the instance, then unloads the
// module.
class CodecDriver {
  public:
    // The instance of type `fccType` ("vidc") and handler `fccHandler` ("XVID"), or null with
    // `whyNot` saying which step failed and naming the table entry or file.
    static std::unique_ptr<CodecDriver> Open(uint32_t fccType, uint32_t fccHandler,
                                             std::string& whyNot);
    ~CodecDriver();
    CodecDriver(const CodecDriver&) = delete;
    CodecDriver& operator=(const CodecDriver&) = delete;

    intptr_t Send(uint32_t message, intptr_t p1, intptr_t p2) const;
    // What the module said about its last failure; empty when it says nothing.
    std::string ErrorText() const;

  private:
    CodecDriver(std::unique_ptr<SharedLibrary> module, MxDriverProcFn proc, intptr_t instance)
        : module_(std::move(module)), proc_(proc), instance_(instance) {}
    // Unloaded after the instance is closed, as the last member to go.
    std::unique_ptr<SharedLibrary> module_;
    MxDriverProcFn proc_;
    intptr_t instance_;
};

}  // namespace platform
