// What the simulated vehicle is doing at one moment, in the US units the
// dashboard shows; the parameter-group encoders turn it into J1939 frames.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace dashvell {

// A measured value the sender marks as not available.
inline constexpr double kNotAvailable = std::numeric_limits<double>::quiet_NaN();
inline bool IsAvailable(double v) {
  return !std::isnan(v);
}

// One active diagnostic trouble code of a DM1 message.
struct TroubleCode {
  uint32_t spn = 0;  // suspect parameter number, 19 bits
  uint8_t fmi = 0;   // failure mode identifier, 5 bits
  uint8_t occurrences = 1;
  bool operator==(const TroubleCode&) const = default;
};

// The DM1 of one controller: its lamps and its active trouble codes.
struct Diagnostics {
  bool redStop = false;
  bool amberWarning = false;
  std::vector<TroubleCode> codes;
  bool operator==(const Diagnostics&) const = default;
};

struct VehicleValues {
  double engineRpm = 0;
  double vehicleSpeedMph = 0;
  double acceleratorPct = 0;
  double engineLoadPct = 0;
  double coolantTempF = 0;
  double oilPressurePsi = 0;
  double boostPsi = 0;
  double inletAirTempF = 0;
  double fuelRateGph = 0;
  double fuelEconomyMpg = 0;
  double batteryVolts = 0;
  double fuelLevelPct = 0;
  double transOilTempF = 0;
  double engineHours = 0;
  double tripMiles = 0;
  double totalMiles = 0;
  bool cruiseActive = false;
  bool waterInFuel = false;
  Diagnostics engine, transmission, brakes;
};

}  // namespace dashvell
