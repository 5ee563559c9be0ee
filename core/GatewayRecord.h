// Builds the 20-byte record in which the gateway relays one CAN frame: what the
// simulated gateway sends and what the tests feed the receive stream.
#pragma once

#include <array>
#include <cstdint>

namespace dashvell {

using GatewayRecord = std::array<uint8_t, 20>;

// canId is the 29-bit J1939 identifier (priority, EDP, DP, PF, PS, SA).
// The free bytes are chosen so that a window shifted into a neighbouring
// record almost never sums to zero: byte 0 carries a sequence number, bytes 1
// to 4 a fixed non-zero signature, byte 9 the data length, byte 18 the
// sequence number's complement; byte 19 makes the sum 0 modulo 256.
GatewayRecord EncodeGatewayRecord(uint32_t canId, const std::array<uint8_t, 8>& data,
                                  uint8_t sequence = 0);

// Identifier from its J1939 parts.
constexpr uint32_t J1939Id(uint8_t priority, uint32_t pgn, uint8_t sourceAddress) {
  return (uint32_t(priority & 7) << 26) | ((pgn & 0x3FFFF) << 8) | sourceAddress;
}

}  // namespace dashvell
