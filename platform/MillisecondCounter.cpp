#include "platform/MillisecondCounter.h"

#include <chrono>
#include <thread>

namespace dashvell {
namespace {

class SteadyCounter : public MillisecondCounter {
 public:
  uint32_t Now() override {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return uint32_t(ms.count());
  }
  void Pause() override { std::this_thread::sleep_for(std::chrono::microseconds(100)); }
};

}  // namespace

MillisecondCounter& SystemMillisecondCounter() {
  static SteadyCounter counter;
  return counter;
}

}  // namespace dashvell
