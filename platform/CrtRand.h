// The pseudo-random generator the self-test relies on: the classic linear
// congruential sequence of the original platform's C runtime, 0 to 32767,
// starting from seed 1 (41, 18467, 6334, 26500, ...). glibc's rand() differs
// (it returns up to 2^31 - 1) and is never used.
#pragma once

#include <cstdint>

namespace dashvell {

class CrtRand {
 public:
  static constexpr int kMax = 32767;
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return int((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_ = 1;
};

}  // namespace dashvell
