#pragma once
// Reading an input folder the way the main window does, shared by the window, the headless
// program and the tests: the folder is refused when its path has brackets (the tools' command
// lines cannot carry them); a stream information file is read when there is one, else the IFO
// files; errors become the window's fixed messages, with the detail kept for the log.
#include <string>

#include "dvd/VobInfo.h"

inline constexpr const char* kInvalidInputPathMessage =
    "Input directory path contains invalid characters. Please select another one.";
inline constexpr const char* kParseErrorMessage =
    "Error parsing input directory. Make sure you used DVDDecrypter in IFO mode to rip a DVD.";
inline constexpr const char* kNotDvdMessage =
    "Input directory does not contain valid DVD structure ripped by DVDDecrypter.";

// The stream information file's name pattern.
inline constexpr const char* kStreamInfoPattern = "VTS_* - Stream Information.txt";

enum class SourceFolderOutcome {
    Ok,           // VobInfo describes the title
    InvalidPath,  // refused before anything was read; the caller keeps its previous input
    ParseError,   // something could not be read; VobInfo is empty and not to be used
    NotDvd,       // read, but no title found: VobInfo has Valid false (the window stores it)
};

struct SourceFolderResult {
    SourceFolderOutcome Outcome = SourceFolderOutcome::ParseError;
    TVobInfo VobInfo;
    std::string Message;         // the fixed text to show; empty when Ok
    std::string Detail;          // for ParseError: the file and what was wrong
    std::string StreamInfoFile;  // the text file read; empty on the IFO route
};

SourceFolderResult ReadSourceFolder(const std::string& folder);
