#include "dvd/SourceFolder.h"

#include <exception>

#include "dvd/StreamInfoParser.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

SourceFolderResult Refused(SourceFolderOutcome outcome, const char* message, std::string detail) {
    SourceFolderResult result;
    result.Outcome = outcome;
    result.Message = message;
    result.Detail = std::move(detail);
    return result;
}

SourceFolderResult Parse(const std::string& folder) {
    SourceFolderResult result;
    ParseStreamInfo parser;
    const std::string textFile = platform::FindFirstMatch(folder, kStreamInfoPattern, true);
    if (!textFile.empty()) {
        result.StreamInfoFile = folder + platform::kPathDelimStr + textFile;
        parser.ParseTextFile(result.StreamInfoFile);
    } else {
        parser.ParseIfoFiles(folder);
    }
    result.VobInfo = parser.GetVobInfo();
    result.Outcome = result.VobInfo.Valid ? SourceFolderOutcome::Ok : SourceFolderOutcome::NotDvd;
    if (!result.VobInfo.Valid) result.Message = kNotDvdMessage;
    return result;
}

}  // namespace

SourceFolderResult ReadSourceFolder(const std::string& folder) {
    if (folder.find_first_of("[]") != std::string::npos) {
        return Refused(SourceFolderOutcome::InvalidPath, kInvalidInputPathMessage, "");
    }
    // Any error of either route, a failed allocation for an absurd file included, ends the
    // reading with the one message the window shows.
    try {
        return Parse(folder);
    } catch (const std::exception& e) {
        return Refused(SourceFolderOutcome::ParseError, kParseErrorMessage, e.what());
    }
}
