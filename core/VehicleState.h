// The one record through which the receive path, the cycles and the operator's
// buttons share every decoded value, indicator flag and mode.
#pragma once

#include <cstdint>
#include <string>

namespace dashvell {

struct VehicleState {
  // Measured values, in the units they are shown in (US customary).
  float engineSpeedKrpm = 0;
  float vehicleSpeedMph = 0;
  float oilPressurePsi = 0;
  float coolantTempF = -40.0f;
  float fuelLevelPct = 0;
  float transOilTempF = -459.4f;
  float boostPsi = 0;
  float fuelEconomyMpg = 0;
  float fuelRateGph = 0;
  float acceleratorPct = 0;
  float engineLoadPct = 0;
  float inletAirTempF = 0;
  float engineHours = 0;
  double tripDistanceMiles = 0;
  double totalDistanceMiles = 0;
  float canVolts = 0;
  float adcVolts = 0;
  float voltmeterVolts = 0;
  float tripMiles = 0;

  // Indicator flags, 0 or 1.
  int32_t engineRedLamp = 0;
  int32_t engineAmberLamp = 0;
  int32_t transRedLamp = 0;
  int32_t transAmberLamp = 0;
  int32_t brakeRedLamp = 0;
  int32_t brakeAmberLamp = 0;
  int32_t waterInFuel = 0;
  int32_t cruiseActive = 0;

  // Reception bookkeeping.
  int32_t frameSeen = 0;
  int32_t hoursSeen = 0;
  uint8_t adcReplyCount = 0;
  int32_t adcReplySeen = 0;

  // Modes and operator settings.
  std::string portName;
  int32_t portOpen = 0;
  int32_t voltFromCan = 0;
  int32_t settingsDirty = 0;
  int32_t selfTest = 0;
  int32_t tripResetRequest = 0;
  int32_t linkLost = 0;
};

// Puts the decoded values, the indicator flags, frameSeen and hoursSeen back to
// their cleared values; adcVolts, voltmeterVolts, tripMiles, the adcReply
// fields and every mode are left alone.
void ClearVehicleState(VehicleState& state);

}  // namespace dashvell
