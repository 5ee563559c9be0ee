// Routes a gateway frame by its J1939 identifier to the parameter decoder or
// to the lamp and transport handlers.
#pragma once

#include "core/DiagnosticLamps.h"
#include "core/GatewayFrame.h"
#include "core/VehicleState.h"

namespace dashvell {

// Decodes one window that passed the checksum. Frames on data page 1 or the
// extended data page, requests (PF 234), unknown senders and unsupported
// groups are dropped without trace.
void DecodeFrame(const GatewayFrame& frame, VehicleState& state, BamTrackers& trackers);

}  // namespace dashvell
