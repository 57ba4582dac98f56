#pragma once
// Path texts as the program builds them, with the platform separator.
#include <string>

// The folder part of `path` without a trailing separator, except for the root folder itself.
std::string ExtractFileDir(const std::string& path);
// The part after the last separator.
std::string ExtractFileName(const std::string& path);
// Replaces the last extension of the file name part (from its last "."), or appends
// `extension` when the name has none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);
// The folder of `file`, ending in the separator: the folder text plus the separator unless the
// text is the root folder, which already ends in one. A bare file name is taken to be in the
// current folder.
std::string OutputFolderOf(const std::string& file);
