#pragma once
// Playback times of an IFO file: four bytes of hours, minutes, seconds in binary-coded decimal and
// a byte whose top two bits give the frame rate (11: 30 frames per second, else 25) and whose low
// six bits give the frame count in BCD. Times are shown as "h:mm:ss.zzz".
#include <cstdint>
#include <optional>
#include <string>

#include "dvd/IfoBytes.h"

struct TPlaybackTime {
    int Hours = 0;
    int Minutes = 0;
    int Seconds = 0;
    int Milliseconds = 0;  // frame count * 1000 / frame rate, to the nearest
};

// The value of a BCD byte; nothing when a nibble is above 9.
std::optional<int> BcdValue(uint8_t byte);

// Decodes the four bytes at `offset`; raises (through `bytes`) when the file ends first or a
// nibble is above 9. `what` names the time in messages.
TPlaybackTime ReadPlaybackTime(const IfoBytes& bytes, uint64_t offset, const char* what);

int64_t TotalMilliseconds(const TPlaybackTime& time);

// "h:mm:ss.zzz" of a time as decoded; nothing when it is not a time of day (24 hours or more, 60
// minutes or seconds or more, 1000 milliseconds or more), which has no such text.
std::optional<std::string> TimeText(const TPlaybackTime& time);
// The same for a count of milliseconds; nothing from 24 hours on or below 0.
std::optional<std::string> TimeTextOfMilliseconds(int64_t ms);
