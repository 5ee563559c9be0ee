// Flashes one warning lamp while its flag is set: lit for the first four
// passes, then five passes dark and five lit (half a second each at 10 Hz).
#pragma once

#include <cstdint>

namespace dashvell {

struct BlinkCounter {
  static constexpr uint8_t kWrap = 250;  // a multiple of 5, so the wrap keeps the rhythm
  static constexpr uint8_t kHalfPeriod = 5;

  uint8_t count = 0;  // passes the lamp was active, 0 to 249
  int32_t phase = 1;  // lit in the current half-period

  // Whether the lamp is lit on this pass. An inactive lamp is dark and keeps
  // its count and phase, so it resumes where it stopped.
  bool Update(int32_t flag) {
    if (flag == 0) return false;
    count = uint8_t(count + 1);
    if (count >= kWrap) count = 0;
    if (count % kHalfPeriod == 0) phase = phase == 0 ? 1 : 0;
    return phase != 0;
  }
};

}  // namespace dashvell
