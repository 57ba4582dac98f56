#pragma once
// What the test and the passes share: the movie script from the run's fields, the job script
// echoed and saved, and the job runner started and waited for.
#include <string>

#include "encoder/encoder.h"
#include "scripts/avs.h"

// Builds the movie script for `use`, echoes it under "Writing the following script to <path>"
// and saves it as `path`.
void SaveMovieScript(TMXEncoder& e, TMovieScriptUse use, const std::string& path);
// Echoes `job` and saves it as JobScriptFile.
void SaveJob(TMXEncoder& e, const TScriptLines& job);
// The final job from the movie script to OutputFile with the encoded audio streams.
TScriptLines FinalJob(const TMXEncoder& e, const std::string& movieScript);
