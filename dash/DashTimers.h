// The main window's two timers and what each pass ends with: the window's
// OnTimer forwards here.
#pragma once

#include <array>
#include <cstdint>

#include "core/VehicleState.h"
#include "dash/DashWindow.h"
#include "dash/HousekeepingCycle.h"
#include "dash/RefreshCycle.h"

namespace dashvell {

struct TimerEntry {
  int id;
  int periodMs;
};
inline constexpr int kRefreshTimerId = 1;
inline constexpr int kHousekeepingTimerId = 2;
// Started in this order when the window opens.
inline constexpr std::array<TimerEntry, 2> kDashTimers{{
    {kRefreshTimerId, 100},
    {kHousekeepingTimerId, 1000},
}};

class DashTimers {
 public:
  DashTimers(const VehicleState& state, RefreshCycle& refresh, HousekeepingCycle& housekeeping,
             DashWindow& window);

  // Runs the pass the timer stands for (2 housekeeping, 1 refresh), then, for
  // any identifier, the end of pass: the radio value from the voltmeter
  // source and the push of the window's data.
  void OnTimer(int id);

 private:
  const VehicleState& state_;
  RefreshCycle& refresh_;
  HousekeepingCycle& housekeeping_;
  DashWindow& window_;
};

}  // namespace dashvell
