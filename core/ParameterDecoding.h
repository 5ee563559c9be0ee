// Decodes the supported J1939 parameter groups into VehicleState, converted
// on the spot to the US units the instruments show.
#pragma once

#include <cstdint>

#include "core/J1939Raw.h"
#include "core/SourceGroup.h"
#include "core/VehicleState.h"

namespace dashvell {

// Writes every field of the parameter group `pgn` (data page 0) sent by
// `group`. The engine's groups are decoded only from the engine and the
// transmission fluids only from the transmission; any other combination does
// nothing. A value J1939 marks as not available writes its field's fallback.
void DecodeParameterGroup(VehicleState& state, SourceGroup group, uint16_t pgn, DataBytes data);

}  // namespace dashvell
