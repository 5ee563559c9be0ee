// The once-a-second housekeeping pass: voltage request, settings save,
// voltmeter source, self-test step, link and voltage watchdogs, trip odometer,
// clock and engine-hours request, in that order.
#pragma once

#include <cstdint>
#include <functional>

#include "core/VehicleState.h"
#include "dash/DashWindow.h"
#include "dash/SelfTest.h"
#include "dash/TripIntegrator.h"
#include "link/GatewayCommands.h"
#include "platform/LocalClock.h"

namespace dashvell {

class HousekeepingCycle {
 public:
  // saveSettings rewrites the settings file and clears settingsDirty once it
  // has been written; it is called only while settingsDirty is set.
  HousekeepingCycle(VehicleState& state, GatewayCommands& commands, SelfTest& selfTest,
                    LocalClock& clock, DashWindow& window, std::function<void()> saveSettings);

  void RunHousekeepingCycle();
  // Handler of the Reset button: the next pass zeroes the trip.
  void RequestTripReset();

  uint8_t secondsCounter() const { return secondsCounter_; }
  const TripIntegrator& trip() const { return trip_; }

 private:
  VehicleState& state_;
  GatewayCommands& commands_;
  SelfTest& selfTest_;
  LocalClock& clock_;
  DashWindow& window_;
  std::function<void()> saveSettings_;
  uint8_t secondsCounter_ = 0;  // 0 to 59; only its parity is used
  TripIntegrator trip_;
};

}  // namespace dashvell
