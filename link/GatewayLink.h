// The serial connection to the gateway: opening the configured port, the
// Connect, Disconnect and Change buttons, and the receive path from the serial
// control's notification to the receive stream. The main window forwards its
// handlers here; nothing in it needs a window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/VehicleState.h"
#include "link/ByteSink.h"
#include "link/CMSComm.h"
#include "link/GatewayCommands.h"
#include "link/LinkWindow.h"

namespace dashvell {

inline constexpr const char* kCannotOpenPortText = "cannot open serial port";
inline constexpr const char* kGatewayLineSettings = "115200,n,8,1";
// One read is copied through a buffer of this size; a larger read is handed
// on in several chunks, whole and in order.
inline constexpr std::size_t kReceiveBufferSize = 4096;

// "COM1" to "COM30", compared whole and case-sensitively, give 1 to 30; any
// other text gives port 1. The name itself is never changed.
int16_t PortNumberFor(const std::string& portName);

class GatewayLink {
 public:
  GatewayLink(VehicleState& state, const CMSComm& comm, GatewayCommands& commands,
              LinkWindow& window, ByteSink& sink);

  // Closes the port if it is open and opens the one portName names; on
  // success sends the stream-start command, then the engine-hours request.
  // A ControlError the serial control raises passes through, leaving
  // portOpen 0 and the buttons as they were.
  void OpenGatewayPort();
  void OnConnect();
  void OnDisconnect();
  void OnChangePort();
  // Handler of the serial control's notification event (event id 1).
  void OnSerialEvent();

 private:
  VehicleState& state_;
  const CMSComm& comm_;
  GatewayCommands& commands_;
  LinkWindow& window_;
  ByteSink& sink_;
};

}  // namespace dashvell
