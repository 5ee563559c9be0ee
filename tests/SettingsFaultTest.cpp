// The settings file under faults while the program runs: write-protected,
// deleted, replaced by a folder, grown to a megabyte, and a power loss in the
// middle of a save. No box, no crash, this run's settings kept, and a readable
// file at the next start wherever the folder allows one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <random>

#include "settings/SettingsFile.h"
#include "tests/E2eHarness.h"

namespace dashvell::e2e {
namespace {

std::string SavedText(int32_t voltFromCan) {
  VehicleState s{};
  s.portName = "COM1";
  s.voltFromCan = voltFromCan;
  CSettingsFile().SaveSettings(s);
  return ReadFile(CSettingsFile::Path());
}

struct SettingsFault {
  const char* name;
  std::function<void(Rig&)> before;  // ahead of the start
  std::function<void(Rig&)> during;  // while running, before the change
  int32_t voltFromCanNextStart;
};

class SettingsFaults : public ::testing::TestWithParam<SettingsFault> {};

TEST_P(SettingsFaults, NoBoxRunKeptNextStartReadable) {
  const SettingsFault& c = GetParam();
  Rig rig;
  auto gateway = rig.MakeGateway({"--hold", "cruise, engine amber lamp"});
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  if (c.before) c.before(rig);
  CDashDlg& dlg = rig.OpenWindow();
  if (c.during) c.during(rig);
  rig.Click(1044);  // the voltmeter follows J1939 from now on
  PumpFor(2.3);     // two housekeeping passes try to save
  EXPECT_EQ(dlg.state().voltFromCan, 1);
  EXPECT_TRUE(rig.boxes().empty()) << rig.boxes().front();
  EXPECT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 3)) << "the program stopped";

  rig.OpenWindow();  // the next start
  EXPECT_EQ(rig.dlg().state().voltFromCan, c.voltFromCanNextStart);
  EXPECT_EQ(rig.dlg().state().portName, "COM1");
  EXPECT_TRUE(rig.boxes().empty()) << rig.boxes().front();
}

const SettingsFault kFaults[] = {
    {"ReadOnly",
     [](Rig& r) {
       SavedText(0);
       chmod(r.settingsPath().c_str(), 0444);
     },
     nullptr, 0},
    {"DeletedWhileRunning", nullptr, [](Rig& r) { fs::remove(r.settingsPath()); }, 1},
    {"MadeADirectory", nullptr,
     [](Rig& r) {
       fs::remove(r.settingsPath());
       fs::create_directory(r.settingsPath());
     },
     0},
    {"OneMegabyteLine",
     [](Rig& r) { std::ofstream(r.settingsPath()) << std::string(1 << 20, 'x') << "\r\n"; },
     nullptr, 1},
};

INSTANTIATE_TEST_SUITE_P(E2e, SettingsFaults, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsPowerLoss, KilledDuringSavesLeavesOldOrNewFile) {
  Rig rig;
  const std::string adc = SavedText(0);
  const std::string can = SavedText(1);
  ASSERT_NE(adc, can);
  std::mt19937 random(7);
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  for (int round = 0; round < 20; ++round) {
    const pid_t pid = Spawn({self, "--save-loop", rig.dir().string()});
    ASSERT_GT(pid, 0);
    usleep(useconds_t(1000 + random() % 30000));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    const std::string now = ReadFile(rig.settingsPath());
    EXPECT_TRUE(now == adc || now == can) << "round " << round << ": " << now.size() << " bytes";
  }
}

}  // namespace
}  // namespace dashvell::e2e
