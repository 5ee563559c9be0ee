#include "tools/decode/StateJson.h"

#include <charconv>
#include <cmath>

namespace dashvell {

namespace {

// Values print as the stored float or double widened to double; flags and
// counters as integers.
struct JsonField {
  const char* name;
  double (*value)(const VehicleState&);
  bool integer;
};

#define NUMBER(f)                                                \
  JsonField {                                                    \
#f, [](const VehicleState& s) { return double(s.f); }, false \
  }
#define INTEGER(f)                                              \
  JsonField {                                                   \
#f, [](const VehicleState& s) { return double(s.f); }, true \
  }

const JsonField kFields[] = {
    NUMBER(engineSpeedKrpm), NUMBER(vehicleSpeedMph),   NUMBER(oilPressurePsi),
    NUMBER(coolantTempF),    NUMBER(fuelLevelPct),      NUMBER(transOilTempF),
    NUMBER(boostPsi),        NUMBER(fuelEconomyMpg),    NUMBER(fuelRateGph),
    NUMBER(acceleratorPct),  NUMBER(engineLoadPct),     NUMBER(inletAirTempF),
    NUMBER(engineHours),     NUMBER(tripDistanceMiles), NUMBER(totalDistanceMiles),
    NUMBER(canVolts),        INTEGER(engineRedLamp),    INTEGER(engineAmberLamp),
    INTEGER(transRedLamp),   INTEGER(transAmberLamp),   INTEGER(brakeRedLamp),
    INTEGER(brakeAmberLamp), INTEGER(waterInFuel),      INTEGER(cruiseActive),
    INTEGER(frameSeen),      INTEGER(hoursSeen),        NUMBER(adcVolts),
    INTEGER(adcReplyCount),  INTEGER(adcReplySeen),
};

#undef NUMBER
#undef INTEGER

}  // namespace

std::string FormatJsonNumber(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string StateJson(const VehicleState& state, uint64_t frames) {
  std::string json = "{";
  for (const JsonField& f : kFields) {
    json += '"';
    json += f.name;
    json += "\":";
    const double v = f.value(state);
    json += f.integer ? std::to_string(int64_t(v)) : FormatJsonNumber(v);
    json += ',';
  }
  json += "\"frames\":" + std::to_string(frames) + "}";
  return json;
}

}  // namespace dashvell
