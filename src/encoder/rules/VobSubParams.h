#pragma once
// The subtitle extractor's parameter file and the edits made to the index it writes.
#include <cstdint>
#include <string>
#include <vector>

// The IFO name of the title set of `firstVob`: the name without its last five characters
// ("1.VOB") followed by "0.ifo"; empty when the name is too short to hold them.
std::string IfoNameOf(const std::string& firstVob);
// The fallback for rippers that add program chain or angle markers to the VOB names: the first
// seven characters ("VTS_01_") followed by "0.ifo"; empty when the name is shorter.
std::string PlainIfoNameOf(const std::string& firstVob);

// The program chain number after "PGC" (two digits, "PGC_03"), 1 when the name has none; the
// angle number after "ANGLE" (one digit, "ANGLE_2"), 0 when none. Raise an error naming the VOB
// when the marker is there but no number follows it.
int32_t ProgramChainOf(const std::string& firstVob);
int32_t AngleOf(const std::string& firstVob);

// The six lines; `stream2` is -1 when there is no second subtitle stream.
std::vector<std::string> VobSubParamLines(const std::string& ifoPath, const std::string& base,
                                          int32_t programChain, int32_t angle, int32_t stream1,
                                          int32_t stream2);

// Sets the index's language line to `stream` and, with `forcedOnly`, its forced-subtitles line
// to "ON", within the first 200 lines (the header); lines further down are subtitle data.
void EditSubtitleIndex(std::vector<std::string>& lines, int32_t stream, bool forcedOnly);
