#pragma once
// The hybrid threshold search reads the decimation filter's debug strings
// ("Decimate: <frame>: <metric>"): the threshold becomes the largest metric below 2.0 reported
// for an odd frame. Other strings are ignored; a "Decimate:" string with three items whose frame
// or metric is not a number raises an error with the conversion's message.
#include <string>

void CaptureThreshold(const std::string& text, double& threshold);
