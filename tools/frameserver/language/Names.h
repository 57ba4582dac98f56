#pragma once
// Names in scripts do not depend on case: variables and functions are looked up lower-cased.
#include <string>

namespace fsrv::script {

std::string Lower(const std::string& name);

// Words that cannot name a variable or a function.
bool IsReserved(const std::string& name);

// The signature letter of a parameter type ("clip" -> 'c'); 0 for an unknown type.
char TypeLetter(const std::string& lowerType);

// "a clip", "an integer" ... for messages; `letter` is a signature letter.
std::string TypeWord(char letter);

}  // namespace fsrv::script
