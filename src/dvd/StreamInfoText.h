#pragma once
// The text route: the ripper's stream information file, read line by line.
#include <string>

#include "dvd/VobInfo.h"

// Fills the tracks and the video of `info` from the file's text (its bytes as stored), then sets
// `Valid`. `fileName` names the file in messages. Raises DvdParseError on the first line that
// lacks a field or a number its kind needs; `info` is then partly filled.
void ReadStreamInfoText(const std::string& text, const std::string& fileName, TVobInfo& info);
