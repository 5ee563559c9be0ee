#include "dash/DashTimers.h"

namespace dashvell {

DashTimers::DashTimers(const VehicleState& state, RefreshCycle& refresh,
                       HousekeepingCycle& housekeeping, DashWindow& window)
    : state_(state), refresh_(refresh), housekeeping_(housekeeping), window_(window) {}

void DashTimers::OnTimer(int id) {
  if (id == kHousekeepingTimerId)
    housekeeping_.RunHousekeepingCycle();
  else if (id == kRefreshTimerId)
    refresh_.RunRefreshCycle();
  window_.SetRadioValue(state_.voltFromCan ? 0 : 1);
  window_.PushDataToControls();
}

}  // namespace dashvell
