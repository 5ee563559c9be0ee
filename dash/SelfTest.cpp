#include "dash/SelfTest.h"

namespace dashvell {
namespace {

constexpr double kPerDraw = 1.0 / CrtRand::kMax;  // 3.051850947599719e-05
constexpr double kFahrenheitPerKelvin = 1.8f;     // single precision, as always shown

int32_t Toggled(int32_t flag) {
  return flag == 0 ? 1 : 0;
}

}  // namespace

SelfTest::SelfTest(VehicleState& state, GatewayCommands& commands)
    : state_(state), commands_(commands) {}

void SelfTest::ToggleSelfTest() {
  state_.selfTest = Toggled(state_.selfTest);
  if (state_.selfTest == 1) return;
  state_.waterInFuel = 0;
  commands_.SendEngineHoursRequest();
  ClearVehicleState(state_);
  state_.adcVolts = 0;
}

void SelfTest::RunSelfTestStep() {
  ApplySelfTestDraw(state_, rand_.Next());
}

void ApplySelfTestDraw(VehicleState& s, int n) {
  // One draw for everything: all instruments are high or low together.
  const double r = n * kPerDraw;
  s.cruiseActive = Toggled(s.cruiseActive);
  s.waterInFuel = Toggled(s.waterInFuel);

  s.vehicleSpeedMph = float(160 * r);
  s.engineSpeedKrpm = float(8 * r);
  s.oilPressurePsi = float(150 * r);
  s.coolantTempF = float(300 * r - 40);
  s.voltmeterVolts = float(24 * r + 6);
  s.fuelLevelPct = float(100 * r);
  s.tripDistanceMiles = 621372.1 * r;
  s.totalDistanceMiles = s.tripDistanceMiles;
  s.transOilTempF = float((1462 * r - 273) * kFahrenheitPerKelvin + 32);
  s.boostPsi = float(72.5 * r);
  s.fuelEconomyMpg = float(295.1 * r);
  s.fuelRateGph = float(849.93 * r);
  s.acceleratorPct = float(100 * r);
  s.engineLoadPct = float(125 * r);
  s.inletAirTempF = float((250 * r - 40) * kFahrenheitPerKelvin + 32);
  s.engineHours = float(999999.9 * r);

  for (int32_t VehicleState::*lamp :
       {&VehicleState::engineRedLamp, &VehicleState::engineAmberLamp, &VehicleState::transRedLamp,
        &VehicleState::transAmberLamp, &VehicleState::brakeRedLamp, &VehicleState::brakeAmberLamp})
    s.*lamp = Toggled(s.*lamp);
}

}  // namespace dashvell
