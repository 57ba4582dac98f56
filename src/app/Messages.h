#pragma once
// The fixed texts of the start-up check and of the main window's refusals. The window shows them
// in message boxes, the headless program prints them; both take them from here.

// Start-up check, in the order of its tests.
inline constexpr const char* kNoMmxMessage =
    "MMX-Enabled CPU is not detected. Application will now exit.";
inline constexpr const char* kNoCodecMessage =
    "Codecs are not found. This application requires XviD or DivX to be installed. Application "
    "will now exit.";
inline constexpr const char* kNoAviSynthMessage =
    "Avisynth is not installed. Application will now exit.";
// Follows the path of a missing tool or plug-in.
inline constexpr const char* kToolMissingSuffix = " is not found. Application will now exit.";

// Output file.
inline constexpr const char* kInvalidOutputPathMessage =
    "Output file path contains invalid characters. Please select another one.";
// A double quote would end the quoted path early in the command lines of the archiver and the
// other tools.
inline constexpr const char* kOutputPathQuoteMessage =
    "Output file path contains a double quote (\"), which the tools' command lines cannot carry. "
    "Please select another one.";
inline constexpr const char* kExternalSubsSpaceMessage =
    "You have external subtitles enabled. Output path should not contain spaces for further "
    "processing.";
// Follows the path of a missing subtitle component; the "\n" is shown as the two characters.
inline constexpr const char* kSubtitlesDisabledSuffix =
    " is not found.\\nSubtitles will be disabled.";

// Main window.
inline constexpr const char* kAbortQuestion = "Are you sure that you want to abort encoding?";
inline constexpr const char* kAbortBeforeQuitMessage =
    "Please abort the job before quitting the application.";

// Caption and banner.
inline constexpr const char* kApplicationTitle = "Movrex";
inline constexpr const char* kProgramBanner =
    "Movrex 1.25 - THE tool for DVD-2-XviD/DivX conversion.";
