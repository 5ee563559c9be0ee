// The once-a-second pass: which commands go out and in which order, the link
// and voltage watchdogs, the trip odometer, the settings save and the clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dash/ClockText.h"
#include "dash/HousekeepingCycle.h"
#include "dash/tests/HousekeepingFixture.h"

namespace dashvell {
namespace {

using testing::HousekeepingFixture;
using Lines = std::vector<std::string>;

struct CommandCase {
  const char* name;
  int32_t portOpen, voltFromCan, frameSeen, selfTest, linkLost, hoursSeen;
  Lines sent;
  int32_t linkLostAfter;
};

class PassCommands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(PassCommands, GoOutInTheirOrderAndOnlyWhenDue) {
  const CommandCase& c = GetParam();
  HousekeepingFixture f;
  f.state.portOpen = c.portOpen;
  f.state.voltFromCan = c.voltFromCan;
  f.state.frameSeen = c.frameSeen;
  f.state.selfTest = c.selfTest;
  f.state.linkLost = c.linkLost;
  f.state.hoursSeen = c.hoursSeen;

  EXPECT_EQ(f.Pass(), c.sent);
  EXPECT_EQ(f.state.linkLost, c.linkLostAfter);
  EXPECT_EQ(f.state.frameSeen, 0);
  EXPECT_EQ(f.state.hoursSeen, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Housekeeping, PassCommands,
    ::testing::Values(
        // portOpen, voltFromCan, frameSeen, selfTest, linkLost, hoursSeen
        CommandCase{"SilentSecondAllThree", 1, 0, 0, 0, 0, 0, {"AT RV", "AT ST1", "AT EH"}, 1},
        CommandCase{"SilentSecondCanVolts", 1, 1, 0, 0, 0, 0, {"AT ST1", "AT EH"}, 1},
        CommandCase{"StillSilent", 1, 1, 0, 0, 1, 0, {"AT ST1", "AT EH"}, 1},
        CommandCase{"HealthyWithHours", 1, 1, 1, 0, 0, 1, {}, 0},
        CommandCase{"HealthyWithoutHours", 1, 1, 1, 0, 0, 0, {"AT EH"}, 0},
        CommandCase{"GatewayVoltsEverySecond", 1, 0, 1, 0, 0, 1, {"AT RV"}, 0},
        CommandCase{"LinkBackWithHours", 1, 1, 1, 0, 1, 1, {"AT EH"}, 0},
        CommandCase{"LinkBackWithoutHours", 1, 1, 1, 0, 1, 0, {"AT EH", "AT EH"}, 0},
        CommandCase{"SelfTestNeverRestartsStream", 1, 0, 0, 1, 0, 0, {"AT RV", "AT EH"}, 0},
        CommandCase{"SelfTestWhileLinkLost", 1, 1, 0, 1, 1, 0, {"AT EH", "AT EH"}, 0},
        CommandCase{"PortClosedSendsNothing", 0, 0, 0, 0, 0, 0, {}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkWatchdog, SilentSecondClearsTheValuesButSelfTestKeepsThem) {
  for (int32_t selfTest : {0, 1}) {
    HousekeepingFixture f;
    f.state.voltFromCan = 1;
    f.state.selfTest = selfTest;
    f.state.coolantTempF = 200;
    f.state.engineRedLamp = 1;
    f.state.adcVolts = 12.5f;
    f.state.adcReplySeen = 1;
    f.Pass();
    if (selfTest) {
      EXPECT_NE(f.state.coolantTempF, -40.0f) << "the generator's value stays";
    } else {
      EXPECT_EQ(f.state.coolantTempF, -40.0f);
      EXPECT_EQ(f.state.engineRedLamp, 0);
    }
    EXPECT_EQ(f.state.adcVolts, 12.5f) << "a lost link keeps the gateway's voltage";
  }
}

TEST(EngineHours, AnAnsweringGatewayIsAskedEveryOtherSecond) {
  HousekeepingFixture f;
  f.state.voltFromCan = 1;
  std::string asked;
  for (int pass = 1; pass <= 6; ++pass) {
    f.state.frameSeen = 1;
    const bool sent = !f.Pass().empty();
    asked += sent ? 'H' : '.';
    // The gateway answers within the second; the decoder then sets hoursSeen.
    if (sent) f.state.hoursSeen = 1;
  }
  EXPECT_EQ(asked, "H.H.H.");
}

struct ReplyCase {
  const char* name;
  int lastReplyBeforePass;  // replies arrive before passes 1 to this one
  int dropsAtPass;
};

class VoltageWatchdog : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(VoltageWatchdog, DropsTheGatewayVoltageTwoToFourSecondsAfterTheLastReply) {
  const ReplyCase& c = GetParam();
  HousekeepingFixture f;
  f.state.voltFromCan = 0;
  for (int pass = 1; pass <= 10; ++pass) {
    if (pass <= c.lastReplyBeforePass) {
      f.state.adcVolts = 12.5f;
      f.state.adcReplySeen = 1;
      f.state.adcReplyCount = 2;
    }
    f.state.frameSeen = 1;
    f.Pass();
    const bool dropped = pass >= c.dropsAtPass;
    EXPECT_EQ(f.state.adcVolts, dropped ? 0.0f : 12.5f) << "pass " << pass;
    EXPECT_EQ(f.state.adcReplyCount, dropped ? 0 : 2) << "pass " << pass;
    // The voltmeter takes the value one pass later: the source is applied
    // before the watchdog looks.
    EXPECT_EQ(f.state.voltmeterVolts, pass > c.dropsAtPass ? 0.0f : 12.5f) << "pass " << pass;
  }
}

INSTANTIATE_TEST_SUITE_P(Replies, VoltageWatchdog,
                         ::testing::Values(ReplyCase{"LastBeforeAnEvenPass", 2, 4},
                                           ReplyCase{"LastBeforeAnOddPass", 3, 6},
                                           ReplyCase{"NeverStopping", 10, 11}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VoltmeterSource, FollowsTheChosenSourceEveryPass) {
  for (int32_t fromCan : {0, 1}) {
    HousekeepingFixture f;
    f.state.voltFromCan = fromCan;
    f.state.canVolts = 27.5f;
    f.state.adcVolts = 13.25f;
    f.state.adcReplySeen = 1;
    f.state.frameSeen = 1;
    f.Pass();
    EXPECT_EQ(f.state.voltmeterVolts, fromCan ? 27.5f : 13.25f) << "voltFromCan " << fromCan;
  }
}

TEST(VoltmeterSource, SelfTestOverridesIt) {
  HousekeepingFixture f;
  f.state.voltFromCan = 1;
  f.state.canVolts = 27.5f;
  f.state.selfTest = 1;
  f.Pass();
  EXPECT_EQ(f.state.voltmeterVolts, float(24 * (41 / 32767.0) + 6));
}

struct TripCase {
  const char* name;
  std::vector<float> speeds;  // one per pass
  int resetBeforePass;        // 0: no reset
  float tripAfter;
};

class TripOdometer : public ::testing::TestWithParam<TripCase> {};

std::vector<float> Repeat(float v, int n, std::vector<float> tail = {}) {
  std::vector<float> out(n, v);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

TEST_P(TripOdometer, IntegratesTheTenSecondMeanSpeed) {
  const TripCase& c = GetParam();
  HousekeepingFixture f;
  f.state.voltFromCan = 1;
  for (std::size_t i = 0; i < c.speeds.size(); ++i) {
    if (int(i) + 1 == c.resetBeforePass) f.cycle.RequestTripReset();
    f.state.frameSeen = 1;
    f.state.vehicleSpeedMph = c.speeds[i];
    f.Pass();
  }
  EXPECT_FLOAT_EQ(f.state.tripMiles, c.tripAfter);
  EXPECT_EQ(f.state.tripResetRequest, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Trip, TripOdometer,
    ::testing::Values(
        // From rest nine samples are still 0: 3.6 mph for one second.
        TripCase{"FirstMovingPassAddsATenth", {36}, 0, 0.001f},
        TripCase{"TenSecondsAt36FromRest", Repeat(36, 10), 0, 0.055f},
        TripCase{"PassAtExactlyZeroAddsNothing", Repeat(36, 10, {0}), 0, 0.055f},
        TripCase{"SlowingStillAdds", Repeat(36, 10, {0.5f}), 0, 0.055f + 32.45f / 3600},
        // The history survives Reset: the first pass after it adds the full mean.
        TripCase{"ResetThenMoving", Repeat(36, 10, {36}), 11, 0.01f},
        TripCase{"ResetWhileStanding", Repeat(36, 10, {0}), 11, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TripOdometerLink, SilentLinkStopsTheTripButKeepsIt) {
  HousekeepingFixture f;
  f.state.voltFromCan = 1;
  for (int pass = 0; pass < 10; ++pass) {
    f.state.frameSeen = 1;
    f.state.vehicleSpeedMph = 36;
    f.Pass();
  }
  for (int pass = 0; pass < 3; ++pass) {
    f.state.vehicleSpeedMph = 36;  // frames stop: the pass clears it first
    f.Pass();
  }
  EXPECT_FLOAT_EQ(f.state.tripMiles, 0.055f);
}

struct SaveCase {
  const char* name;
  bool dirty;
  bool saveSucceeds;
  int savesInThreePasses;
};

class SettingsSave : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SettingsSave, HappensOnThePassAfterAChangeUntilItSucceeds) {
  HousekeepingFixture f;
  f.state.settingsDirty = GetParam().dirty;
  f.saveSucceeds = GetParam().saveSucceeds;
  f.state.voltFromCan = 1;
  f.Pass();
  EXPECT_EQ(f.saves, GetParam().dirty ? 1 : 0);
  f.Pass();
  f.Pass();
  EXPECT_EQ(f.saves, GetParam().savesInThreePasses);
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingsSave,
                         ::testing::Values(SaveCase{"Unchanged", false, true, 0},
                                           SaveCase{"ChangedOnce", true, true, 1},
                                           SaveCase{"WriteFailsKeepsAsking", true, false, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ClockCase {
  const char* name;
  TimeOfDay time;
  const char* text;
};

class Clock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(Clock, ShowsTheLocalTimeWithoutLeadingZeros) {
  EXPECT_EQ(FormatClockText(GetParam().time), GetParam().text);
  HousekeepingFixture f;
  f.clock.now = GetParam().time;
  f.Pass();
  EXPECT_EQ(f.window.clockText, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Times, Clock,
                         ::testing::Values(ClockCase{"Morning", {9, 5, 7}, "9:5:7"},
                                           ClockCase{"Midnight", {0, 0, 0}, "0:0:0"},
                                           ClockCase{"LastSecond", {23, 59, 59}, "23:59:59"},
                                           ClockCase{"HalfPast", {12, 30, 0}, "12:30:0"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SecondsCounter, RunsOneToFiftyNineThenZero) {
  HousekeepingFixture f;
  f.Pass();
  EXPECT_EQ(f.cycle.secondsCounter(), 1);
  for (int pass = 2; pass <= 59; ++pass) f.Pass();
  EXPECT_EQ(f.cycle.secondsCounter(), 59);
  f.Pass();
  EXPECT_EQ(f.cycle.secondsCounter(), 0);
  f.Pass();
  EXPECT_EQ(f.cycle.secondsCounter(), 1);
}

}  // namespace
}  // namespace dashvell
