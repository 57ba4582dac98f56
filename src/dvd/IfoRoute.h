#pragma once
// The IFO route: when the ripper left no stream information file, the title is described from
// the title set (of all "VTS_*_0.IFO" files in the folder) that holds the longest program chain.
#include <cstddef>
#include <optional>
#include <string>

#include "dvd/IFOParser.h"
#include "dvd/VobInfo.h"

// True when a chain of playback time `a` is longer than one of `b` (both "h:mm:ss.zzz", or `b`
// empty). Hours have no leading zero, so a longer text is a longer time; equal lengths compare
// byte by byte.
bool IsLongerDuration(const std::string& a, const std::string& b);

// Takes the decoded title sets one at a time, in search order, and keeps only the one that
// describes the title: the set with the longest chain (the first of equals), or the first set
// when no set has a chain.
class TitleSetChoice {
  public:
    // `name` is the bare file name, `path` the one used in messages.
    void Offer(const std::string& name, const std::string& path, TIFO ifo);

    bool HasAny() const { return chosen_.has_value(); }
    // The description of the chosen set; Valid false when nothing was offered. Raises
    // DvdParseError naming the file when its picture size does not convert.
    TVobInfo Describe() const;

  private:
    struct Offered {
        std::string Path;
        TIFO Ifo;
    };
    std::optional<Offered> chosen_;
    std::optional<size_t> bestChain_;  // within chosen_, when some set has a chain
    std::string bestDuration_;
    std::string firstVob_;
};
