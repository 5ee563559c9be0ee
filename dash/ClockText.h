// The clock text of the main window: hour, minute and second of the local time
// with no leading zeros, so 09:05:07 reads "9:5:7".
#pragma once

#include <cstdio>
#include <string>

#include "platform/LocalClock.h"

namespace dashvell {

inline std::string FormatClockText(const TimeOfDay& t) {
  char text[40];
  std::snprintf(text, sizeof text, "%d:%d:%d", t.hour, t.minute, t.second);
  return text;
}

}  // namespace dashvell
