#include "link/GatewayLink.h"

#include <algorithm>
#include <cstring>

namespace dashvell {

int16_t PortNumberFor(const std::string& portName) {
  for (int16_t n = 1; n <= 30; ++n)
    if (portName == "COM" + std::to_string(n)) return n;
  return 1;
}

GatewayLink::GatewayLink(VehicleState& state, const CMSComm& comm, GatewayCommands& commands,
                         LinkWindow& window, ByteSink& sink)
    : state_(state), comm_(comm), commands_(commands), window_(window), sink_(sink) {}

void GatewayLink::OpenGatewayPort() {
  // Cleared first, so that whatever fails below (the control may throw)
  // leaves no command going out to a port that is not open.
  state_.portOpen = 0;
  const int16_t port = PortNumberFor(state_.portName);
  if (comm_.GetOpenState()) comm_.SetOpenState(false);
  comm_.SetPortNumber(port);
  if (comm_.GetOpenState()) {
    window_.ShowWarningBox(kCannotOpenPortText);
    return;
  }
  // The line settings and modes only take hold on an open port.
  comm_.SetOpenState(true);
  comm_.SetLineSettings(kGatewayLineSettings);
  comm_.SetReceiveFormat(1);
  comm_.SetReceiveThreshold(1);
  comm_.SetReadLength(0);
  // Whatever waited before the port was configured is thrown away.
  (void)comm_.GetReceivedData();
  state_.portOpen = 1;
  window_.EnableDisconnect(true);
  window_.EnableConnect(false);
  commands_.SendStreamStart();
  commands_.SendEngineHoursRequest();
}

void GatewayLink::OnConnect() {
  OpenGatewayPort();
}

void GatewayLink::OnDisconnect() {
  state_.portOpen = 0;
  if (comm_.GetOpenState()) comm_.SetOpenState(false);
  ClearVehicleState(state_);
  state_.adcVolts = 0;
  state_.adcReplySeen = 0;
  state_.adcReplyCount = 0;
  window_.EnableDisconnect(false);
  window_.EnableConnect(true);
}

void GatewayLink::OnChangePort() {
  std::string selectedPort = state_.portName;
  if (!window_.RunPortDialog(selectedPort)) return;
  state_.portName = selectedPort;
  state_.settingsDirty = 1;
  window_.EnableDisconnect(false);
  window_.EnableConnect(true);
  OpenGatewayPort();
}

void GatewayLink::OnSerialEvent() {
  if (comm_.GetEventCode() == CMSComm::kEventReceive) {
    const Variant received = comm_.GetReceivedData();
    // Anything but a byte array (no data at all) hands nothing on.
    if (received.type() == VarType::UI1Array) {
      const ByteArray& bytes = received.bytes();
      uint8_t buffer[kReceiveBufferSize];
      for (std::size_t at = 0; at < bytes.size(); at += kReceiveBufferSize) {
        const std::size_t n = std::min(kReceiveBufferSize, bytes.size() - at);
        std::memcpy(buffer, bytes.data() + at, n);
        sink_.Receive(std::span<const uint8_t>(buffer, n));
      }
    }
  }
  window_.PushDataToControls();
}

}  // namespace dashvell
