// One 20-byte gateway record that passed the checksum, with the J1939
// identifier fields the router needs.
#pragma once

#include <array>
#include <cstdint>

#include "core/J1939Raw.h"

namespace dashvell {

struct GatewayFrame {
  // Bytes 0 to 4, 9, 18 and 19 only carry the checksum; 5 to 8 hold the
  // 29-bit identifier; 10 to 17 are J1939 data bytes 1 to 8.
  std::array<uint8_t, 20> bytes{};

  // Extended data page and data page, identifier bits 25 and 24.
  bool Edp() const { return (bytes[5] & 0x10) != 0; }
  bool Dp() const { return (bytes[5] & 0x08) != 0; }
  // PDU format: byte 5 bits 2..0, byte 6 bits 7..5 and byte 6 bits 1..0;
  // byte 6 bits 4..2 carry no identifier bits.
  uint8_t Pf() const {
    return uint8_t(((bytes[5] & 0x07) << 5) | ((bytes[6] >> 5) << 2) | (bytes[6] & 0x03));
  }
  // PDU specific: destination address below PF 240, group extension above.
  uint8_t Ps() const { return bytes[7]; }
  uint8_t Sa() const { return bytes[8]; }
  DataBytes Data() const { return DataBytes(bytes.data() + 10, 8); }
};

}  // namespace dashvell
