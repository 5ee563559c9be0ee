#include <gtest/gtest.h>

#include <string>

#include "core/ParameterDecoding.h"
#include "core/tests/StateFields.h"
#include "core/tests/StreamFixture.h"

namespace dashvell {
namespace {

using testing::Data;
using testing::SentinelState;

// Raw value `raw` of `width` bytes placed at data byte `firstByte`, every
// other byte 0xFF.
Data With(int firstByte, int width, uint32_t raw) {
  Data d = testing::kAllFF;
  for (int i = 0; i < width; ++i) d[firstByte - 1 + i] = uint8_t(raw >> (8 * i));
  return d;
}

struct ConversionCase {
  const char* name;
  SourceGroup group;
  uint16_t pgn;
  Data data;
  double (*get)(const VehicleState&);
  double expected;  // the stored value widened to double, compared exactly
};

#define GET(f) [](const VehicleState& s) { return double(s.f); }

constexpr SourceGroup kEngine = SourceGroup::engine;
constexpr SourceGroup kTrans = SourceGroup::transmission;

// Rows marked "precision" pick raw values where using a double instead of a
// single-precision constant (or the reverse) changes the stored float.
const ConversionCase kConversions[] = {
    {"Eec2AcceleratorPrecision", kEngine, 61443, With(2, 1, 9), GET(acceleratorPct),
     3.6000001430511475},
    {"Eec2AcceleratorLastUsable", kEngine, 61443, With(2, 1, 250), GET(acceleratorPct), 100.0},
    {"Eec2AcceleratorNotAvailable", kEngine, 61443, With(2, 1, 251), GET(acceleratorPct), 0},
    {"Eec2LoadHasNoUpperLimit", kEngine, 61443, With(3, 1, 250), GET(engineLoadPct), 250.0},
    {"Eec2LoadNotAvailable", kEngine, 61443, With(3, 1, 251), GET(engineLoadPct), 0},
    {"Eec1Speed2000Rpm", kEngine, 61444, With(4, 2, 16000), GET(engineSpeedKrpm), 2.0},
    {"Eec1SpeedPrecision", kEngine, 61444, With(4, 2, 5), GET(engineSpeedKrpm),
     0.0006250000442378223},
    {"Eec1SpeedLastUsable", kEngine, 61444, With(4, 2, 64255), GET(engineSpeedKrpm),
     8.031875610351562},
    {"Eec1SpeedNotAvailable", kEngine, 61444, With(4, 2, 64256), GET(engineSpeedKrpm), 0},
    {"VdTripIsDouble", kEngine, 65248, With(1, 4, 8), GET(tripDistanceMiles), 0.6213727366498067},
    {"VdTripLastUsable", kEngine, 65248, With(1, 4, 4211081215u), GET(tripDistanceMiles),
     327081382.3523929},
    {"VdTripNotAvailable", kEngine, 65248, With(1, 4, 4211081216u), GET(tripDistanceMiles), 0},
    {"VdTotalIsDouble", kEngine, 65248, With(5, 4, 8), GET(totalDistanceMiles), 0.6213727366498067},
    {"VdTotalNotAvailable", kEngine, 65248, With(5, 4, 4211081216u), GET(totalDistanceMiles), 0},
    {"HoursOneHour", kEngine, 65253, With(1, 4, 20), GET(engineHours), 1.0},
    {"HoursPrecision", kEngine, 65253, With(1, 4, 9), GET(engineHours), 0.45000001788139343},
    {"HoursLastUsable", kEngine, 65253, With(1, 4, 4211081215u), GET(engineHours), 210554064.0},
    {"HoursFirstNotAvailable", kEngine, 65253, With(1, 4, 4211081216u), GET(engineHours), 0},
    {"HoursAllOnes", kEngine, 65253, With(1, 4, 4294967295u), GET(engineHours), 0},
    {"Et1Raw0", kEngine, 65262, With(1, 1, 0), GET(coolantTempF), -40.0},
    {"Et1Raw130", kEngine, 65262, With(1, 1, 130), GET(coolantTempF), 194.0},
    {"Et1Precision", kEngine, 65262, With(1, 1, 1), GET(coolantTempF), -38.19999694824219},
    {"Et1LastUsable", kEngine, 65262, With(1, 1, 250), GET(coolantTempF), 410.0},
    {"Et1NotAvailableIsMinus40", kEngine, 65262, With(1, 1, 251), GET(coolantTempF), -40.0},
    {"OilPressurePrecision", kEngine, 65263, With(4, 1, 5), GET(oilPressurePsi),
     2.8999998569488525},
    {"OilPressureLastUsable", kEngine, 65263, With(4, 1, 250), GET(oilPressurePsi), 145.0},
    {"OilPressureNotAvailable", kEngine, 65263, With(4, 1, 251), GET(oilPressurePsi), 0},
    {"CcvsSpeed100Kmh", kEngine, 65265, With(2, 2, 25600), GET(vehicleSpeedMph), 62.13727569580078},
    {"CcvsSpeedPrecision", kEngine, 65265, With(2, 2, 199), GET(vehicleSpeedMph),
     0.48302021622657776},
    {"CcvsSpeedLastUsable", kEngine, 65265, With(2, 2, 64255), GET(vehicleSpeedMph),
     155.96214294433594},
    {"CcvsSpeedNotAvailable", kEngine, 65265, With(2, 2, 64256), GET(vehicleSpeedMph), 0},
    {"LfeFuelRatePrecision", kEngine, 65266, With(1, 2, 91), GET(fuelRateGph), 1.2019835710525513},
    {"LfeFuelRateLastUsable", kEngine, 65266, With(1, 2, 64255), GET(fuelRateGph), 848.71923828125},
    {"LfeFuelRateNotAvailable", kEngine, 65266, With(1, 2, 64256), GET(fuelRateGph), 0},
    {"LfeEconomyPrecision", kEngine, 65266, With(3, 2, 57), GET(fuelEconomyMpg),
     0.2618604302406311},
    {"LfeEconomy10KmPerLitre", kEngine, 65266, With(3, 2, 5120), GET(fuelEconomyMpg),
     23.521499633789062},
    {"LfeEconomyNotAvailable", kEngine, 65266, With(3, 2, 64256), GET(fuelEconomyMpg), 0},
    {"Ic1BoostPrecision", kEngine, 65270, With(2, 1, 5), GET(boostPsi), 1.4499999284744263},
    {"Ic1BoostLastUsable", kEngine, 65270, With(2, 1, 250), GET(boostPsi), 72.5},
    {"Ic1BoostNotAvailable", kEngine, 65270, With(2, 1, 251), GET(boostPsi), 0},
    {"Ic1InletRaw0", kEngine, 65270, With(3, 1, 0), GET(inletAirTempF), -40.0},
    {"Ic1InletPrecision", kEngine, 65270, With(3, 1, 1), GET(inletAirTempF), -38.19999694824219},
    {"Ic1InletNotAvailableIsZero", kEngine, 65270, With(3, 1, 251), GET(inletAirTempF), 0},
    {"DdFuelLevelPrecision", kEngine, 65276, With(2, 1, 9), GET(fuelLevelPct), 3.6000001430511475},
    {"DdFuelLevelLastUsable", kEngine, 65276, With(2, 1, 250), GET(fuelLevelPct), 100.0},
    {"DdFuelLevelNotAvailable", kEngine, 65276, With(2, 1, 251), GET(fuelLevelPct), 0},
    {"TransOilRaw0", kTrans, 65272, With(5, 2, 0), GET(transOilTempF), -459.3999938964844},
    {"TransOil80C", kTrans, 65272, With(5, 2, 11296), GET(transOilTempF), 176.0},
    {"TransOilDoubleConstants", kTrans, 65272, With(5, 2, 2), GET(transOilTempF),
     -459.2875061035156},
    {"TransOilLastUsable", kTrans, 65272, With(5, 2, 64255), GET(transOilTempF), 3154.94384765625},
    {"TransOilNotAvailable", kTrans, 65272, With(5, 2, 64256), GET(transOilTempF),
     -459.3999938964844},
};

class Conversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, StoresTheExactValue) {
  const ConversionCase& c = GetParam();
  VehicleState s = SentinelState();
  DecodeParameterGroup(s, c.group, c.pgn, c.data);
  EXPECT_EQ(c.get(s), c.expected);
}

INSTANTIATE_TEST_SUITE_P(EveryGroup, Conversion, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HoursSeen, SetOnlyByAnAvailableValue) {
  VehicleState s = SentinelState();
  DecodeParameterGroup(s, kEngine, 65253, With(1, 4, 20));
  EXPECT_EQ(s.hoursSeen, 1);

  for (int before : {0, 1}) {
    s.hoursSeen = before;
    DecodeParameterGroup(s, kEngine, 65253, With(1, 4, 4294967295u));
    EXPECT_EQ(s.hoursSeen, before);
    EXPECT_EQ(s.engineHours, 0.0f);
  }
}

struct PotentialCase {
  const char* name;
  uint32_t battery;    // bytes 5 and 6 (SPN 168)
  uint32_t keyswitch;  // bytes 7 and 8 (SPN 158)
  double expected;
};

const PotentialCase kPotentials[] = {
    {"KeyswitchNotAvailable", 280, 0xFFFF, 14.0},
    {"KeyswitchZero", 280, 0, 14.0},
    {"LowerOfBoth", 280, 260, 13.0},
    {"LowerOfBothReversed", 260, 280, 13.0},
    {"BatteryZero", 0, 276, 13.800000190734863},
    {"BatteryNotAvailable", 0xFB00, 276, 13.800000190734863},
    {"Precision", 9, 0, 0.45000001788139343},
    {"LastUsable", 64255, 0, 3212.75},
    {"NotAvailableAndZero", 0xFFFF, 0, 0},
    {"BothNotAvailable", 0xFFFF, 0xFB00, 0},
};

class ElectricalPotential : public ::testing::TestWithParam<PotentialCase> {};

TEST_P(ElectricalPotential, CanVolts) {
  const PotentialCase& c = GetParam();
  Data d = testing::kAllFF;
  d[4] = uint8_t(c.battery);
  d[5] = uint8_t(c.battery >> 8);
  d[6] = uint8_t(c.keyswitch);
  d[7] = uint8_t(c.keyswitch >> 8);
  VehicleState s = SentinelState();
  DecodeParameterGroup(s, kEngine, 65271, d);
  EXPECT_EQ(double(s.canVolts), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Vep1, ElectricalPotential, ::testing::ValuesIn(kPotentials),
                         [](const auto& info) { return std::string(info.param.name); });

struct StatusCase {
  const char* name;
  uint16_t pgn;
  int byte;  // data byte holding the status in bits 2 and 1
  uint8_t value;
  int32_t before;
  int32_t expected;
  int32_t VehicleState::*flag;
};

// The other six bits of the byte are set, so that a missing mask shows.
const StatusCase kStatuses[] = {
    {"CruiseOffClears", 65265, 4, 0xFC, 1, 0, &VehicleState::cruiseActive},
    {"CruiseOnSets", 65265, 4, 0xFD, 0, 1, &VehicleState::cruiseActive},
    {"CruiseErrorLeavesOn", 65265, 4, 0xFE, 1, 1, &VehicleState::cruiseActive},
    {"CruiseNotAvailableLeavesOff", 65265, 4, 0xFF, 0, 0, &VehicleState::cruiseActive},
    {"CruiseNotAvailableLeavesOn", 65265, 4, 0xFF, 1, 1, &VehicleState::cruiseActive},
    {"WaterOffClears", 65279, 1, 0xFC, 1, 0, &VehicleState::waterInFuel},
    {"WaterOnSets", 65279, 1, 0xFD, 0, 1, &VehicleState::waterInFuel},
    {"WaterErrorLeavesOff", 65279, 1, 0xFE, 0, 0, &VehicleState::waterInFuel},
    {"WaterErrorLeavesOn", 65279, 1, 0xFE, 1, 1, &VehicleState::waterInFuel},
};

class TwoBitStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(TwoBitStatus, Flag) {
  const StatusCase& c = GetParam();
  Data d = testing::kAllFF;
  d[c.byte - 1] = c.value;
  VehicleState s = SentinelState();
  s.*c.flag = c.before;
  DecodeParameterGroup(s, kEngine, c.pgn, d);
  EXPECT_EQ(s.*c.flag, c.expected);
}

INSTANTIATE_TEST_SUITE_P(CcvsAndOi, TwoBitStatus, ::testing::ValuesIn(kStatuses),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TwoBitStatus, NotAvailableSpeedDoesNotStopCruise) {
  Data d = With(2, 2, 0xFFFF);
  d[3] = 0x01;
  VehicleState s = SentinelState();
  DecodeParameterGroup(s, kEngine, 65265, d);
  EXPECT_EQ(s.vehicleSpeedMph, 0.0f);
  EXPECT_EQ(s.cruiseActive, 1);
}

struct TouchCase {
  const char* name;
  SourceGroup group;
  uint16_t pgn;
  const char* changed;  // field names in declaration order
};

// With every data byte 0x11 each parameter is available and each two-bit
// status reads 1, so every field a group owns changes and no other may.
const TouchCase kTouches[] = {
    {"Eec2", kEngine, 61443, "acceleratorPct engineLoadPct"},
    {"Eec1", kEngine, 61444, "engineSpeedKrpm"},
    {"Vd", kEngine, 65248, "tripDistanceMiles totalDistanceMiles"},
    {"Hours", kEngine, 65253, "engineHours hoursSeen"},
    {"Et1", kEngine, 65262, "coolantTempF"},
    {"EflP1", kEngine, 65263, "oilPressurePsi"},
    {"Ccvs", kEngine, 65265, "vehicleSpeedMph cruiseActive"},
    {"Lfe", kEngine, 65266, "fuelEconomyMpg fuelRateGph"},
    {"Ic1", kEngine, 65270, "boostPsi inletAirTempF"},
    {"Vep1", kEngine, 65271, "canVolts"},
    {"Dd", kEngine, 65276, "fuelLevelPct"},
    {"Oi", kEngine, 65279, "waterInFuel"},
    {"TransmissionFluids", kTrans, 65272, "transOilTempF"},
    {"TransmissionFluidsFromEngine", kEngine, 65272, ""},
    {"Eec1FromTransmission", kTrans, 61444, ""},
    {"Eec1FromBrakes", SourceGroup::brakes, 61444, ""},
    {"TransmissionFluidsFromBrakes", SourceGroup::brakes, 65272, ""},
    {"UnsupportedGroup", kEngine, 65132, ""},
    {"Dm1IsNotAParameterGroup", kEngine, 65226, ""},
};

class FieldsWritten : public ::testing::TestWithParam<TouchCase> {};

TEST_P(FieldsWritten, OnlyTheGroupsOwn) {
  const TouchCase& c = GetParam();
  Data d;
  d.fill(0x11);
  const VehicleState before = SentinelState();
  VehicleState s = before;
  DecodeParameterGroup(s, c.group, c.pgn, d);
  EXPECT_EQ(testing::ChangedFields(before, s), c.changed);
}

INSTANTIATE_TEST_SUITE_P(EveryGroup, FieldsWritten, ::testing::ValuesIn(kTouches),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dashvell
