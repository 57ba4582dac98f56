#pragma once
// File lookups the stages share: the title's first VOB, and names that the ripper may have
// written in another letter case than the record or the rules give them.
#include <string>

#include "dvd/VobInfo.h"

// The name of the first "VTS_*_*.VOB" in `inputDir` (any letter case), empty when none.
std::string FindFirstVobName(const std::string& inputDir);

// `dir` + separator + the entry of `dir` whose name equals `name` ignoring letter case, or
// `name` itself when no entry does. Names with wildcard characters are taken as they are.
std::string PathInFolder(const std::string& dir, const std::string& name);

// The full path of the title's first VOB. An empty `FirstVob` is filled from the folder search;
// when that finds nothing either, raises `notFoundMessage`.
std::string FirstVobPath(TVobInfo& info, const std::string& inputDir,
                         const std::string& notFoundMessage);
