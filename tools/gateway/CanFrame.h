// One CAN frame as the gateway relays it: the 29-bit identifier and eight data
// bytes (shorter frames are padded with 0xFF, J1939's "not used").
#pragma once

#include <array>
#include <cstdint>

namespace dashvell {

struct CanFrame {
  uint32_t id = 0;
  std::array<uint8_t, 8> data{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  bool operator==(const CanFrame&) const = default;
};

// J1939 source addresses and priorities the simulated vehicle uses.
inline constexpr uint8_t kEngineAddress = 0;
inline constexpr uint8_t kTransmissionAddress = 3;
inline constexpr uint8_t kBrakesAddress = 11;
inline constexpr uint8_t kGlobalAddress = 255;

inline constexpr uint32_t kPgnEec2 = 61443, kPgnEec1 = 61444, kPgnVd = 65248, kPgnHours = 65253,
                          kPgnEt1 = 65262, kPgnEflP1 = 65263, kPgnCcvs = 65265, kPgnLfe = 65266,
                          kPgnIc1 = 65270, kPgnVep1 = 65271, kPgnTrf1 = 65272, kPgnDd = 65276,
                          kPgnOi = 65279, kPgnDm1 = 65226, kPgnTpCm = 60416, kPgnTpDt = 60160;

// The parameter group of a 29-bit identifier (PS folded in for PDU2 only).
constexpr uint32_t PgnOf(uint32_t id) {
  uint32_t pf = (id >> 16) & 0xFF;
  uint32_t pgn = (id >> 8) & 0x3FFFF;
  return pf < 240 ? (pgn & 0x3FF00) : pgn;
}
constexpr uint8_t SourceOf(uint32_t id) {
  return uint8_t(id);
}

}  // namespace dashvell
