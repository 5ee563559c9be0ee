#include "core/ParameterDecoding.h"

#include <algorithm>

namespace dashvell {

namespace {

// Every conversion works in double precision, strictly left to right, with
// single-precision constants where the instruments' factors were defined as
// floats (kF): the stored value is then rounded once to the field's type.
constexpr double kF(float f) {
  return double(f);
}

// Fahrenheit from a 1 degC/bit, -40 degC offset temperature (SPN 105, 110).
double Fahrenheit(uint32_t raw) {
  return (double(raw) - kF(40.0f)) * kF(1.8f) + kF(32.0f);
}

// One numeric parameter: where its raw value lies, how it converts, what the
// field gets when J1939 marks it not available.
struct ValueRow {
  SourceGroup group;
  uint16_t pgn;
  int firstByte;  // J1939 data byte 1 to 8
  int width;      // 1, 2 or 4 bytes
  double (*convert)(uint32_t raw);
  double notAvailable;
  float VehicleState::*floatField = nullptr;
  double VehicleState::*doubleField = nullptr;
  int32_t VehicleState::*seenFlag = nullptr;  // set to 1 by an available value
};

using S = VehicleState;
constexpr SourceGroup kEngine = SourceGroup::engine;
constexpr SourceGroup kTrans = SourceGroup::transmission;

const ValueRow kValueRows[] = {
    // EEC2: accelerator pedal position 1 (SPN 91, 0.4 %/bit), percent load (SPN 92, 1 %/bit).
    {kEngine, 61443, 2, 1, [](uint32_t r) { return r * kF(0.4f); }, 0, &S::acceleratorPct},
    {kEngine, 61443, 3, 1, [](uint32_t r) { return double(r); }, 0, &S::engineLoadPct},
    // EEC1: engine speed (SPN 190, 0.125 rpm/bit) in thousands of rpm.
    {kEngine, 61444, 4, 2, [](uint32_t r) { return r * 0.125 * kF(0.001f); }, 0,
     &S::engineSpeedKrpm},
    // VD: trip and total distance (SPN 244, 245, 0.125 km/bit) in miles.
    {kEngine, 65248, 1, 4, [](uint32_t r) { return r * 0.07767159208122584; }, 0, nullptr,
     &S::tripDistanceMiles},
    {kEngine, 65248, 5, 4, [](uint32_t r) { return r * 0.07767159208122584; }, 0, nullptr,
     &S::totalDistanceMiles},
    // HOURS: engine total hours of operation (SPN 247, 0.05 h/bit).
    {kEngine, 65253, 1, 4, [](uint32_t r) { return r * kF(0.05f); }, 0, &S::engineHours, nullptr,
     &S::hoursSeen},
    // ET1: engine coolant temperature (SPN 110).
    {kEngine, 65262, 1, 1, Fahrenheit, -40.0, &S::coolantTempF},
    // EFL/P1: engine oil pressure (SPN 100, 4 kPa/bit at 0.145 psi/kPa).
    {kEngine, 65263, 4, 1, [](uint32_t r) { return r * kF(0.58f); }, 0, &S::oilPressurePsi},
    // CCVS: wheel-based vehicle speed (SPN 84, 1/256 km/h per bit) in mph.
    {kEngine, 65265, 2, 2, [](uint32_t r) { return r * kF(0.00390625f) * kF(0.62137276f); }, 0,
     &S::vehicleSpeedMph},
    // LFE: fuel rate (SPN 183, 0.05 L/h per bit) in US gal/h and instantaneous
    // fuel economy (SPN 184, 1/512 km/L per bit) in mpg.
    {kEngine, 65266, 1, 2, [](uint32_t r) { return r * kF(0.05f) * kF(0.2641722f); }, 0,
     &S::fuelRateGph},
    {kEngine, 65266, 3, 2, [](uint32_t r) { return r * kF(0.001953125f) * kF(2.35215f); }, 0,
     &S::fuelEconomyMpg},
    // IC1: boost pressure (SPN 102, 2 kPa/bit) and intake manifold 1
    // temperature (SPN 105), which falls back to 0, not -40.
    {kEngine, 65270, 2, 1, [](uint32_t r) { return r * kF(0.29f); }, 0, &S::boostPsi},
    {kEngine, 65270, 3, 1, Fahrenheit, 0, &S::inletAirTempF},
    // DD: fuel level 1 (SPN 96, 0.4 %/bit).
    {kEngine, 65276, 2, 1, [](uint32_t r) { return r * kF(0.4f); }, 0, &S::fuelLevelPct},
    // Transmission fluids: oil temperature (SPN 177, 0.03125 degC/bit, offset
    // -273 degC), in double constants throughout.
    {kTrans, 65272, 5, 2, [](uint32_t r) { return ((r * 0.03125) - 273.0) * 1.8 + 32.0; }, -459.4,
     &S::transOilTempF},
};

// One two-bit indicator: the status sits in bits 2 and 1 of a data byte.
struct StatusRow {
  SourceGroup group;
  uint16_t pgn;
  int byte;
  int32_t VehicleState::*flag;
};

const StatusRow kStatusRows[] = {
    {kEngine, 65265, 4, &S::cruiseActive},  // CCVS: cruise control active (SPN 595)
    {kEngine, 65279, 1, &S::waterInFuel},   // OI: water in fuel indicator (SPN 97)
};

constexpr uint16_t kVep1Pgn = 65271;

// VEP1: the lower of battery potential (SPN 168) and keyswitch battery
// potential (SPN 158), 0.05 V/bit, ignoring one that is 0 or not available.
void DecodeElectricalPotential(VehicleState& state, DataBytes data) {
  auto usable = [&](int firstByte) {
    const uint32_t raw = RawValue(data, firstByte, 2);
    return IsAvailable(raw, 2) ? raw : 0u;
  };
  const uint32_t a = usable(5);
  const uint32_t b = usable(7);
  const uint32_t potential = a == 0 ? b : b == 0 ? a : std::min(a, b);
  state.canVolts = float(potential * kF(0.05f));
}

void Store(VehicleState& state, const ValueRow& row, double value) {
  if (row.floatField) state.*row.floatField = float(value);
  if (row.doubleField) state.*row.doubleField = value;
}

}  // namespace

void DecodeParameterGroup(VehicleState& state, SourceGroup group, uint16_t pgn, DataBytes data) {
  for (const ValueRow& row : kValueRows) {
    if (row.group != group || row.pgn != pgn) continue;
    const uint32_t raw = RawValue(data, row.firstByte, row.width);
    if (!IsAvailable(raw, row.width)) {
      Store(state, row, row.notAvailable);
      continue;
    }
    Store(state, row, row.convert(raw));
    if (row.seenFlag) state.*row.seenFlag = 1;
  }
  for (const StatusRow& row : kStatusRows) {
    if (row.group == group && row.pgn == pgn)
      ApplyTwoBitStatus(state.*row.flag, data[row.byte - 1]);
  }
  if (group == SourceGroup::engine && pgn == kVep1Pgn) DecodeElectricalPotential(state, data);
}

}  // namespace dashvell
