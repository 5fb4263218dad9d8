// The private effVendorSpecific requests Tidewalker answers, for hosts of our
// own (the renderer, tests): the dispatcher's index names the request, its
// value carries the argument, and the answer is 1 when taken, 0 otherwise.
// Other effects answer 0 to these, so a host may send them to any effect.
#pragma once

#include "effect/VstAbi.h"

// Fixes the "S&H" wave's random sequence: value is the seed (its low 32
// bits). Each instance otherwise seeds itself from the clock, so two never
// modulate in step; a fixed seed makes renders repeat exactly.
inline constexpr VstInt32 kRandomSeedRequest = fourCharCode("twSd");
