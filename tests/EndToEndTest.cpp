// The whole program against dashvell-gateway on a pseudo-terminal: what the
// instruments show, the link loss and its return, the operator's Disconnect
// and Connect, and a gateway unplugged and plugged in again.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/E2eHarness.h"

namespace dashvell::e2e {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(EndToEnd, InstrumentsShowTheDriveAndLampsFlash) {
  Rig rig;
  auto gateway = rig.MakeGateway(kCruise);
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  CDashDlg& dlg = rig.OpenWindow();

  ASSERT_TRUE(PumpUntil([&] { return !gateway->ReceivedLines().empty(); }, 3));
  const std::string first = gateway->ReceivedLines().front();
  EXPECT_TRUE(first.ends_with(" AT ST1")) << first;

  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4)) << gateway->Stderr();
  // The readouts follow the decoded record at once.
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1018) > 0 && rig.Display(1026) > 100; }, 3));
  EXPECT_NEAR(rig.Display(1021), 1460, 1);
  EXPECT_NEAR(rig.Display(1021), double(dlg.state().engineSpeedKrpm) * 1000, 0.01);
  EXPECT_NEAR(rig.Display(1018), 62, 1);
  EXPECT_NEAR(rig.Display(1018), double(dlg.state().vehicleSpeedMph), 1e-4);
  EXPECT_NEAR(rig.Display(1026), 214, 2);

  // The pointers ease onto the same values within about a second.
  EXPECT_TRUE(PumpUntil(
      [&] { return std::abs(rig.Pointer(1004) - double(dlg.state().engineSpeedKrpm)) < 1e-3; }, 3))
      << rig.Pointer(1004);
  EXPECT_TRUE(PumpUntil(
      [&] { return std::abs(rig.Pointer(1005) - double(dlg.state().vehicleSpeedMph)) < 1e-2; }, 3))
      << rig.Pointer(1005);

  // Cruise is steady; the active amber lamp blinks at half a second a phase.
  ASSERT_EQ(dlg.state().engineAmberLamp, 1);
  EXPECT_TRUE(rig.Lit(1029));
  int toggles = 0;
  bool last = rig.Lit(1032);
  PumpUntil(
      [&] {
        if (rig.Lit(1032) != last) {
          last = !last;
          ++toggles;
        }
        EXPECT_TRUE(rig.Lit(1029));
        return toggles >= 3;
      },
      3);
  EXPECT_GE(toggles, 3);
  EXPECT_FALSE(rig.Lit(1031)) << "the engine's red lamp is off in this drive";
  EXPECT_TRUE(rig.boxes().empty());
}

TEST(EndToEnd, LinkLossClearsValuesRepeatsStreamStartAndReturns) {
  Rig rig;
  auto gateway = rig.MakeGateway(With(kCruise, {"--silent-after", "3", "--silence-for", "4"}));
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  CDashDlg& dlg = rig.OpenWindow();
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4)) << gateway->Stderr();

  ASSERT_TRUE(PumpUntil([&] { return Contains(gateway->Stderr(), "link lost"); }, 6));
  const auto lost = Clock::now();
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) == 0 && rig.Display(1018) == 0; }, 4));
  const double cleared = SecondsSince(lost);
  std::printf("values cleared %.2f s after the gateway fell silent\n", cleared);
  // One to two seconds by the once-a-second watchdog, plus the next refresh
  // pass and the polling of the gateway's output.
  EXPECT_LT(cleared, 2.4);
  EXPECT_EQ(dlg.state().engineSpeedKrpm, 0.0f);
  EXPECT_EQ(dlg.state().linkLost, 1);

  ASSERT_TRUE(PumpUntil([&] { return Contains(gateway->Stderr(), "link back"); }, 8));
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 3));
  EXPECT_NEAR(rig.Display(1021), 1460, 1);
  EXPECT_TRUE(PumpUntil([&] { return dlg.state().linkLost == 0; }, 2));

  // The first "AT ST1" opened the stream; the silence drew one a second.
  const std::vector<double> starts = gateway->StreamStartTimes();
  ASSERT_GE(starts.size(), 4u);
  for (size_t i = 2; i < starts.size(); ++i) {
    const double gap = starts[i] - starts[i - 1];
    EXPECT_GT(gap, 0.6) << i;
    EXPECT_LT(gap, 1.6) << i;
  }
  EXPECT_TRUE(rig.boxes().empty());
}

TEST(EndToEnd, DisconnectThenConnect) {
  Rig rig;
  auto gateway = rig.MakeGateway(kCruise);
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  CDashDlg& dlg = rig.OpenWindow();
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4)) << gateway->Stderr();
  EXPECT_FALSE(rig.Enabled(1042));
  EXPECT_TRUE(rig.Enabled(1043));

  rig.Click(1043);
  EXPECT_EQ(dlg.state().portOpen, 0);
  EXPECT_TRUE(rig.Enabled(1042));
  EXPECT_FALSE(rig.Enabled(1043));
  const size_t linesAtDisconnect = gateway->ReceivedLines().size();
  PumpFor(2.2);
  EXPECT_EQ(rig.Display(1021), 0);
  // A closed port sends nothing, not even the stream start of the watchdog.
  EXPECT_EQ(gateway->ReceivedLines().size(), linesAtDisconnect);

  const size_t startsBefore = gateway->StreamStartTimes().size();
  rig.Click(1042);
  EXPECT_EQ(dlg.state().portOpen, 1);
  EXPECT_FALSE(rig.Enabled(1042));
  EXPECT_TRUE(rig.Enabled(1043));
  EXPECT_TRUE(PumpUntil([&] { return gateway->StreamStartTimes().size() > startsBefore; }, 2));
  EXPECT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4));
  EXPECT_NEAR(rig.Display(1021), 1460, 1);
  EXPECT_TRUE(rig.boxes().empty());
}

TEST(EndToEnd, UnpluggedGatewayRecoversWithoutOperator) {
  Rig rig;
  auto gateway = rig.MakeGateway(kCruise);
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  CDashDlg& dlg = rig.OpenWindow();
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4)) << gateway->Stderr();

  gateway->Stop();  // the cable is pulled: the pty and its link go
  EXPECT_TRUE(PumpUntil([&] { return rig.Display(1021) == 0; }, 3));
  PumpFor(1);
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();  // plugged in again, same link

  EXPECT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 8)) << gateway->Stderr();
  EXPECT_NEAR(rig.Display(1021), 1460, 1);
  EXPECT_EQ(dlg.state().portOpen, 1);
  EXPECT_TRUE(rig.Enabled(1043));
  EXPECT_TRUE(rig.boxes().empty()) << rig.boxes().front();
}

}  // namespace
}  // namespace dashvell::e2e
