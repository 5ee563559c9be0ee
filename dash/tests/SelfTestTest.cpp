// The self-test generator: one draw per step from the original runtime's
// sequence, the ends of every range, the flags' toggling and switching off.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dash/SelfTest.h"
#include "link/tests/LinkFakes.h"

namespace dashvell {
namespace {

using testing::FakeCounter;
using testing::TransmittedText;

struct SelfTestFixture {
  SelfTestFixture() {
    comm.Attach(&serial);
    state.portOpen = 1;
  }
  VehicleState state;
  RecordingControl serial;
  CMSComm comm;
  FakeCounter counter;
  GatewayCommands commands{state, comm, counter};
  SelfTest selfTest{state, commands};
};

TEST(SelfTestStep, TakesOneDrawPerStepFromTheRuntimeSequence) {
  SelfTestFixture f;
  for (int n : {41, 18467, 6334, 26500}) {
    f.selfTest.RunSelfTestStep();
    EXPECT_EQ(f.state.fuelLevelPct, float(100 * (n / 32767.0))) << n;
    // Every value of a step comes from the same draw.
    EXPECT_EQ(f.state.acceleratorPct, f.state.fuelLevelPct);
    EXPECT_EQ(f.state.vehicleSpeedMph, float(160 * (n / 32767.0))) << n;
  }
}

struct RangeCase {
  const char* name;
  std::function<double(const VehicleState&)> value;
  double atZero;
  double atMax;
};

class SelfTestRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(SelfTestRange, DrawZeroGivesTheMinimumAndDrawMaxTheMaximum) {
  VehicleState state;
  ApplySelfTestDraw(state, 0);
  EXPECT_FLOAT_EQ(GetParam().value(state), GetParam().atZero);
  ApplySelfTestDraw(state, CrtRand::kMax);
  EXPECT_FLOAT_EQ(GetParam().value(state), GetParam().atMax);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SelfTestRange,
    ::testing::Values(
        RangeCase{"Speed", [](const VehicleState& s) { return s.vehicleSpeedMph; }, 0, 160},
        RangeCase{"EngineSpeed", [](const VehicleState& s) { return s.engineSpeedKrpm; }, 0, 8},
        RangeCase{"OilPressure", [](const VehicleState& s) { return s.oilPressurePsi; }, 0, 150},
        RangeCase{"Coolant", [](const VehicleState& s) { return s.coolantTempF; }, -40, 260},
        RangeCase{"Voltmeter", [](const VehicleState& s) { return s.voltmeterVolts; }, 6, 30},
        RangeCase{"FuelLevel", [](const VehicleState& s) { return s.fuelLevelPct; }, 0, 100},
        RangeCase{"TripDistance", [](const VehicleState& s) { return s.tripDistanceMiles; }, 0,
                  621372.1},
        RangeCase{"TotalDistance", [](const VehicleState& s) { return s.totalDistanceMiles; }, 0,
                  621372.1},
        RangeCase{"TransOil", [](const VehicleState& s) { return s.transOilTempF; }, -459.4,
                  2172.2},
        RangeCase{"Boost", [](const VehicleState& s) { return s.boostPsi; }, 0, 72.5},
        RangeCase{"FuelEconomy", [](const VehicleState& s) { return s.fuelEconomyMpg; }, 0, 295.1},
        RangeCase{"FuelRate", [](const VehicleState& s) { return s.fuelRateGph; }, 0, 849.93},
        RangeCase{"Accelerator", [](const VehicleState& s) { return s.acceleratorPct; }, 0, 100},
        RangeCase{"EngineLoad", [](const VehicleState& s) { return s.engineLoadPct; }, 0, 125},
        RangeCase{"InletAir", [](const VehicleState& s) { return s.inletAirTempF; }, -40, 410},
        RangeCase{"EngineHours", [](const VehicleState& s) { return s.engineHours; }, 0, 999999.9}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelfTestStep, DrawZeroHitsTheClearedTemperaturesExactly) {
  VehicleState state;
  ApplySelfTestDraw(state, 0);
  EXPECT_EQ(state.coolantTempF, -40.0f);
  EXPECT_EQ(state.inletAirTempF, -40.0f);
  EXPECT_EQ(state.transOilTempF, -459.4f);
}

TEST(SelfTestStep, TogglesEveryIndicatorFlagAndLeavesTheMeasuredVoltsAndTrip) {
  VehicleState state;
  state.engineRedLamp = 1;  // flags that were on start from that state
  state.cruiseActive = 1;
  state.canVolts = 27.5f;
  state.adcVolts = 13.25f;
  state.tripMiles = 4.5f;
  int32_t VehicleState::*flags[] = {&VehicleState::engineRedLamp, &VehicleState::engineAmberLamp,
                                    &VehicleState::transRedLamp,  &VehicleState::transAmberLamp,
                                    &VehicleState::brakeRedLamp,  &VehicleState::brakeAmberLamp,
                                    &VehicleState::waterInFuel,   &VehicleState::cruiseActive};
  const VehicleState before = state;
  for (int step = 1; step <= 2; ++step) {
    ApplySelfTestDraw(state, 1234);
    for (auto flag : flags) {
      const int32_t expected = step == 1 ? 1 - before.*flag : before.*flag;
      EXPECT_EQ(state.*flag, expected) << "step " << step;
    }
  }
  EXPECT_EQ(state.canVolts, 27.5f);
  EXPECT_EQ(state.adcVolts, 13.25f);
  EXPECT_EQ(state.tripMiles, 4.5f);
}

TEST(ToggleSelfTest, SwitchingOnChangesNothingElse) {
  SelfTestFixture f;
  f.state.vehicleSpeedMph = 50;
  f.state.adcVolts = 12;
  f.selfTest.ToggleSelfTest();
  EXPECT_EQ(f.state.selfTest, 1);
  EXPECT_EQ(f.state.vehicleSpeedMph, 50);
  EXPECT_EQ(f.state.adcVolts, 12);
  EXPECT_TRUE(f.serial.log().empty());
}

TEST(ToggleSelfTest, SwitchingOffClearsAndAsksForEngineHours) {
  for (int32_t portOpen : {1, 0}) {
    SelfTestFixture f;
    f.state.portOpen = portOpen;
    f.selfTest.ToggleSelfTest();
    f.selfTest.RunSelfTestStep();
    f.state.adcVolts = 12;
    f.state.tripMiles = 3.5f;
    f.state.waterInFuel = 1;

    f.selfTest.ToggleSelfTest();

    EXPECT_EQ(f.state.selfTest, 0);
    EXPECT_EQ(f.state.waterInFuel, 0);
    EXPECT_EQ(f.state.vehicleSpeedMph, 0);
    EXPECT_EQ(f.state.coolantTempF, -40.0f);
    EXPECT_EQ(f.state.cruiseActive, 0);
    EXPECT_EQ(f.state.adcVolts, 0);
    EXPECT_EQ(f.state.tripMiles, 3.5f);
    EXPECT_EQ(TransmittedText(f.serial), portOpen ? "AT EH\r\n" : "") << "portOpen " << portOpen;
  }
}

}  // namespace
}  // namespace dashvell
