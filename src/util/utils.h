#pragma once
// Small helpers that several parts of the program share. Free functions without state.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "util/codepage.h"

namespace platform {
struct OsVersion;
}

// Cuts `text` at every `separator` (its first character) and appends the pieces to `list`,
// empty pieces included. Nothing happens when list is null, text is empty or separator is empty.
void SplitText(const std::string& text, const std::string& separator,
               std::vector<std::string>* list);

// The system folder in its short form (see platform::ShortPathName), ending in the separator.
std::string SystemDirectory();

// Every byte above 0x7F becomes "\x" and two upper-case hex digits.
std::string EscapeHighBytes(const std::string& text);
// Converts from `from` (the system's narrow character set by default) to UTF-8, cut at 1023 bytes,
// then escapes as EscapeHighBytes.
std::string EscapeUtf8(const std::string& text, CodePage from = SystemAnsiCodePage());
// Every "\" becomes two.
std::string EscapeBackslashes(const std::string& text);

// The codec's state for a job script: `<size>,"<base64>"`, or `0,""` when the codec gives none.
std::string CodecStateText(const std::string& fourcc);

// The delay in milliseconds from a demultiplexed audio name such as "x T01 DELAY -80ms.ac3".
int32_t AudioDelayOf(const std::string& fileName);

// Size of a readable file, -1 otherwise.
int64_t FileSize64(const std::string& path);

// The "OS: " line's text for the running system.
std::string OsVersionText();

// The Windows version table, as a pure function (platform id 1 = 9x, 2 = NT).
struct WindowsVersion {
    bool known = false;  // false: the version could not be read
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    std::string servicePack;  // CSD text
};
std::string WindowsVersionText(const WindowsVersion& v);
// The running Linux system in the same shape, "Linux (6.1.0-18-amd64).Debian GNU/Linux 12
// (bookworm)"; what OsVersionText gives here.
std::string LinuxVersionText(const platform::OsVersion& v);

// "1 hour, 0 minutes 5 seconds" between two times, in either order.
std::string DurationText(std::chrono::system_clock::time_point a,
                         std::chrono::system_clock::time_point b);

// Powers the computer off and ends the program at once.
[[noreturn]] void ShutdownWindows();
