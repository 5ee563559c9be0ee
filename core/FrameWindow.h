// The 20 most recent bytes of the stream, tested on every byte for the
// gateway record's checksum: a zero sum modulo 256, not all bytes zero.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/GatewayFrame.h"

namespace dashvell {

class FrameWindow {
 public:
  static constexpr int kSize = 20;

  // Shifts b in as the newest byte; true when the window now passes the
  // checksum test.
  bool Push(uint8_t b) {
    // A running sum replaces adding 20 bytes per byte; each byte is stored
    // twice so that the window, oldest first, is always 20 contiguous bytes.
    const uint8_t leaving = ring_[next_];
    ring_[next_] = b;
    ring_[next_ + kSize] = b;
    next_ = next_ == kSize - 1 ? 0 : next_ + 1;
    sum_ = uint8_t(sum_ + b - leaving);
    return sum_ == 0 && !AllZero();
  }

  // The window's bytes, oldest first (position 19 is the newest byte).
  const uint8_t* Bytes() const { return ring_ + next_; }

  GatewayFrame Frame() const {
    GatewayFrame f;
    std::memcpy(f.bytes.data(), Bytes(), kSize);
    return f;
  }

 private:
  bool AllZero() const {
    const uint8_t* w = Bytes();
    uint8_t any = 0;
    for (int i = 0; i < kSize; ++i) any |= w[i];
    return any == 0;
  }

  uint8_t ring_[2 * kSize] = {};
  int next_ = 0;  // where the next byte goes; also the oldest byte's place
  uint8_t sum_ = 0;
};

}  // namespace dashvell
