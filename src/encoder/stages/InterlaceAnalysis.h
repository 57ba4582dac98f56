#pragma once
// The field-order stage's analysis runs.
#include <string>

#include "encoder/Run.h"

// One interlace analysis of `d2vPath`: sets the source type, the combing delta and, for a
// hybrid, the hybrid threshold.
void AnalyzeInterlace(TRun& run, const std::string& d2vPath);
