#pragma once
// Every file of a folder whose name matches a wildcard pattern.
#include <string>
#include <vector>

// Bare names of the regular files (or links to them) in `folder` that match `pattern` ("*", "?"),
// ignoring the case of ASCII letters as the ripper's own system does, in name order so that the
// result does not depend on the file system. Raises DvdParseError naming the folder when it does
// not exist or cannot be read.
std::vector<std::string> MatchingFileNames(const std::string& folder, const std::string& pattern);
