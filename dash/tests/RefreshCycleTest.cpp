// The refresh pass: needle easing, lamp flashing and what one pass writes, in
// which order, against a panel of recording instruments.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "dash/RefreshCycle.h"
#include "dash/tests/DashFakes.h"

namespace dashvell {
namespace {

using testing::FakePanel;
using testing::PanelWrite;

constexpr double kTenth = double(0.1f);

struct EaseCase {
  const char* name;
  std::size_t gauge;
  float VehicleState::*field;
  float rest;
  float target;
};

class Easing : public ::testing::TestWithParam<EaseCase> {};

// Passes 1 to 10 after a change cover 1/10, 2/10, ... 10/10 of what remains,
// then the pointer stands on the target and is no longer written.
TEST_P(Easing, SteadyTargetIsReachedInTenPassesThenNotWrittenAgain) {
  const EaseCase& c = GetParam();
  VehicleState state;
  FakePanel fake;
  RefreshCycle cycle(state, fake.panel);
  state.voltmeterVolts = 6.0f;  // keep the voltmeter at rest unless it is the one tested
  state.*c.field = c.target;
  const int id = FakePanel::kGaugeIds[c.gauge];
  const double distance = double(c.target) - double(c.rest);

  double remaining = 1;
  for (int pass = 1; pass <= 10; ++pass) {
    cycle.RunRefreshCycle();
    remaining *= 1 - pass * kTenth;
    const auto writes = fake.WritesTo(id);
    ASSERT_EQ(writes.size(), std::size_t(pass)) << "pass " << pass;
    const double expected = double(c.target) - remaining * distance;
    EXPECT_NEAR(writes.back().r8(), expected, 1e-5 * std::abs(distance)) << "pass " << pass;
  }
  EXPECT_NEAR(cycle.easers()[c.gauge].shown, c.target, 1e-6 * std::abs(c.target) + 1e-7);

  for (int pass = 11; pass <= 30; ++pass) cycle.RunRefreshCycle();
  EXPECT_EQ(cycle.easers()[c.gauge].shown, c.target);
  const std::size_t writesAfter30 = fake.WritesTo(id).size();
  EXPECT_LE(writesAfter30, 12u);
  cycle.RunRefreshCycle();
  EXPECT_EQ(fake.WritesTo(id).size(), writesAfter30);
  // Only the gauge whose value changed was ever written.
  for (std::size_t g = 0; g < 6; ++g) {
    if (g == c.gauge) continue;
    EXPECT_TRUE(fake.WritesTo(FakePanel::kGaugeIds[g]).empty()) << g;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Gauges, Easing,
    ::testing::Values(EaseCase{"Tachometer", 0, &VehicleState::engineSpeedKrpm, 0, 1.5f},
                      EaseCase{"Speedometer", 1, &VehicleState::vehicleSpeedMph, 0, 65.3f},
                      EaseCase{"OilPressure", 2, &VehicleState::oilPressurePsi, 0, 42.5f},
                      EaseCase{"Coolant", 3, &VehicleState::coolantTempF, -40.0f, 190.7f},
                      EaseCase{"Voltmeter", 4, &VehicleState::voltmeterVolts, 6.0f, 13.8f},
                      EaseCase{"FuelLevel", 5, &VehicleState::fuelLevelPct, 0, 75.1f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Easing, PointerGetsTheUnroundedDoubleWithASinglePrecisionTenth) {
  VehicleState state;
  state.voltmeterVolts = 6.0f;
  state.engineSpeedKrpm = 1.5f;
  FakePanel fake;
  RefreshCycle cycle(state, fake.panel);
  cycle.RunRefreshCycle();
  const auto writes = fake.WritesTo(1004);
  ASSERT_EQ(writes.size(), 1u);
  // 1.5 x 0.1f in double: 0.15000000223517418, neither 0.15 nor float(0.15).
  EXPECT_EQ(writes[0].r8(), 1.5 * kTenth);
  EXPECT_NE(writes[0].r8(), 1.5 * 0.1);
  EXPECT_NE(writes[0].r8(), double(float(1.5 * kTenth)));
}

TEST(Easing, TargetMovingEveryPassKeepsStepOne) {
  VehicleState state;
  state.voltmeterVolts = 6.0f;
  FakePanel fake;
  RefreshCycle cycle(state, fake.panel);
  double shown = 0;
  for (int pass = 1; pass <= 8; ++pass) {
    state.vehicleSpeedMph = 10.0f * pass;
    cycle.RunRefreshCycle();
    EXPECT_EQ(cycle.easers()[1].step, 1) << "pass " << pass;
    const auto writes = fake.WritesTo(1005);
    ASSERT_EQ(writes.size(), std::size_t(pass));
    const double expected = shown + (double(state.vehicleSpeedMph) - shown) * kTenth;
    EXPECT_DOUBLE_EQ(writes.back().r8(), expected) << "pass " << pass;
    shown = float(expected);
  }
  EXPECT_LT(cycle.easers()[1].shown, state.vehicleSpeedMph);
}

TEST(Easing, BeforeAnyDataOnlyTheVoltmeterMovesFromSixTowardZero) {
  VehicleState state;
  ClearVehicleState(state);
  FakePanel fake;
  RefreshCycle cycle(state, fake.panel);
  for (int pass = 0; pass < 3; ++pass) cycle.RunRefreshCycle();
  for (int id : {1004, 1005, 1006, 1007, 1009}) EXPECT_TRUE(fake.WritesTo(id).empty()) << id;
  const auto volts = fake.WritesTo(1008);
  ASSERT_EQ(volts.size(), 3u);
  EXPECT_DOUBLE_EQ(volts[0].r8(), 6.0 - 6.0 * kTenth);
  EXPECT_LT(volts[1].r8(), volts[0].r8());
  EXPECT_LT(volts[2].r8(), volts[1].r8());
  EXPECT_GT(volts[2].r8(), 0.0);
}

TEST(Easing, AClearedStateBringsTheGaugesBackWithoutResettingTheEasing) {
  VehicleState state;
  state.coolantTempF = 200;
  state.voltmeterVolts = 6.0f;
  FakePanel fake;
  RefreshCycle cycle(state, fake.panel);
  for (int pass = 0; pass < 15; ++pass) cycle.RunRefreshCycle();
  ClearVehicleState(state);
  state.voltmeterVolts = 6.0f;
  cycle.RunRefreshCycle();
  EXPECT_EQ(cycle.easers()[3].target, -40.0f);
  EXPECT_EQ(cycle.easers()[3].step, 1);
  EXPECT_DOUBLE_EQ(fake.WritesTo(1007).back().r8(), 200.0 + (-40.0 - 200.0) * kTenth);
}

struct BlinkCase {
  const char* name;
  uint8_t count;
  int32_t phase;
  std::string flags;  // one character per pass: '1' active, '0' inactive
  std::string lit;    // the lamp on that pass
  uint8_t countAfter;
};

class Blinking : public ::testing::TestWithParam<BlinkCase> {};

TEST_P(Blinking, FollowsTheHalfSecondCadence) {
  const BlinkCase& c = GetParam();
  BlinkCounter blink{c.count, c.phase};
  std::string lit;
  for (char flag : c.flags) lit.push_back(blink.Update(flag == '1') ? '1' : '0');
  EXPECT_EQ(lit, c.lit);
  EXPECT_EQ(blink.count, c.countAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Lamps, Blinking,
    ::testing::Values(
        // Lit on counts 1 to 4, then five passes dark and five lit.
        BlinkCase{"FromStart", 0, 1, "11111111111111111111", "11110000011111000001", 20},
        // 250 is a multiple of 5: the wrap from 249 to 0 toggles in rhythm.
        BlinkCase{"WrapAt250KeepsRhythm", 245, 1, "1111111111", "1111000001", 5},
        BlinkCase{"InactiveKeepsCountAndPhase", 7, 0, "00", "00", 7},
        BlinkCase{"BackInDarkHalfStaysDarkUntilNextFive", 7, 0, "00111", "00001", 10},
        BlinkCase{"BackInLitHalfIsLitAtOnce", 2, 1, "01", "01", 3},
        BlinkCase{"BackOnAMultipleOfFiveToggles", 4, 1, "01", "00", 5}),
    [](const auto& info) { return std::string(info.param.name); });

struct LampCase {
  const char* name;
  int32_t VehicleState::*flag;
  int lamp;
  bool flashes;
};

class LampBinding : public ::testing::TestWithParam<LampCase> {};

TEST_P(LampBinding, EachFlagDrivesItsOwnLamp) {
  const LampCase& c = GetParam();
  VehicleState state;
  state.voltmeterVolts = 6.0f;
  state.*c.flag = 1;
  FakePanel fake;
  RefreshCycle cycle(state, fake.panel);
  for (int pass = 0; pass < 5; ++pass) cycle.RunRefreshCycle();

  for (int id : FakePanel::kLampIds) {
    const auto writes = fake.WritesTo(id);
    ASSERT_EQ(writes.size(), 5u) << id;
    for (int pass = 0; pass < 5; ++pass) {
      // A flashing lamp goes dark on its fifth active pass; a steady one stays lit.
      const bool lit = id == c.lamp && (pass < 4 || !c.flashes);
      EXPECT_EQ(writes[pass], Variant::Bool(lit)) << "lamp " << id << " pass " << pass + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, LampBinding,
    ::testing::Values(LampCase{"Cruise", &VehicleState::cruiseActive, 1029, false},
                      LampCase{"WaterInFuel", &VehicleState::waterInFuel, 1030, true},
                      LampCase{"EngineAmber", &VehicleState::engineAmberLamp, 1032, true},
                      LampCase{"BrakeAmber", &VehicleState::brakeAmberLamp, 1039, true},
                      LampCase{"TransAmber", &VehicleState::transAmberLamp, 1038, true},
                      LampCase{"EngineRed", &VehicleState::engineRedLamp, 1031, true},
                      LampCase{"BrakeRed", &VehicleState::brakeRedLamp, 1035, true},
                      LampCase{"TransRed", &VehicleState::transRedLamp, 1033, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RefreshPass, WritesEveryInstrumentInOrderWithItsValue) {
  VehicleState s;
  s.engineSpeedKrpm = 1.5f;
  s.vehicleSpeedMph = 62.5f;
  s.oilPressurePsi = 40;
  s.coolantTempF = 180;
  s.voltmeterVolts = 13.5f;
  s.fuelLevelPct = 75;
  s.transOilTempF = 150.25f;
  s.boostPsi = 20.5f;
  s.fuelEconomyMpg = 6.5f;
  s.fuelRateGph = 12.25f;
  s.acceleratorPct = 33;
  s.engineLoadPct = 45;
  s.inletAirTempF = 88;
  s.tripDistanceMiles = 1234.56;
  s.totalDistanceMiles = 98765.43;
  s.engineHours = 4321.5f;
  s.tripMiles = 7.25f;
  s.cruiseActive = 1;
  s.waterInFuel = 1;
  s.engineAmberLamp = 1;
  s.transAmberLamp = 1;
  s.brakeRedLamp = 1;
  FakePanel fake;
  RefreshCycle cycle(s, fake.panel);

  cycle.RunRefreshCycle();

  auto eased = [](double rest, double v) { return rest + (v - rest) * kTenth; };
  auto r8 = [](double v) { return Variant::R8(v); };
  auto lit = [](bool on) { return Variant::Bool(on); };
  const std::vector<PanelWrite> expected{
      {1004, r8(eased(0, 1.5))},
      {1005, r8(eased(0, 62.5))},
      {1006, r8(eased(0, 40))},
      {1007, r8(eased(-40, 180))},
      {1008, r8(eased(6, 13.5))},
      {1009, r8(eased(0, 75))},
      {1011, r8(150.25)},
      {1012, r8(20.5)},
      {1013, r8(6.5)},
      {1014, r8(12.25)},
      {1015, r8(33)},
      {1017, r8(45)},
      {1016, r8(88)},
      {1018, r8(62.5)},
      {1021, r8(1500)},
      {1022, r8(40)},
      {1026, r8(180)},
      {1027, r8(13.5)},
      {1034, r8(75)},
      {1040, r8(1234.56)},
      {1041, r8(98765.43)},
      {1020, r8(4321.5)},
      {1019, r8(7.25)},
      {1029, lit(true)},
      {1030, lit(true)},
      {1032, lit(true)},
      {1039, lit(false)},
      {1038, lit(true)},
      {1031, lit(false)},
      {1035, lit(true)},
      {1033, lit(false)},
  };
  EXPECT_EQ(fake.log, expected);
  EXPECT_EQ(fake.wrongIdWrites, 0);
}

TEST(RefreshPass, ClearedStateShowsTheClearedTemperatures) {
  VehicleState s;
  ClearVehicleState(s);
  FakePanel fake;
  RefreshCycle cycle(s, fake.panel);
  cycle.RunRefreshCycle();
  EXPECT_EQ(fake.WritesTo(1011), std::vector<Variant>{Variant::R8(double(-459.4f))});
  EXPECT_EQ(fake.WritesTo(1016), std::vector<Variant>{Variant::R8(0)});
  EXPECT_EQ(fake.WritesTo(1026), std::vector<Variant>{Variant::R8(-40)});
}

}  // namespace
}  // namespace dashvell
