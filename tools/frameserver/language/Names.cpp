#include "language/Names.h"

#include <cctype>

namespace fsrv::script {

std::string Lower(const std::string& name) {
    std::string lower = name;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool IsReserved(const std::string& name) {
    const std::string lower = Lower(name);
    for (const char* word : {"function", "global", "return", "true", "false", "yes", "no"})
        if (lower == word) return true;
    return false;
}

char TypeLetter(const std::string& lowerType) {
    if (lowerType == "clip") return 'c';
    if (lowerType == "int") return 'i';
    if (lowerType == "float") return 'f';
    if (lowerType == "bool") return 'b';
    if (lowerType == "string") return 's';
    if (lowerType == "val") return '.';
    return 0;
}

std::string TypeWord(char letter) {
    switch (letter) {
        case 'c':
            return "a clip";
        case 'i':
            return "an integer";
        case 'f':
            return "a number";
        case 'b':
            return "true or false";
        case 's':
            return "a string";
        default:
            return "a value";
    }
}

}  // namespace fsrv::script
