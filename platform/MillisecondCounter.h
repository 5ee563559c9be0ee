// The system's millisecond counter: monotonic, unsigned 32-bit, wrapping. Pause()
// gives the processor away briefly between two readings of a wait; fakes
// advance their own time there.
#pragma once

#include <cstdint>

namespace dashvell {

class MillisecondCounter {
 public:
  virtual ~MillisecondCounter() = default;
  virtual uint32_t Now() = 0;
  virtual void Pause() = 0;
};

// Milliseconds since an arbitrary start, from the monotonic clock; Pause()
// sleeps 100 microseconds.
MillisecondCounter& SystemMillisecondCounter();

}  // namespace dashvell
