// The built-in drive the simulated gateway plays: a declarative timeline of
// phases that together move every instrument and light every lamp; it loops.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "tools/gateway/VehicleValues.h"

namespace dashvell {

// What holds during a whole phase.
enum PhaseFlag : uint32_t {
  kCruise = 1 << 0,
  kWaterInFuel = 1 << 1,
  kEngineAmber = 1 << 2,      // single-frame DM1, one trouble code
  kTransmissionRed = 1 << 3,  // BAM DM1, three trouble codes
  kBrakesAmber = 1 << 4,      // single-frame DM1 from the ABS controller
  kSomeNotAvailable = 1 << 5  // oil pressure, boost, inlet air, economy, transmission oil
};

// Every value moves in a straight line from the end of the previous phase to
// the end of this one (the first phase starts from its own end values).
struct Phase {
  std::string_view name;
  double seconds;
  double rpm, mph, pedalPct, loadPct, coolantF, oilPsi, boostPsi, inletF, fuelGph, volts, transF,
      fuelLevelPct;
  uint32_t flags;
};

std::span<const Phase> ScenarioPhases();
double ScenarioLoopSeconds();

// The vehicle t seconds after the drive began (t >= 0; loops). Distances and
// engine hours accumulate over the loops.
VehicleValues ScenarioValuesAt(double t);

// Index of the phase running t seconds after the drive began.
size_t PhaseIndexAt(double t);
// The time at which the named phase ends (a held drive stays there), if any.
std::optional<double> PhaseEnd(std::string_view name);

}  // namespace dashvell
