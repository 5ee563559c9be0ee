// The local time of day, behind a seam so that tests can set the clock.
#pragma once

namespace dashvell {

struct TimeOfDay {
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 60
};

class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual TimeOfDay Now() = 0;
};

// Reads the current time once and converts it to local time.
LocalClock& SystemLocalClock();

}  // namespace dashvell
