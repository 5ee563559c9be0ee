#include "core/GatewayRecord.h"

namespace dashvell {

GatewayRecord EncodeGatewayRecord(uint32_t canId, const std::array<uint8_t, 8>& data,
                                  uint8_t sequence) {
  GatewayRecord r{};
  r[0] = sequence;
  r[1] = 0xA5;
  r[2] = 0x3C;
  r[3] = 0x96;
  r[4] = 0x0F;
  // Identifier bits 28..21 in byte 5; bits 20..18 in byte 6 bits 7..5, bits 17
  // and 16 in byte 6 bits 1..0; bits 15..8 in byte 7; bits 7..0 in byte 8.
  r[5] = uint8_t(canId >> 21);
  r[6] = uint8_t((((canId >> 18) & 7) << 5) | ((canId >> 16) & 3));
  r[7] = uint8_t(canId >> 8);
  r[8] = uint8_t(canId);
  r[9] = 8;
  for (int i = 0; i < 8; ++i) r[10 + i] = data[i];
  r[18] = uint8_t(~sequence);
  unsigned sum = 0;
  for (int i = 0; i < 19; ++i) sum += r[i];
  r[19] = uint8_t(-sum);
  return r;
}

}  // namespace dashvell
