#pragma once
// The one-line description of a title's video shown in the source information field.
#include <string>

#include "dvd/VobInfo.h"

// "Video info:   PAL - 720x576 - 16:9 Anamorphic - 25fps", then " - " and the duration when the
// title has one. The frame rate is written in its shortest general form with `decimalSeparator`.
std::string VideoSummaryLine(const TVobInfo& info, char decimalSeparator);

// The shortest general decimal form of a value (at most 15 significant digits), as the user's
// locale writes it: 25, 29.997, 23.976.
std::string GeneralNumberText(double value, char decimalSeparator);
