// Every field the receive path writes, by name, so that tests can preset them
// and see exactly which ones a frame changed.
#pragma once

#include <string>
#include <vector>

#include "core/VehicleState.h"

namespace dashvell::testing {

struct StateField {
  const char* name;
  double (*get)(const VehicleState&);
  void (*set)(VehicleState&, double);
};

#define DASHVELL_FIELD(f)                                                                        \
  StateField {                                                                                   \
#f, [](const VehicleState& s) { return double(s.f); },                                       \
                                                        [](VehicleState & s,                     \
                                                           double v) { s.f = decltype(s.f)(v); } \
  }

inline const std::vector<StateField>& ReceivedFields() {
  static const std::vector<StateField> fields = {
      DASHVELL_FIELD(engineSpeedKrpm),    DASHVELL_FIELD(vehicleSpeedMph),
      DASHVELL_FIELD(oilPressurePsi),     DASHVELL_FIELD(coolantTempF),
      DASHVELL_FIELD(fuelLevelPct),       DASHVELL_FIELD(transOilTempF),
      DASHVELL_FIELD(boostPsi),           DASHVELL_FIELD(fuelEconomyMpg),
      DASHVELL_FIELD(fuelRateGph),        DASHVELL_FIELD(acceleratorPct),
      DASHVELL_FIELD(engineLoadPct),      DASHVELL_FIELD(inletAirTempF),
      DASHVELL_FIELD(engineHours),        DASHVELL_FIELD(tripDistanceMiles),
      DASHVELL_FIELD(totalDistanceMiles), DASHVELL_FIELD(canVolts),
      DASHVELL_FIELD(adcVolts),           DASHVELL_FIELD(engineRedLamp),
      DASHVELL_FIELD(engineAmberLamp),    DASHVELL_FIELD(transRedLamp),
      DASHVELL_FIELD(transAmberLamp),     DASHVELL_FIELD(brakeRedLamp),
      DASHVELL_FIELD(brakeAmberLamp),     DASHVELL_FIELD(waterInFuel),
      DASHVELL_FIELD(cruiseActive),       DASHVELL_FIELD(frameSeen),
      DASHVELL_FIELD(hoursSeen),          DASHVELL_FIELD(adcReplyCount),
      DASHVELL_FIELD(adcReplySeen),
  };
  return fields;
}

// A state whose measured values all read 777 and whose flags are 0, so that
// writing a fallback value (0, -40) is as visible as writing a decoded one.
inline VehicleState SentinelState() {
  VehicleState s;
  for (const StateField& f : ReceivedFields()) f.set(s, 0);
  s.engineSpeedKrpm = s.vehicleSpeedMph = s.oilPressurePsi = s.coolantTempF = 777;
  s.fuelLevelPct = s.transOilTempF = s.boostPsi = s.fuelEconomyMpg = s.fuelRateGph = 777;
  s.acceleratorPct = s.engineLoadPct = s.inletAirTempF = s.engineHours = 777;
  s.tripDistanceMiles = s.totalDistanceMiles = 777;
  s.canVolts = s.adcVolts = 777;
  return s;
}

// Names of the fields that differ, in declaration order, joined by spaces.
inline std::string ChangedFields(const VehicleState& before, const VehicleState& after) {
  std::string changed;
  for (const StateField& f : ReceivedFields()) {
    if (f.get(before) != f.get(after)) {
      if (!changed.empty()) changed += ' ';
      changed += f.name;
    }
  }
  return changed;
}

}  // namespace dashvell::testing
