// The dashvell-gateway program itself: a replayed log written to a capture
// decodes, through dashvell-decode, to the log's last values; the pty mode
// answers on a real pseudo-terminal and cleans up its link; bad input is
// refused with a clear message.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tools/gateway/tests/Receiver.h"

namespace dashvell {
namespace {

namespace fs = std::filesystem;

struct Shelled {
  int status = -1;
  std::string out;
};

Shelled Shell(const std::string& command) {
  Shelled r;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int s = pclose(p);
  r.status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  return r;
}

double JsonNumber(const std::string& json, const std::string& key) {
  size_t at = json.find("\"" + key + "\":");
  if (at == std::string::npos) return -99999;
  return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

class GatewayTool : public ::testing::Test {
 protected:
  fs::path dir =
      fs::temp_directory_path() / ("dashvell-gateway-test-" + std::to_string(getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  std::string Gateway() const { return DASHVELL_GATEWAY; }
};

TEST_F(GatewayTool, ReplayCaptureDecodesToTheLogsLastFrames) {
  const fs::path log = dir / "truck.log", cap = dir / "cap.bin";
  std::ofstream(log) << "(1000.000000) can0 0CF00400#F07D7D803EFFFFFF\n"  // 2000 rpm
                        "(1000.010000) can0 7E8#0102\n"                   // 11-bit: skipped
                        "(1000.020000) can0 18FEF100#FF0032FDFFFFFFFF\n"  // cruise on
                        "not a candump line\n"
                        "(1000.040000) can0 0CF00400#F07D7D40380000FF\n"   // last: 1800 rpm
                        "(1000.060000) can0 18FEEE00#82FFFFFFFFFFFFFF\n"   // 90 C: 194 F
                        "(1000.080000) can0 18FECA03#10FFB1000001FFFF\n"   // trans red lamp
                        "(1000.100000) can0 18FEF100#FF0064FCFFFFFFFF\n";  // last: 100 km/h, off
  Shelled w = Shell(Gateway() + " --replay " + log.string() + " --write " + cap.string());
  ASSERT_EQ(w.status, 0) << w.out;
  EXPECT_NE(w.out.find("truck.log:4: "), std::string::npos) << w.out;
  EXPECT_NE(w.out.find("wrote 6 records"), std::string::npos) << w.out;
  EXPECT_EQ(fs::file_size(cap), 120u);

  Shelled d = Shell(std::string(DASHVELL_DECODE) + " " + cap.string());
  ASSERT_EQ(d.status, 0) << d.out;
  EXPECT_EQ(JsonNumber(d.out, "engineSpeedKrpm"), 1.8000000715255737) << d.out;
  EXPECT_NEAR(JsonNumber(d.out, "vehicleSpeedMph"), 62.137, 0.001) << d.out;
  EXPECT_EQ(JsonNumber(d.out, "cruiseActive"), 0) << d.out;
  EXPECT_EQ(JsonNumber(d.out, "coolantTempF"), 194) << d.out;
  EXPECT_EQ(JsonNumber(d.out, "transRedLamp"), 1) << d.out;
  EXPECT_EQ(JsonNumber(d.out, "frames"), 6) << d.out;
}

TEST_F(GatewayTool, ScenarioCaptureMovesTheDashboard) {
  const fs::path cap = dir / "drive.bin";
  Shelled w =
      Shell(Gateway() + " --write " + cap.string() + " --duration 70 --hold 'cruise control'");
  ASSERT_EQ(w.status, 0) << w.out;
  Shelled d = Shell(std::string(DASHVELL_DECODE) + " " + cap.string());
  EXPECT_NEAR(JsonNumber(d.out, "engineSpeedKrpm"), 1.45, 0.001) << d.out;
  EXPECT_NEAR(JsonNumber(d.out, "vehicleSpeedMph"), 62, 0.01) << d.out;
  EXPECT_EQ(JsonNumber(d.out, "cruiseActive"), 1) << d.out;
}

struct BadArgs {
  const char* name;
  const char* args;
  int status;
  const char* message;
};

class GatewayToolArgs : public GatewayTool, public ::testing::WithParamInterface<BadArgs> {};

TEST_P(GatewayToolArgs, AreRefused) {
  const BadArgs& c = GetParam();
  std::string args = c.args;
  for (size_t at; (at = args.find("DIR")) != std::string::npos;) args.replace(at, 3, dir.string());
  std::ofstream(dir / "plain-file") << "x";
  Shelled r = Shell("cd " + dir.string() + " && " + Gateway() + " " + args);
  EXPECT_EQ(r.status, c.status) << r.out;
  EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
  EXPECT_TRUE(fs::is_regular_file(dir / "plain-file")) << "a non-link is never replaced";
}

INSTANTIATE_TEST_SUITE_P(
    Table, GatewayToolArgs,
    ::testing::Values(
        BadArgs{"NoOutput", "", 2, "exactly one of"},
        BadArgs{"TwoOutputs", "--pty a --write b", 2, "exactly one of"},
        BadArgs{"RateAbove115200Baud", "--write x --rate 577", 2, "at most 576"},
        BadArgs{"RateNotANumber", "--write x --rate lots", 2, "--rate needs"},
        BadArgs{"UnknownPhase", "--write x --hold nowhere", 2, "no phase"},
        BadArgs{"UnknownOption", "--write x --fast", 2, "unknown argument"},
        BadArgs{"LoopWithoutReplay", "--write x --loop", 2, "belong to --replay"},
        BadArgs{"MissingLog", "--write x --replay DIR/none.log", 1, "cannot read the log"},
        BadArgs{"LinkIsAPlainFile", "--pty DIR/plain-file", 1, "is not a symbolic link"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GatewayTool, HelpDocumentsTheLayoutAndItsFigure) {
  Shelled r = Shell(Gateway() + " --help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Record layout"), std::string::npos);
  EXPECT_NE(r.out.find("this stream:                          0.00"), std::string::npos) << r.out;
}

// Reads what arrives within seconds.
std::string ReadFor(int fd, double seconds) {
  std::string got;
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10) > 0) {
      char buf[4096];
      ssize_t n = read(fd, buf, sizeof buf);
      if (n > 0) got.append(buf, size_t(n));
    }
  }
  return got;
}

void SendPaced(int fd, const std::string& line) {
  for (char c : line) {
    ASSERT_EQ(write(fd, &c, 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

TEST_F(GatewayTool, PtyStreamsAfterStreamStartAndRemovesItsLinkOnSignal) {
  const fs::path link = dir / "ports" / "COM1";
  // A stale link of an earlier run is replaced.
  fs::create_directories(link.parent_path());
  fs::create_symlink("/nonexistent", link);
  const pid_t child = fork();
  if (child == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    execl(DASHVELL_GATEWAY, DASHVELL_GATEWAY, "--pty", link.c_str(), nullptr);
    _exit(127);
  }
  int fd = -1;
  for (int i = 0; i < 200 && fd < 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (fs::read_symlink(link) != "/nonexistent") fd = open(link.c_str(), O_RDWR | O_NOCTTY);
  }
  ASSERT_GE(fd, 0) << "no pty appeared at " << link;

  EXPECT_EQ(ReadFor(fd, 0.3), "") << "nothing before AT ST1";
  SendPaced(fd, "AT ST1\r\n");
  std::string stream = ReadFor(fd, 1.0);
  SendPaced(fd, "AT RV\r\n");
  std::string reply = ReadFor(fd, 0.2);
  // Closing and reopening our end, as Disconnect and Connect do, loses nothing.
  close(fd);
  fd = open(link.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  std::string again = ReadFor(fd, 0.5);
  close(fd);

  testing::Receiver rx;
  rx.Feed({reinterpret_cast<const uint8_t*>(stream.data()), stream.size()});
  EXPECT_GT(rx.stream.FramesDecoded(), 60u);
  EXPECT_EQ(rx.stream.FramesDecoded() * 20, stream.size()) << "whole records only";
  EXPECT_NE(reply.find("AT DV="), std::string::npos);
  EXPECT_GT(again.size(), 20u * 30);

  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link))) << "the link goes with the gateway";
}

}  // namespace
}  // namespace dashvell
