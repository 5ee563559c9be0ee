// The 100 ms refresh pass: eases the six gauges toward their values and writes
// every numeric display, both odometers and every lamp from the vehicle state,
// which it only reads.
#pragma once

#include <array>

#include "core/VehicleState.h"
#include "dash/BlinkCounter.h"
#include "dash/DashPanel.h"
#include "dash/NeedleEaser.h"

namespace dashvell {

class RefreshCycle {
 public:
  RefreshCycle(const VehicleState& state, const DashPanel& panel);

  void RunRefreshCycle();

  // The easing and blinking state, for tests and nothing else.
  const std::array<NeedleEaser, 6>& easers() const { return easers_; }
  const std::array<BlinkCounter, 7>& blinkers() const { return blinkers_; }

 private:
  const VehicleState& state_;
  const DashPanel& panel_;
  std::array<NeedleEaser, 6> easers_;     // in the panel's gauge order
  std::array<BlinkCounter, 7> blinkers_;  // the panel's lamps after cruise
};

}  // namespace dashvell
