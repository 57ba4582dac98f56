#pragma once
// What each statement of a job script means here, and the job it adds up to.
#include <string>
#include <vector>

#include "Job.h"
#include "ScriptReader.h"

namespace jobrunner {

// The job of `statements`. Throws JobError, naming the script and the line, for an unknown
// statement, a wrong number or kind of arguments, a value out of range, or a statement out of
// order (anything after SaveAVI, SaveAVI before Open, a second Open or SaveAVI, a stream setting
// before the stream's SetSource), and when the script saves nothing.
Job MakeJob(const std::vector<Statement>& statements, const std::string& scriptName);

// Reads the script at `path` and makes its job; JobError when the file cannot be read.
Job ReadJob(const std::string& path);

// The output that the SaveAVI line of the script at `path` names, read line by line so that a
// fault elsewhere does not hide it; empty when there is none.
std::string OutputNamedBy(const std::string& path);

// The bytes of standard Base64 text (with "=" padding); false for any other character or an
// impossible length.
bool DecodeBase64(const std::string& text, std::vector<uint8_t>& bytes);

}  // namespace jobrunner
