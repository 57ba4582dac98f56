#pragma once
// The frame structure of the source, as the index and the analysis runs classify it. The movie
// script's filter chain depends on it.
#include <cstdint>

enum : uint8_t {
    stForcedFilm = 0,
    stFilm = 1,
    stProgressive = 2,
    stInterlaced = 3,
    stHybridFilm = 4,   // hybrid, mostly FILM
    stHybridVideo = 5,  // hybrid, mostly NTSC video
};
