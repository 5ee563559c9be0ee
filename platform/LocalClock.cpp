#include "platform/LocalClock.h"

#include <ctime>

namespace dashvell {
namespace {

class SystemClock : public LocalClock {
 public:
  TimeOfDay Now() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec};
  }
};

}  // namespace

LocalClock& SystemLocalClock() {
  static SystemClock clock;
  return clock;
}

}  // namespace dashvell
