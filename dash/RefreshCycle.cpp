#include "dash/RefreshCycle.h"

namespace dashvell {
namespace {

using FloatField = float VehicleState::*;
using ShownValue = double (*)(const VehicleState&);
using FlagField = int32_t VehicleState::*;

// What each gauge follows, in the panel's gauge order.
constexpr std::array<FloatField, 6> kGaugeFields{
    &VehicleState::engineSpeedKrpm, &VehicleState::vehicleSpeedMph, &VehicleState::oilPressurePsi,
    &VehicleState::coolantTempF,    &VehicleState::voltmeterVolts,  &VehicleState::fuelLevelPct,
};

// Where each pointer rests before the first pass: the bottom of its scale.
constexpr std::array<float, 6> kGaugeRest{0, 0, 0, -40.0f, 6.0f, 0};

// What each numeric display shows, in the panel's display order. None is
// eased: the number on a dial leads its pointer.
constexpr std::array<ShownValue, 15> kDisplayValues{
    [](const VehicleState& s) -> double { return s.transOilTempF; },
    [](const VehicleState& s) -> double { return s.boostPsi; },
    [](const VehicleState& s) -> double { return s.fuelEconomyMpg; },
    [](const VehicleState& s) -> double { return s.fuelRateGph; },
    [](const VehicleState& s) -> double { return s.acceleratorPct; },
    [](const VehicleState& s) -> double { return s.engineLoadPct; },
    [](const VehicleState& s) -> double { return s.inletAirTempF; },
    [](const VehicleState& s) -> double { return s.vehicleSpeedMph; },
    // The tachometer reads in thousands, its readout in rpm.
    [](const VehicleState& s) -> double { return s.engineSpeedKrpm * 1000.0; },
    [](const VehicleState& s) -> double { return s.oilPressurePsi; },
    [](const VehicleState& s) -> double { return s.coolantTempF; },
    [](const VehicleState& s) -> double { return s.voltmeterVolts; },
    [](const VehicleState& s) -> double { return s.fuelLevelPct; },
    [](const VehicleState& s) { return s.tripDistanceMiles; },
    [](const VehicleState& s) { return s.totalDistanceMiles; },
};

// The flashing lamps, in the panel's lamp order after the steady cruise lamp.
constexpr std::array<FlagField, 7> kFlashingLamps{
    &VehicleState::waterInFuel,    &VehicleState::engineAmberLamp, &VehicleState::brakeAmberLamp,
    &VehicleState::transAmberLamp, &VehicleState::engineRedLamp,   &VehicleState::brakeRedLamp,
    &VehicleState::transRedLamp,
};

}  // namespace

RefreshCycle::RefreshCycle(const VehicleState& state, const DashPanel& panel)
    : state_(state), panel_(panel) {
  for (std::size_t i = 0; i < easers_.size(); ++i) {
    easers_[i].target = kGaugeRest[i];
    easers_[i].shown = kGaugeRest[i];
  }
}

void RefreshCycle::RunRefreshCycle() {
  for (std::size_t i = 0; i < easers_.size(); ++i) easers_[i].CheckTarget(state_.*kGaugeFields[i]);
  for (std::size_t i = 0; i < easers_.size(); ++i)
    if (auto pointer = easers_[i].Ease()) panel_.gauges[i]->SetPointerValue(*pointer);

  for (std::size_t i = 0; i < kDisplayValues.size(); ++i)
    panel_.displays[i]->SetShownValue(kDisplayValues[i](state_));

  panel_.engineHours->SetShownValue(state_.engineHours);
  panel_.trip->SetShownValue(state_.tripMiles);

  panel_.lamps[0]->SetLampLit(state_.cruiseActive);
  for (std::size_t i = 0; i < kFlashingLamps.size(); ++i)
    panel_.lamps[i + 1]->SetLampLit(blinkers_[i].Update(state_.*kFlashingLamps[i]) ? 1 : 0);
}

}  // namespace dashvell
