#include "core/ReceiveStream.h"

namespace dashvell {

ReceiveStream::ReceiveStream(VehicleState& state) : state_(state) {}

void ReceiveStream::ReceiveByte(uint8_t) {}

}  // namespace dashvell
