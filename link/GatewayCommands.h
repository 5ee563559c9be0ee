// The three text commands the gateway accepts, and the paced writer that puts
// a command line on the serial port one byte at a time.
#pragma once

#include <string_view>

#include "core/VehicleState.h"
#include "link/CMSComm.h"
#include "platform/MillisecondCounter.h"

namespace dashvell {

// The command lines, byte for byte; no terminating zero is ever sent.
inline constexpr std::string_view kEngineHoursRequest = "AT EH\r\n";
inline constexpr std::string_view kStreamStartCommand = "AT ST1\r\n";
inline constexpr std::string_view kVoltageRequest = "AT RV\r\n";

class GatewayCommands {
 public:
  GatewayCommands(VehicleState& state, const CMSComm& comm, MillisecondCounter& counter);

  // Each sends its line only while portOpen is 1; otherwise it does nothing,
  // silently: the callers repeat their commands on the next occasion anyway.
  void SendEngineHoursRequest();
  void SendStreamStart();
  void SendVoltageRequest();

  // Writes line up to and including its first LF (or to its end, should it
  // hold none), each byte as its own one-element byte array, and after every
  // byte waits until the millisecond counter has moved on by 2. Does not look
  // at portOpen. A write the control rejects drops the rest of the line.
  void SendGatewayCommand(std::string_view line);

 private:
  void PaceAfterByte();

  VehicleState& state_;
  const CMSComm& comm_;
  MillisecondCounter& counter_;
};

}  // namespace dashvell
