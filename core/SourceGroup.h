// The three senders whose messages the panel decodes, and which J1939 source
// addresses belong to each: PDU1 (transport) and PDU2 (broadcast) differ.
#pragma once

#include <cstdint>
#include <optional>

namespace dashvell {

enum class SourceGroup : uint8_t { engine = 0, transmission = 1, brakes = 2 };

inline constexpr int kSourceGroupCount = 3;

// PDU1 frames (the transport protocol) are followed only from the engine (0),
// the transmission (3) and the brakes controller (11).
constexpr std::optional<SourceGroup> Pdu1SourceGroup(uint8_t sourceAddress) {
  switch (sourceAddress) {
    case 0:
      return SourceGroup::engine;
    case 3:
      return SourceGroup::transmission;
    case 11:
      return SourceGroup::brakes;
    default:
      return std::nullopt;
  }
}

// PDU2 broadcasts also count the off-board diagnostic address 254 and the
// global address 255 as the engine: some gateways and engine controllers send
// from them.
constexpr std::optional<SourceGroup> Pdu2SourceGroup(uint8_t sourceAddress) {
  if (sourceAddress == 254 || sourceAddress == 255) return SourceGroup::engine;
  return Pdu1SourceGroup(sourceAddress);
}

}  // namespace dashvell
