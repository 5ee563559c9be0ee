// Eases one gauge's pointer toward its value: a tenth of the remaining way on
// the first pass after the value changed, two tenths on the next, and so on,
// so a steady value is reached in ten passes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

namespace dashvell {

struct NeedleEaser {
  static constexpr uint8_t kMaxStep = 10;
  // Single precision on purpose: 10 x 0.1f is a little above 1, and the
  // pointer positions the gauges have always shown depend on it.
  static constexpr float kStepFraction = 0.1f;

  float target = 0;
  float shown = 0;
  uint8_t step = 0;  // passes since the target changed, saturating at 10

  // Takes a new value as the target and restarts the easing when it differs.
  void CheckTarget(float value) {
    if (value != target) {
      step = 0;
      target = value;
    }
  }

  // One move: the unrounded pointer position when the pointer moves, nothing
  // when it already stands on the target (the gauge then is not written).
  std::optional<double> Ease() {
    if (target == shown) return std::nullopt;
    step = uint8_t(std::min<int>(step + 1, kMaxStep));
    const double x =
        double(shown) + (double(target) - double(shown)) * step * double(kStepFraction);
    shown = float(x);
    return x;
  }
};

}  // namespace dashvell
