#pragma once
// The codec layer as the planner sees it: open an installed compressor by its four-character
// handler code, send it messages, close it. A compressor is a codec module in the system folder
// that the local-machine drivers table names (see platform/vfw_abi.h).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/vfw_abi.h"

inline constexpr uint32_t ICTYPE_VIDEO = MxFourCC('v', 'i', 'd', 'c');
inline constexpr uint32_t ICM_GETSTATE = MXICM_GETSTATE;
inline constexpr uint32_t ICM_SETSTATE = MXICM_SETSTATE;

// What ICSendMessage returns for a compressor that is not open.
inline constexpr intptr_t ICERR_BADHANDLE = -8;

// Four-character code of a text, upper-cased first when `upperCase` (as mmioStringToFOURCC
// with its upper-case flag); shorter texts are padded with blanks.
uint32_t StringToFourCC(const std::string& text, bool upperCase);
// The four characters of a code, first byte first.
std::string FourCCToString(uint32_t code);

// An open compressor: one instance of a loaded codec module. Closing happens when the object
// goes: the module is told to close the instance and then unloaded.
class Compressor {
  public:
    Compressor(void* module, MxDriverProcFn proc, intptr_t instance);
    ~Compressor();
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    intptr_t Send(uint32_t message, intptr_t p1, intptr_t p2) const;

  private:
    void* module_;
    MxDriverProcFn proc_;
    intptr_t instance_;
};
using HIC = std::unique_ptr<Compressor>;

// Opens the compressor of type `fccType` with handler `fccHandler`: looks up
// "<TYPE>.<HANDLER>" (as text) in the drivers table, loads the module from the system folder and
// asks it to open. Null when any step fails; then `whyNot`, when given, says which step failed
// and names the file.
HIC ICOpen(uint32_t fccType, uint32_t fccHandler, uint32_t mode, std::string* whyNot = nullptr);
// Forwards a message to the open compressor; ICERR_BADHANDLE when `hic` is null.
intptr_t ICSendMessage(const HIC& hic, uint32_t message, intptr_t p1, intptr_t p2);
void ICClose(HIC& hic);
