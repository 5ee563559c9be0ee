// Faults of the link, end to end: a gateway that vanishes in the middle of a
// record, line noise at full line rate, and ports that cannot be opened. Each
// case checks what the operator sees and what the program keeps.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLineEdit>
#include <cstdlib>
#include <cstring>

#include "settings/SettingsFile.h"
#include "tests/E2eHarness.h"

namespace dashvell::e2e {
namespace {

// A pseudo-terminal the test drives itself, linked where the gateway's would
// be, for byte-exact cuts the gateway program cannot make.
class OwnPty {
 public:
  explicit OwnPty(const fs::path& link) : link_(link) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    const fs::path temp = link.string() + ".own";
    fs::remove(temp);
    if (symlink(ptsname(master_), temp.c_str()) != 0) return;
    ok_ = rename(temp.c_str(), link.c_str()) == 0;
  }
  ~OwnPty() { Vanish(); }
  bool ok() const { return ok_; }

  // What the program sent so far.
  std::string Received() {
    char buf[256];
    for (;;) {
      ssize_t n = read(master_, buf, sizeof buf);
      if (n <= 0) break;
      received_.append(buf, size_t(n));
    }
    return received_;
  }
  bool Write(const std::string& bytes) {
    return ::write(master_, bytes.data(), bytes.size()) == ssize_t(bytes.size());
  }
  // The device goes away: the pty closes and its link is removed.
  void Vanish() {
    if (master_ < 0) return;
    close(master_);
    master_ = -1;
    fs::remove(link_);
  }

 private:
  fs::path link_;
  int master_ = -1;
  bool ok_ = false;
  std::string received_;
};

TEST(Faults, GatewayVanishesMidRecordAndReturns) {
  Rig rig;
  // The drive's own bytes, for the gateway that dies half-way through one.
  const fs::path capture = rig.dir() / "cruise.bin";
  ASSERT_EQ(WaitExit(Spawn(
                With({GatewayProgram(), "--write", capture.string(), "--duration", "1"}, kCruise),
                rig.dir() / "capture.txt")),
            0);
  const std::string records = ReadFile(capture);
  ASSERT_GE(records.size(), 50u * 20 + 11);

  auto gateway = rig.MakeGateway(kCruise);
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  CDashDlg& dlg = rig.OpenWindow();
  ASSERT_TRUE(PumpUntil([&] { return dlg.state().tripMiles > 0; }, 5)) << gateway->Stderr();
  gateway->Stop(true);  // killed without a word; its link is left dangling

  OwnPty pty(rig.portLink());
  ASSERT_TRUE(pty.ok());
  ASSERT_TRUE(PumpUntil([&] { return pty.Received().find("AT ST1") != std::string::npos; }, 6))
      << "the program never asked the new device for its stream";
  // Whole records and then the first 11 bytes of the next one.
  ASSERT_TRUE(pty.Write(records.substr(0, 50 * 20 + 11)));
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 3));
  const float tripBefore = dlg.state().tripMiles;
  ASSERT_GT(tripBefore, 0.0f);
  pty.Vanish();

  const auto gone = Clock::now();
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) == 0 && rig.Display(1018) == 0; }, 4));
  const double cleared = SecondsSince(gone);
  std::printf("values cleared %.2f s after the device vanished mid-record\n", cleared);
  EXPECT_LT(cleared, 2.3);  // the watchdog's one to two seconds and a refresh pass
  EXPECT_TRUE(rig.boxes().empty()) << rig.boxes().front();

  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  EXPECT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 8)) << gateway->Stderr();
  EXPECT_NEAR(rig.Display(1021), 1460, 1);
  EXPECT_GE(dlg.state().tripMiles, tripBefore);
  EXPECT_TRUE(PumpUntil([&] { return dlg.state().tripMiles > tripBefore; }, 3));
  EXPECT_GE(rig.Odometer(1019), double(tripBefore));
  EXPECT_TRUE(rig.boxes().empty()) << rig.boxes().front();
}

double NoiseSeconds() {
  const char* s = std::getenv("DASHVELL_E2E_NOISE_SECONDS");
  return s && std::atof(s) > 0 ? std::atof(s) : 12;
}

TEST(Faults, NoiseBetweenRecordsAtLineRate) {
  Rig rig;
  // 288 records of 20 bytes and 20 bytes of noise after each: 11520 bytes a
  // second, all that 115200 baud carries.
  auto gateway = rig.MakeGateway(With(kCruise, {"--rate", "288", "--noise", "20"}));
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  CDashDlg& dlg = rig.OpenWindow();
  ASSERT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4)) << gateway->Stderr();
  PumpFor(2);  // let the allocator and the caches settle
  const long rssBefore = ResidentKb();

  const double seconds = NoiseSeconds();
  int lostPasses = 0;
  int samples = 0;
  int onValue = 0;
  const auto start = Clock::now();
  double nextSample = 0;
  PumpUntil(
      [&] {
        const double t = SecondsSince(start);
        if (t >= nextSample) {
          nextSample += 0.5;
          ++samples;
          if (dlg.state().linkLost != 0) ++lostPasses;
          if (std::abs(rig.Display(1021) - 1460) < 1) ++onValue;
        }
        return t >= seconds;
      },
      seconds + 1);
  const long rssAfter = ResidentKb();
  gateway->Stop();
  const long sent = gateway->RecordsSent();
  const uint64_t decoded = dlg.stream().FramesDecoded();

  std::printf(
      "noise for %.0f s: %ld records sent, %llu windows decoded, %lld false windows "
      "(%.3f per record); resident memory %ld kB -> %ld kB\n",
      seconds, sent, static_cast<unsigned long long>(decoded),
      static_cast<long long>(decoded) - sent, sent > 0 ? (double(decoded) - sent) / sent : 0.0,
      rssBefore, rssAfter);
  ::testing::Test::RecordProperty("records_sent", std::to_string(sent));
  ::testing::Test::RecordProperty("windows_decoded", std::to_string(decoded));

  // Kept up: the link never counted as silent and the values stayed put.
  EXPECT_EQ(lostPasses, 0);
  EXPECT_GE(onValue, samples - 1) << samples;
  ASSERT_GT(sent, 0);
  EXPECT_GE(double(decoded), 0.95 * double(sent));
  // Flat memory: a margin for the allocator, far below what a leak per
  // record or per noise byte would add over thousands of them.
  EXPECT_LT(rssAfter - rssBefore, 4096) << rssBefore << " -> " << rssAfter;
  EXPECT_TRUE(rig.boxes().empty()) << rig.boxes().front();
}

