#pragma once
// The indexer's command-line arguments. Each text starts with a blank and follows the program
// path directly; paths stand between the brackets as they are, blanks included.
#include <cstdint>
#include <string>

// 3 (decode to WAV) for an LPCM track, 1 (demultiplex) for anything else.
int32_t IndexerOutputMethod(const std::string& audioFormat);

std::string IndexOnlyArguments(const std::string& firstVob, int32_t idct,
                               const std::string& outputBase);
std::string IndexWithAudioArguments(const std::string& firstVob, int32_t idct, int32_t track,
                                    int32_t outputMethod, const std::string& outputBase);
