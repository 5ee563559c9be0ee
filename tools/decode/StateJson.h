// Formats what the receive path wrote into VehicleState as one line of JSON,
// for dashvell-decode and anything that compares decoded captures.
#pragma once

#include <cstdint>
#include <string>

#include "core/VehicleState.h"

namespace dashvell {

// The shortest decimal text that reads back to exactly `value` ("2",
// "12.300000190734863" for the float 12.3); "null" for a NaN or infinity,
// which JSON cannot carry.
std::string FormatJsonNumber(double value);

// {"engineSpeedKrpm":...,"frames":N}: every field the receive path writes,
// by its name in VehicleState, then the number of decoded windows.
std::string StateJson(const VehicleState& state, uint64_t frames);

}  // namespace dashvell
