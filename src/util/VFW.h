#pragma once
// The codec layer as the planner sees it: open an installed compressor by its four-character
// handler code, send it messages, close it. A compressor is a codec module in the system folder
// that the local-machine drivers table names (see platform/vfw_abi.h).
#include <cstdint>
#include <memory>
#include <string>

#include "platform/codec_driver.h"
#include "platform/vfw_abi.h"

inline constexpr uint32_t ICTYPE_VIDEO = MxFourCC('v', 'i', 'd', 'c');
inline constexpr uint32_t ICM_GETSTATE = MXICM_GETSTATE;
inline constexpr uint32_t ICM_SETSTATE = MXICM_SETSTATE;

// What ICSendMessage returns for a compressor that is not open.
inline constexpr intptr_t ICERR_BADHANDLE = MXICERR_BADHANDLE;

// Four-character code of a text, upper-cased first when `upperCase` (as mmioStringToFOURCC
// with its upper-case flag); shorter texts are padded with blanks.
uint32_t StringToFourCC(const std::string& text, bool upperCase);
// The four characters of a code, first byte first.
std::string FourCCToString(uint32_t code);

// An open compressor: one instance of a loaded codec module. Closing happens when the object
// goes: the module is told to close the instance and then unloaded.
using Compressor = platform::CodecDriver;
using HIC = std::unique_ptr<Compressor>;

// Opens the compressor of type `fccType` with handler `fccHandler`: looks up
// "<TYPE>.<HANDLER>" (as text) in the drivers table, loads the module from the system folder and
// asks it to open. Null when any step fails; then `whyNot`, when given, says which step failed
// and names the file.
HIC ICOpen(uint32_t fccType, uint32_t fccHandler, uint32_t mode, std::string* whyNot = nullptr);
// Forwards a message to the open compressor; ICERR_BADHANDLE when `hic` is null.
intptr_t ICSendMessage(const HIC& hic, uint32_t message, intptr_t p1, intptr_t p2);
void ICClose(HIC& hic);

// ---- The AVI file interface: an AVI file's main header, read straight from its RIFF
// structure. Init and Exit exist for callers written against the interface; nothing needs
// setting up here.

struct AVIFILEINFOA {
    uint32_t dwMaxBytesPerSec = 0;
    uint32_t dwFlags = 0;
    uint32_t dwCaps = 0;
    uint32_t dwStreams = 0;
    uint32_t dwSuggestedBufferSize = 0;
    uint32_t dwWidth = 0;
    uint32_t dwHeight = 0;
    uint32_t dwScale = 0;
    uint32_t dwRate = 0;
    uint32_t dwLength = 0;
    uint32_t dwEditCount = 0;
    char szFileType[64] = {};
};
static_assert(sizeof(AVIFILEINFOA) == 108);

inline constexpr uint32_t OF_READ = 0;
inline constexpr int32_t AVIERR_OK = 0;
inline constexpr int32_t AVIERR_BADFORMAT = -2147205018;  // 0x80044066
inline constexpr int32_t AVIERR_FILEOPEN = -2147205011;   // 0x8004406D
inline constexpr int32_t AVIERR_BADSIZE = -2147205016;    // 0x80044068
inline constexpr int32_t AVIERR_BADHANDLE = -2147205012;  // 0x8004406C

// An open AVI file: what was read from it at opening.
struct TAviFileState {
    AVIFILEINFOA Info;
};
using PAVIFILE = std::unique_ptr<TAviFileState>;

void AVIFileInit();
void AVIFileExit();
// Opens `path` for reading (the only mode) and reads its main header. AVIERR_FILEOPEN when the
// file cannot be read, AVIERR_BADFORMAT when it is no AVI file or its headers are damaged; then
// `whyNot`, when given, says what was wrong.
int32_t AVIFileOpenA(PAVIFILE& file, const std::string& path, uint32_t mode,
                     std::string* whyNot = nullptr);
// Copies up to `size` bytes of the file's information; AVIERR_BADHANDLE for a file not open,
// AVIERR_BADSIZE for a negative size.
int32_t AVIFileInfoA(const PAVIFILE& file, AVIFILEINFOA* info, int32_t size);
// Closes the file; returns the references left (always 0).
uint32_t AVIFileRelease(PAVIFILE& file);