TEST(Faults, MissingPortShowsOneBoxAndConnectRetries) {
  // Without a link in ports/ a port means /dev/ttyS<n-1>, which this machine
  // has for the low numbers; COM30 has neither.
  if (fs::exists("/dev/ttyS29")) GTEST_SKIP() << "/dev/ttyS29 exists here";
  Rig rig;
  {
    VehicleState chosen{};
    chosen.portName = "COM30";
    CSettingsFile().SaveSettings(chosen);
  }
  CDashDlg& dlg = rig.OpenWindow();
  ASSERT_EQ(rig.boxes().size(), 1u);
  EXPECT_NE(rig.boxes()[0].find("Cannot open COM30"), std::string::npos) << rig.boxes()[0];
  EXPECT_NE(rig.boxes()[0].find("does not exist"), std::string::npos) << rig.boxes()[0];
  EXPECT_EQ(dlg.state().portOpen, 0);
  EXPECT_TRUE(rig.Enabled(1042));

  // The program runs on: the passes push the port name and clock, quietly.
  auto* portBox = qobject_cast<QLineEdit*>(dlg.item(1025));
  EXPECT_TRUE(PumpUntil([&] { return portBox->text() == "COM30" && !dlg.clockText().empty(); }, 2));
  PumpFor(2.2);
  EXPECT_EQ(rig.boxes().size(), 1u);

  rig.Click(1042);
  EXPECT_EQ(rig.boxes().size(), 2u);
  EXPECT_TRUE(rig.Enabled(1042));

  // Once the gateway is there, Connect gets through.
  auto gateway = std::make_unique<Gateway>(rig.portLink(30), rig.dir(), kCruise);
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  rig.Click(1042);
  EXPECT_EQ(rig.boxes().size(), 2u);
  EXPECT_EQ(dlg.state().portOpen, 1);
  EXPECT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4));
}

// Root opens any device whatever its mode, so the case runs again as nobody.
constexpr const char* kUnprivilegedEnv = "DASHVELL_E2E_UNPRIVILEGED";

int RerunAsNobody(const std::string& filter) {
  std::string self = fs::read_symlink("/proc/self/exe").string();
  std::string filterArg = "--gtest_filter=" + filter;
  char* argv[] = {self.data(), filterArg.data(), nullptr};
  setenv(kUnprivilegedEnv, "1", 1);
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(126);
    execv(argv[0], argv);
    _exit(127);
  }
  unsetenv(kUnprivilegedEnv);
  return WaitExit(pid);
}

TEST(Faults, PortWithoutPermissionShowsOneBoxAndConnectRetries) {
  if (geteuid() == 0) {
    if (std::getenv(kUnprivilegedEnv)) GTEST_SKIP() << "could not drop root";
    const int status = RerunAsNobody("Faults.PortWithoutPermissionShowsOneBoxAndConnectRetries");
    if (status == 126) GTEST_SKIP() << "running as root and could not switch to nobody";
    EXPECT_EQ(status, 0) << "the case failed when run as nobody (see its output above)";
    return;
  }
  Rig rig;
  auto gateway = rig.MakeGateway(kCruise);
  ASSERT_TRUE(gateway->Start()) << gateway->Stderr();
  const fs::path device = fs::read_symlink(rig.portLink());
  ASSERT_EQ(chmod(device.c_str(), 0), 0) << std::strerror(errno);

  CDashDlg& dlg = rig.OpenWindow();
  ASSERT_EQ(rig.boxes().size(), 1u);
  EXPECT_NE(rig.boxes()[0].find("permission"), std::string::npos) << rig.boxes()[0];
  EXPECT_EQ(dlg.state().portOpen, 0);
  PumpFor(2.2);
  EXPECT_EQ(rig.boxes().size(), 1u);

  rig.Click(1042);
  EXPECT_EQ(rig.boxes().size(), 2u);

  ASSERT_EQ(chmod(device.c_str(), 0600), 0) << std::strerror(errno);
  rig.Click(1042);
  EXPECT_EQ(rig.boxes().size(), 2u);
  EXPECT_EQ(dlg.state().portOpen, 1);
  EXPECT_TRUE(PumpUntil([&] { return rig.Display(1021) > 0; }, 4));
}

}  // namespace
}  // namespace dashvell::e2e
