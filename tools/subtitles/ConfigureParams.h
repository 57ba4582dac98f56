#pragma once
// The parameter file the planner hands to Configure, six lines: the IFO path, the base name of
// the pair to write, the program chain (from 1), the angle, the subpicture stream numbers
// followed by "cc", and "CLOSE".
#include <string>
#include <vector>

namespace subtitles {

struct ConfigureParams {
    std::string ifoPath;
    std::string base;
    int chain = 1;
    int angle = 0;
    std::vector<int> streams;  // 0..31, in the order given, without repeats
};

// Raises an error naming `name` and the line when a line is missing or cannot be read.
ConfigureParams ParseConfigureParams(const std::string& text, const std::string& name,
                                     std::vector<std::string>& warnings);
ConfigureParams ReadConfigureParams(const std::string& path, std::vector<std::string>& warnings);

}  // namespace subtitles
