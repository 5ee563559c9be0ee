#include "link/GatewayCommands.h"

namespace dashvell {

GatewayCommands::GatewayCommands(VehicleState& state, const CMSComm& comm,
                                 MillisecondCounter& counter)
    : state_(state), comm_(comm), counter_(counter) {}

void GatewayCommands::SendEngineHoursRequest() {
  if (state_.portOpen == 1) SendGatewayCommand(kEngineHoursRequest);
}

void GatewayCommands::SendStreamStart() {
  if (state_.portOpen == 1) SendGatewayCommand(kStreamStartCommand);
}

void GatewayCommands::SendVoltageRequest() {
  if (state_.portOpen == 1) SendGatewayCommand(kVoltageRequest);
}

void GatewayCommands::SendGatewayCommand(std::string_view line) {
  for (char c : line) {
    try {
      comm_.SetTransmitData(Variant::Bytes({uint8_t(c)}));
    } catch (const ControlError&) {
      // A port that refuses one byte would garble the rest of the line; the
      // command is simply repeated on its next occasion.
      return;
    }
    PaceAfterByte();
    if (c == '\n') return;
  }
}

// The gateway takes one byte per two counter ticks. The condition is kept
// exactly as the gateway has always been paced: no wait at all when t0 + 2
// overflows, and a counter that wraps below t0 ends the wait. Between
// readings the processor is given away instead of spinning.
void GatewayCommands::PaceAfterByte() {
  const uint32_t t0 = counter_.Now();
  const uint32_t end = t0 + 2u;
  for (;;) {
    const uint32_t t = counter_.Now();
    if (!(t0 <= t && t < end)) return;
    counter_.Pause();
  }
}

}  // namespace dashvell
