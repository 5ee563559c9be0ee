// Test helper: the dashboard's own receive core, fed with what the simulated
// gateway produces, so that encoders are checked against the real decoding.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "core/GatewayRecord.h"
#include "core/ReceiveStream.h"
#include "core/VehicleState.h"
#include "tools/gateway/CanFrame.h"

namespace dashvell::testing {

struct Receiver {
  VehicleState state;
  ReceiveStream stream{state};
  GatewayRecordWriter writer;

  void Feed(std::span<const uint8_t> bytes) { stream.ReceiveBytes(bytes.data(), bytes.size()); }
  void Feed(const CanFrame& f) {
    GatewayRecord r = writer.Encode(f.id, f.data);
    Feed(r);
  }
  void Feed(const std::vector<CanFrame>& frames) {
    for (const CanFrame& f : frames) Feed(f);
  }
  void FeedText(std::string_view text) {
    for (char c : text) stream.ReceiveByte(uint8_t(c));
  }
};

}  // namespace dashvell::testing
