// The trip odometer's integrator: the mean of the last ten once-a-second speed
// samples, counted as one second's distance on every pass the vehicle moves.
#pragma once

#include <array>

namespace dashvell {

struct TripIntegrator {
  static constexpr double kHoursPerPass = 1.0 / 3600.0;  // a pass counts as one second

  std::array<float, 10> speedHistory{};  // mph, [0] oldest, [9] newest; never cleared
  double meanSpeedMph = 0;
  double tripAccumMiles = 0;

  void Reset() { tripAccumMiles = 0; }

  // One pass with the current speed; returns the trip in miles, as shown.
  float Integrate(float currentSpeedMph) {
    double sum = 0;
    for (int i = 0; i < 9; ++i) {
      speedHistory[i] = speedHistory[i + 1];
      sum += speedHistory[i];
    }
    speedHistory[9] = currentSpeedMph;
    meanSpeedMph = (double(speedHistory[9]) + sum) * 0.1;
    // A vehicle standing still covers nothing, whatever the mean still says.
    if (currentSpeedMph != 0) tripAccumMiles += meanSpeedMph * kHoursPerPass;
    return float(tripAccumMiles);
  }
};

}  // namespace dashvell
