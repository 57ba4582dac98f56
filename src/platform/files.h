#pragma once
// File system services the planner was written against.
#include <cstdint>
#include <string>

namespace platform {

// The first entry of `folder` whose name matches `pattern` ("*" any run, "?" one character), in
// name order so that the result does not depend on the file system; optionally case-insensitive
// (ASCII letters). Returns the bare name, empty when nothing matches or the folder is unreadable.
std::string FindFirstMatch(const std::string& folder, const std::string& pattern,
                           bool caseInsensitive);
bool WildcardMatch(const std::string& name, const std::string& pattern, bool caseInsensitive);

bool FileExists(const std::string& path);       // a file (not a folder)
bool DirectoryExists(const std::string& path);  // a folder

// Copies a file (contents, permissions and time of last change); with `failIfExists` an existing
// target is refused. The copy is made under a temporary name and renamed into place, so a failed
// copy never leaves a partial target, and an old target stays as it was.
bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists);

// Deletes a file or a folder with everything in it, making folders writable first (read-only
// ones included). Links are removed, never followed. False when something could not be removed;
// true when there was nothing at `path`.
bool DeleteTree(const std::string& path);

// Creates a folder and its parents. False when it cannot.
bool ForceDirectories(const std::string& path);

// Size in bytes of a file that can be opened for reading; -1 otherwise (missing, a folder, not
// readable).
int64_t FileSize(const std::string& path);

// The short form of a path, which never holds a blank: the command lines carry such paths
// unquoted. A path that exists and holds a blank, a tab or a double quote is given as a link
// without them to the path, in a folder of the runtime folder private to the user
// ("<RuntimeFolder()>/movrex-links-<uid>/<hash of the path>/<its last part, blanks as _>"); any
// other path is the short form of itself, and so is one whose link cannot be made.
std::string ShortPathName(const std::string& path);

// Reads or writes a whole file. ReadFileText returns false (and an empty text) when the file
// cannot be read.
bool ReadFileText(const std::string& path, std::string& text);
// Writes through a temporary file and a rename, so a reader never sees half a file and a failed
// write leaves the old file as it was. A link is written through to the file it points at.
bool WriteFileText(const std::string& path, const std::string& text);

}  // namespace platform
