// US values through the encoders and the dashboard's own receive core come
// back as the same US values, to within one J1939 step.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tools/gateway/ParameterEncoders.h"
#include "tools/gateway/tests/Receiver.h"

namespace dashvell {
namespace {

struct RoundTrip {
  const char* name;
  std::function<void(VehicleValues&)> set;
  CanFrame (*encode)(const VehicleValues&);
  std::function<double(const VehicleState&)> read;
  double expected;
  double tolerance;  // half a J1939 step, in the shown unit
};

class EncoderRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(EncoderRoundTrip, DecodesToTheValue) {
  const RoundTrip& c = GetParam();
  VehicleValues v;
  c.set(v);
  testing::Receiver rx;
  // Start from something other than the expected value.
  rx.state.coolantTempF = rx.state.inletAirTempF = rx.state.transOilTempF = 1234;
  rx.Feed(c.encode(v));
  EXPECT_NEAR(c.read(rx.state), c.expected, c.tolerance);
  EXPECT_EQ(rx.stream.FramesDecoded(), 1u);
}

#define FIELD(f) [](const VehicleState& s) { return double(s.f); }
#define SET(expr) [](VehicleValues& v) { expr; }

INSTANTIATE_TEST_SUITE_P(
    Table, EncoderRoundTrip,
    ::testing::Values(
        RoundTrip{"EngineSpeed", SET(v.engineRpm = 1450), EncodeEec1, FIELD(engineSpeedKrpm), 1.45,
                  0.0001},
        RoundTrip{"EngineSpeedNotAvailable", SET(v.engineRpm = kNotAvailable), EncodeEec1,
                  FIELD(engineSpeedKrpm), 0, 0},
        RoundTrip{"EngineSpeedAboveRangeClamps", SET(v.engineRpm = 9000), EncodeEec1,
                  FIELD(engineSpeedKrpm), 8.031875, 0.0001},
        RoundTrip{"Accelerator", SET(v.acceleratorPct = 38), EncodeEec2, FIELD(acceleratorPct), 38,
                  0.2},
        RoundTrip{"EngineLoad", SET(v.engineLoadPct = 45), EncodeEec2, FIELD(engineLoadPct), 45, 0},
        RoundTrip{"VehicleSpeed", SET(v.vehicleSpeedMph = 62), EncodeCcvs, FIELD(vehicleSpeedMph),
                  62, 0.002},
        RoundTrip{"CruiseOn", SET(v.cruiseActive = true), EncodeCcvs, FIELD(cruiseActive), 1, 0},
        RoundTrip{"CruiseOff", SET(v.cruiseActive = false), EncodeCcvs, FIELD(cruiseActive), 0, 0},
        RoundTrip{"FuelRate", SET(v.fuelRateGph = 6.5), EncodeLfe, FIELD(fuelRateGph), 6.5, 0.007},
        RoundTrip{"FuelEconomy", SET(v.fuelEconomyMpg = 9.5), EncodeLfe, FIELD(fuelEconomyMpg), 9.5,
                  0.003},
        RoundTrip{"FuelEconomyNotAvailable", SET(v.fuelEconomyMpg = kNotAvailable), EncodeLfe,
                  FIELD(fuelEconomyMpg), 0, 0},
        RoundTrip{"Coolant", SET(v.coolantTempF = 194), EncodeEt1, FIELD(coolantTempF), 194, 0.9},
        RoundTrip{"CoolantBelowRangeClamps", SET(v.coolantTempF = -60), EncodeEt1,
                  FIELD(coolantTempF), -40, 0},
        RoundTrip{"CoolantNotAvailable", SET(v.coolantTempF = kNotAvailable), EncodeEt1,
                  FIELD(coolantTempF), -40, 0},
        RoundTrip{"OilPressure", SET(v.oilPressurePsi = 52), EncodeEflP1, FIELD(oilPressurePsi), 52,
                  0.3},
        RoundTrip{"Boost", SET(v.boostPsi = 14), EncodeIc1, FIELD(boostPsi), 14, 0.15},
        RoundTrip{"InletAir", SET(v.inletAirTempF = 95), EncodeIc1, FIELD(inletAirTempF), 95, 0.9},
        RoundTrip{"InletAirNotAvailable", SET(v.inletAirTempF = kNotAvailable), EncodeIc1,
                  FIELD(inletAirTempF), 0, 0},
        RoundTrip{"BatteryVolts", SET(v.batteryVolts = 13.9), EncodeVep1, FIELD(canVolts), 13.9,
                  0.025},
        RoundTrip{"BatteryNotAvailable", SET(v.batteryVolts = kNotAvailable), EncodeVep1,
                  FIELD(canVolts), 0, 0},
        RoundTrip{"FuelLevel", SET(v.fuelLevelPct = 67.2), EncodeDd, FIELD(fuelLevelPct), 67.2,
                  0.2},
        RoundTrip{"TransmissionOil", SET(v.transOilTempF = 176), EncodeTrf1, FIELD(transOilTempF),
                  176, 0.03},
        RoundTrip{"TransmissionOilNotAvailable", SET(v.transOilTempF = kNotAvailable), EncodeTrf1,
                  FIELD(transOilTempF), -459.4, 0.0001},
        RoundTrip{"WaterInFuel", SET(v.waterInFuel = true), EncodeOi, FIELD(waterInFuel), 1, 0},
        RoundTrip{"TripDistance", SET(v.tripMiles = 12.34), EncodeVd, FIELD(tripDistanceMiles),
                  12.34, 0.04},
        RoundTrip{"TotalDistance", SET(v.totalMiles = 412345.6), EncodeVd,
                  FIELD(totalDistanceMiles), 412345.6, 0.04},
        RoundTrip{"EngineHours", SET(v.engineHours = 8421.35), EncodeHours, FIELD(engineHours),
                  8421.35, 0.026},
        RoundTrip{"EngineHoursSetsHoursSeen", SET(v.engineHours = 1), EncodeHours, FIELD(hoursSeen),
                  1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct LampCase {
  const char* name;
  Diagnostics engine, transmission, brakes;
  int32_t VehicleState::*flag;
  int32_t expected;
  size_t framesPerSource;  // 1 for a single-frame DM1, 1 + packets for a BAM
};

class Dm1RoundTrip : public ::testing::TestWithParam<LampCase> {};

TEST_P(Dm1RoundTrip, LightsTheLamp) {
  const LampCase& c = GetParam();
  testing::Receiver rx;
  rx.state.engineRedLamp = rx.state.transAmberLamp = 1;  // must be cleared where DM1 says so
  std::vector<CanFrame> frames = Dm1Frames(c.engine, kEngineAddress);
  std::vector<CanFrame> t = Dm1Frames(c.transmission, kTransmissionAddress);
  std::vector<CanFrame> b = Dm1Frames(c.brakes, kBrakesAddress);
  EXPECT_EQ(t.size(), c.framesPerSource);
  frames.insert(frames.end(), t.begin(), t.end());
  frames.insert(frames.end(), b.begin(), b.end());
  rx.Feed(frames);
  EXPECT_EQ(rx.state.*c.flag, c.expected);
}

const Diagnostics kNone{};
const Diagnostics kAmberOneCode{false, true, {{110, 16, 1}}};
const Diagnostics kRedThreeCodes{true, false, {{177, 0, 1}, {161, 2, 3}, {191, 8, 2}}};
const Diagnostics kRedTwoCodes{true, false, {{177, 0, 1}, {161, 2, 3}}};

INSTANTIATE_TEST_SUITE_P(
    Table, Dm1RoundTrip,
    ::testing::Values(
        LampCase{"EngineAmberSingleFrame", kAmberOneCode, kNone, kNone,
                 &VehicleState::engineAmberLamp, 1, 1},
        LampCase{"NoCodesClearEngineRed", kNone, kNone, kNone, &VehicleState::engineRedLamp, 0, 1},
        LampCase{"TransmissionRedByBam", kNone, kRedThreeCodes, kNone, &VehicleState::transRedLamp,
                 1, 3},
        LampCase{"TransmissionRedByBamClearsAmber", kNone, kRedThreeCodes, kNone,
                 &VehicleState::transAmberLamp, 0, 3},
        LampCase{"TwoCodesNeedABamToo", kNone, kRedTwoCodes, kNone, &VehicleState::transRedLamp, 1,
                 3},
        LampCase{"BrakesAmber", kNone, kNone, kAmberOneCode, &VehicleState::brakeAmberLamp, 1, 1},
        LampCase{"BrakesDoNotLightEngine", kNone, kNone, kAmberOneCode,
                 &VehicleState::engineAmberLamp, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Dm1Frames, BamAnnouncesSizePacketsAndPgn) {
  std::vector<CanFrame> f = Dm1Frames(kRedThreeCodes, kTransmissionAddress);
  ASSERT_EQ(f.size(), 3u);
  // 2 lamp bytes + 3 codes of 4 bytes = 14 bytes in 2 packets of 7.
  const std::array<uint8_t, 8> cm{32, 14, 0, 2, 0xFF, 0xCA, 0xFE, 0x00};
  EXPECT_EQ(f[0].data, cm);
  EXPECT_EQ(f[0].id, J1939Id(7, 0xECFF, 3));
  EXPECT_EQ(f[1].id, J1939Id(7, 0xEBFF, 3));
  EXPECT_EQ(f[1].data[0], 1);
  EXPECT_EQ(f[2].data[0], 2);
  // First code SPN 177 FMI 0 right after the lamp and flash bytes.
  EXPECT_EQ(f[1].data[1], 0x10);  // red stop lamp on
  EXPECT_EQ(f[1].data[3], 177);
  EXPECT_EQ(f[1].data[5], 0);
  // 14 bytes fill both packets exactly: the last holds the third code's count.
  EXPECT_EQ(f[2].data[7], 2);
  // Two codes make 10 bytes: the second packet carries 3 and is padded.
  std::vector<CanFrame> two = Dm1Frames(kRedTwoCodes, kTransmissionAddress);
  ASSERT_EQ(two.size(), 3u);
  EXPECT_EQ(two[0].data[1], 10);
  const std::array<uint8_t, 8> last{2,    0x00, 0x02, 0x03,
                                    0xFF, 0xFF, 0xFF, 0xFF};  // SPN 161 FMI 2, 3 times
  EXPECT_EQ(two[2].data, last);
}

TEST(Dm1Message, SpnAbove16BitsGoesToTheTopOfByte5) {
  Diagnostics d{false, true, {{0x7FFFF, 31, 5}}};
  std::vector<uint8_t> m = Dm1Message(d);
  ASSERT_EQ(m.size(), 8u);
  EXPECT_EQ(m[2], 0xFF);
  EXPECT_EQ(m[3], 0xFF);
  EXPECT_EQ(m[4], 0xFF);  // SPN bits 18-16 in bits 8-6, FMI 31 in bits 5-1
  EXPECT_EQ(m[5], 5);
}

}  // namespace
}  // namespace dashvell
