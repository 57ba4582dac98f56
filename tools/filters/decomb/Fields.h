#pragma once
// Field operations of the field matcher. Rows of one parity form a field (row y belongs to field
// y % 2, in the chroma planes as in luma); a frame woven from the kept field of one picture and
// the other field of another is judged by how much it combs.
#include <cstdint>
#include <vector>

#include "frameserver_plugin.h"

namespace ivtc {

// Sum of the luma comb values of the rows of `otherParity` of the picture woven from `keep`'s
// field and `other`'s field of that parity: low when the two fields belong to one picture.
int64_t MatchCost(const fsrv::Frame& keep, const fsrv::Frame& other, int otherParity);

// `keep` with the rows of `otherParity` taken from `other`, in every plane.
std::shared_ptr<fsrv::Frame> Weave(const fsrv::Frame& keep, const fsrv::Frame& other,
                                   int otherParity);

// Replaces the rows of `parity` by the mean of the rows above and below: everywhere, or, with
// flags from CombedPixels, only next to combed pixels (chroma follows the luma pixels it covers).
void InterpolateField(fsrv::Frame& frame, int parity, const std::vector<uint8_t>* mask);

}  // namespace ivtc
