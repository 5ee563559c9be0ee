// The built-in drive moves every instrument and lights every lamp, at the
// broadcast rates of real trucks, and loops.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tools/gateway/BroadcastSchedule.h"
#include "tools/gateway/Scenario.h"
#include "tools/gateway/tests/Receiver.h"

namespace dashvell {
namespace {

// What the dashboard saw over one loop of the drive, sampled every 100 ms.
struct Seen {
  std::map<std::string, double> lowest, highest;
  std::map<std::string, bool> lit;
  std::map<uint32_t, size_t> perPgn;
  size_t records = 0;
};

Seen DriveOnce() {
  Seen s;
  BroadcastSchedule schedule([](double t) { return ScenarioValuesAt(t); });
  testing::Receiver rx;
  double nextSample = 0;
  while (schedule.NextDue() < ScenarioLoopSeconds()) {
    TimedFrame f = schedule.PopNext(schedule.NextDue());
    ++s.perPgn[PgnOf(f.frame.id)];
    ++s.records;
    rx.Feed(f.frame);
    if (f.due < nextSample) continue;
    nextSample += 0.1;
    const VehicleState& v = rx.state;
    const std::pair<const char*, double> values[] = {
        {"rpm", v.engineSpeedKrpm},  {"mph", v.vehicleSpeedMph},   {"oil", v.oilPressurePsi},
        {"coolant", v.coolantTempF}, {"fuel", v.fuelLevelPct},     {"trans", v.transOilTempF},
        {"boost", v.boostPsi},       {"mpg", v.fuelEconomyMpg},    {"gph", v.fuelRateGph},
        {"pedal", v.acceleratorPct}, {"load", v.engineLoadPct},    {"inlet", v.inletAirTempF},
        {"volts", v.canVolts},       {"trip", v.tripDistanceMiles}};
    for (auto [name, value] : values) {
      if (!s.lowest.count(name) || value < s.lowest[name]) s.lowest[name] = value;
      if (!s.highest.count(name) || value > s.highest[name]) s.highest[name] = value;
    }
    const std::pair<const char*, int32_t> flags[] = {
        {"engineAmber", v.engineAmberLamp}, {"transRed", v.transRedLamp},
        {"brakeAmber", v.brakeAmberLamp},   {"waterInFuel", v.waterInFuel},
        {"cruise", v.cruiseActive},         {"engineRed", v.engineRedLamp}};
    for (auto [name, on] : flags) s.lit[name] = s.lit[name] || on;
  }
  EXPECT_EQ(rx.stream.FramesDecoded(), s.records) << "no shifted window may pass";
  return s;
}

const Seen& Drive() {
  static const Seen s = DriveOnce();
  return s;
}

struct RangeCase {
  const char* value;
  double below, above;  // the value must go below the first and above the second
};

class DriveRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(DriveRange, SwingsTheInstrument) {
  const RangeCase& c = GetParam();
  EXPECT_LT(Drive().lowest.at(c.value), c.below);
  EXPECT_GT(Drive().highest.at(c.value), c.above);
}

INSTANTIATE_TEST_SUITE_P(Table, DriveRange,
                         ::testing::Values(RangeCase{"rpm", 0.01, 1.7}, RangeCase{"mph", 0.5, 60},
                                           RangeCase{"oil", 0.5, 55},  // 0 also while not available
                                           RangeCase{"coolant", 45, 210},
                                           RangeCase{"trans", 45, 165}, RangeCase{"boost", 0.5, 20},
                                           RangeCase{"mpg", 0.5, 8}, RangeCase{"gph", 0.5, 12},
                                           RangeCase{"pedal", 0.5, 60}, RangeCase{"load", 1, 80},
                                           RangeCase{"inlet", 1, 90}, RangeCase{"volts", 12.6, 14},
                                           RangeCase{"trip", 0.01, 0.5},
                                           RangeCase{"fuel", 67.5, 66}),
                         [](const auto& info) { return std::string(info.param.value); });

TEST(Drive, LightsEveryLampItPromises) {
  for (const char* lamp : {"engineAmber", "transRed", "brakeAmber", "waterInFuel", "cruise"}) {
    EXPECT_TRUE(Drive().lit.at(lamp)) << lamp;
  }
  EXPECT_FALSE(Drive().lit.at("engineRed"));
}

TEST(Drive, NotAvailableValuesReadAsTheirClearedValues) {
  const VehicleValues v = ScenarioValuesAt(*PhaseEnd("values not available"));
  testing::Receiver rx;
  rx.state.transOilTempF = 100;
  BroadcastSchedule schedule([&](double) { return v; });
  while (schedule.NextDue() < 1.5) rx.Feed(schedule.PopNext(0).frame);
  EXPECT_EQ(rx.state.oilPressurePsi, 0);
  EXPECT_EQ(rx.state.boostPsi, 0);
  EXPECT_EQ(rx.state.inletAirTempF, 0);
  EXPECT_EQ(rx.state.transOilTempF, -459.4f);
  EXPECT_GT(rx.state.engineSpeedKrpm, 0.6f) << "the rest still arrives";
}

struct RateCase {
  const char* name;
  uint32_t pgn;
  double perSecond;
};

class BroadcastRate : public ::testing::TestWithParam<RateCase> {};

TEST_P(BroadcastRate, MatchesRealTrucks) {
  const RateCase& c = GetParam();
  const double seconds = ScenarioLoopSeconds();
  EXPECT_NEAR(double(Drive().perPgn.at(c.pgn)) / seconds, c.perSecond, c.perSecond * 0.02 + 0.01);
}

INSTANTIATE_TEST_SUITE_P(Table, BroadcastRate,
                         ::testing::Values(RateCase{"Eec1", 61444, 50}, RateCase{"Eec2", 61443, 10},
                                           RateCase{"Ccvs", 65265, 10}, RateCase{"Lfe", 65266, 10},
                                           RateCase{"Et1", 65262, 1}, RateCase{"EflP1", 65263, 1},
                                           RateCase{"Ic1", 65270, 1}, RateCase{"Dd", 65276, 1},
                                           RateCase{"Vep1", 65271, 1}, RateCase{"Oi", 65279, 1},
                                           RateCase{"Vd", 65248, 1}, RateCase{"Trf1", 65272, 1},
                                           // engine and brakes every second, the transmission's
                                           // single-frame DM1 outside its BAM phase
                                           RateCase{"Dm1SingleFrames", 65226, 3 - 10.0 / 124}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Drive, Loops) {
  const double loop = ScenarioLoopSeconds();
  for (double t : {0.0, 10.0, 60.0, 100.0}) {
    VehicleValues a = ScenarioValuesAt(t), b = ScenarioValuesAt(t + loop);
    EXPECT_EQ(a.engineRpm, b.engineRpm) << t;
    EXPECT_EQ(a.coolantTempF, b.coolantTempF) << t;
    EXPECT_EQ(a.engine, b.engine) << t;
    EXPECT_GT(b.totalMiles, a.totalMiles) << "the odometer keeps counting";
    EXPECT_GT(b.engineHours, a.engineHours);
  }
}

TEST(Drive, PhaseEndsInsideItsPhase) {
  for (size_t i = 0; i < ScenarioPhases().size(); ++i) {
    const Phase& p = ScenarioPhases()[i];
    EXPECT_EQ(PhaseIndexAt(*PhaseEnd(p.name)), i) << p.name;
  }
  EXPECT_FALSE(PhaseEnd("no such phase"));
}

}  // namespace
}  // namespace dashvell
