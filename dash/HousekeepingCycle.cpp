#include "dash/HousekeepingCycle.h"

#include <utility>

#include "dash/ClockText.h"

namespace dashvell {

HousekeepingCycle::HousekeepingCycle(VehicleState& state, GatewayCommands& commands,
                                     SelfTest& selfTest, LocalClock& clock, DashWindow& window,
                                     std::function<void()> saveSettings)
    : state_(state),
      commands_(commands),
      selfTest_(selfTest),
      clock_(clock),
      window_(window),
      saveSettings_(std::move(saveSettings)) {}

void HousekeepingCycle::RequestTripReset() {
  state_.tripResetRequest = 1;
}

void HousekeepingCycle::RunHousekeepingCycle() {
  VehicleState& s = state_;

  if (++secondsCounter_ >= 60) secondsCounter_ = 0;

  // The gateway measures only when asked, so ask every second it is shown.
  if (s.voltFromCan == 0) commands_.SendVoltageRequest();

  if (s.settingsDirty) saveSettings_();

  s.voltmeterVolts = s.voltFromCan ? s.canVolts : s.adcVolts;

  if (s.selfTest) selfTest_.RunSelfTestStep();

  // Link watchdog: a second without a frame clears the values and restarts
  // the gateway's stream, every second until frames return.
  if (s.frameSeen == 0 && s.selfTest == 0) {
    ClearVehicleState(s);
    commands_.SendStreamStart();
    s.linkLost = 1;
  } else {
    s.frameSeen = 0;
    if (s.linkLost) {
      commands_.SendEngineHoursRequest();
      s.linkLost = 0;
    }
  }

  // Voltage watchdog, every other second: a reply is awaited per two passes.
  if (secondsCounter_ % 2 == 0) {
    if (s.adcReplySeen == 0) {
      s.adcVolts = 0;
      s.adcReplyCount = 0;
    }
    s.adcReplySeen = 0;
  }

  if (s.tripResetRequest) {
    s.tripMiles = 0;
    trip_.Reset();
    s.tripResetRequest = 0;
  }
  s.tripMiles = trip_.Integrate(s.vehicleSpeedMph);

  window_.SetClockText(FormatClockText(clock_.Now()));

  if (s.hoursSeen == 0) commands_.SendEngineHoursRequest();
  s.hoursSeen = 0;
}

}  // namespace dashvell
