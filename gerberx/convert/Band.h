#pragma once

// A closed line drawn as an area (a frame, a polygon's outline drawn as a thin band, a ring given
// as an outline primitive): one hole whose edges run along the outer ring's, each at one distance
// inside it. Round tracks that wide along its middle draw it but for its corners, where a round
// join stays short of the square one.

#include <cstdint>
#include <optional>
#include <vector>

#include "gerberx/convert/Decompose.h"

namespace gerberx::convert {

// The tracks along the middle of `shape`, when it is such a band no wider than `maxWidth` and
// every corner the joins leave lies within `tolerance` of the band's edge; none otherwise.
std::optional<std::vector<RoundTrack>> BandTracks(const IntShape& shape, double tolerance, int64_t maxWidth);

}  // namespace gerberx::convert
