// The gateway receive stream: every received byte passes the reply-line
// collector, then the 20-byte frame window; frames are routed to the J1939
// decoders and the lamp and transport handlers. One object, owned by the
// dashboard, holds the collectors and the broadcast trackers.
#pragma once

#include <cstdint>

#include "core/VehicleState.h"

namespace dashvell {

class ReceiveStream {
 public:
  explicit ReceiveStream(VehicleState& state);
  void ReceiveByte(uint8_t b);

 private:
  VehicleState& state_;
};

}  // namespace dashvell
