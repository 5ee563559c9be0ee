// Helpers for feeding the receive stream in tests: gateway records built from
// a J1939 identifier and eight data bytes, raw byte lists and text.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "core/GatewayRecord.h"
#include "core/ReceiveStream.h"
#include "core/VehicleState.h"

namespace dashvell::testing {

using Data = std::array<uint8_t, 8>;

inline constexpr Data kAllFF = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// The record of an EEC1 from the engine (priority 3, PS 4, SA 0) whose engine
// speed raw value is 16000 (2000 rpm), with every free byte zero.
inline constexpr GatewayRecord kExampleEec1 = {0x00, 0x00, 0x00, 0x00, 0x00, 0x67, 0x80,
                                               0x04, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x80,
                                               0x3E, 0xFF, 0xFF, 0xFF, 0x00, 0x5D};

// PDU1 identifiers carry the destination in the PGN's low byte.
constexpr uint32_t Pdu1Pgn(uint8_t pf, uint8_t destination) {
  return uint32_t(pf) << 8 | destination;
}

// Puts byte 19 back to a zero sum after a test changed another byte.
inline GatewayRecord FixChecksum(GatewayRecord r) {
  unsigned sum = 0;
  for (int i = 0; i < 19; ++i) sum += r[i];
  r[19] = uint8_t(-sum);
  return r;
}

class StreamFixture {
 public:
  VehicleState state;
  ReceiveStream stream{state};

  void Feed(std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) stream.ReceiveByte(b);
  }
  void Feed(const GatewayRecord& r) { stream.ReceiveBytes(r.data(), r.size()); }
  void FeedFrame(uint32_t canId, const Data& data) { Feed(EncodeGatewayRecord(canId, data)); }
  void FeedText(std::string_view text) {
    for (char c : text) stream.ReceiveByte(uint8_t(c));
  }
};

}  // namespace dashvell::testing
