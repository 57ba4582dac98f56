#include "encoder/IndexFile.h"

#include "encoder/TextLines.h"

std::vector<std::string> LoadTextLines(const std::string& path) {
    return LoadLinesKeepingEnds(path).Lines;
}

void SaveTextLines(const std::vector<std::string>& lines, const std::string& path) {
    SaveLinesKeepingEnds(TTextLines{lines, true}, path);
}
