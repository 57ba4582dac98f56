#pragma once
// The command line of the entry-point launcher: "rundll32 <library>,<Entry> <rest>". The planner
// writes the library path without quotes, so it may hold blanks (and commas); the comma that
// ends it is the first one before which the library exists.
#include <functional>
#include <optional>
#include <string>

namespace subtitles {

struct RundllCall {
    std::string library;
    std::string entry;
    std::string rest;  // everything after the entry name and the blanks after it, as written
};

// The command line without the program name (taken up to the first blank outside quotes) and
// the blanks after it.
std::string TailAfterProgram(const std::string& commandLine);

// nullopt when the tail has no "<library>,<Entry>".
std::optional<RundllCall> ParseRundllTail(
    const std::string& tail, const std::function<bool(const std::string&)>& libraryExists);

}  // namespace subtitles
