#include "core/VehicleState.h"

namespace dashvell {

void ClearVehicleState(VehicleState& s) {
  s.engineSpeedKrpm = 0;
  s.vehicleSpeedMph = 0;
  s.oilPressurePsi = 0;
  // J1939 raw 0 in degrees Fahrenheit: -40 C and -273 C.
  s.coolantTempF = -40.0f;
  s.fuelLevelPct = 0;
  s.transOilTempF = -459.4f;
  s.boostPsi = 0;
  s.fuelEconomyMpg = 0;
  s.fuelRateGph = 0;
  s.acceleratorPct = 0;
  s.engineLoadPct = 0;
  s.inletAirTempF = 0;
  s.engineHours = 0;
  s.tripDistanceMiles = 0;
  s.totalDistanceMiles = 0;
  s.canVolts = 0;
  s.engineRedLamp = s.engineAmberLamp = 0;
  s.transRedLamp = s.transAmberLamp = 0;
  s.brakeRedLamp = s.brakeAmberLamp = 0;
  s.waterInFuel = 0;
  s.cruiseActive = 0;
  s.frameSeen = 0;
  s.hoursSeen = 0;
}

}  // namespace dashvell
