// The link end to end over a real pseudo-terminal linked as ports/COM1: the
// port opens, the gateway end reads the two start commands, and a record it
// writes is decoded into the vehicle state.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "core/GatewayRecord.h"
#include "core/ReceiveStream.h"
#include "link/GatewayLink.h"
#include "link/tests/LinkFakes.h"
#include "platform/MillisecondCounter.h"
#include "platform/ProgramPaths.h"
#include "platform/SerialControl.h"

namespace dashvell {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kDeadline = std::chrono::seconds(5);

// Runs the event loop until done() holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& done) {
  const auto end = Clock::now() + kDeadline;
  while (!done() && Clock::now() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ::usleep(1000);
  }
  return done();
}

class GatewayLinkOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master_, 0);
    ASSERT_EQ(::grantpt(master_), 0);
    ASSERT_EQ(::unlockpt(master_), 0);
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);

    char pattern[] = "/tmp/linkdash-pty-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::filesystem::create_directories(dir_ / "ports");
    std::filesystem::create_symlink(::ptsname(master_), dir_ / "ports" / "COM1");
    OverrideDataDirectory(dir_);
  }
  void TearDown() override {
    OverrideDataDirectory({});
    if (master_ >= 0) ::close(master_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string ReadAtGateway(std::size_t n) {
    std::string got;
    PumpUntil([&] {
      char buf[256];
      ssize_t k;
      while ((k = ::read(master_, buf, sizeof buf)) > 0) got.append(buf, std::size_t(k));
      return got.size() >= n;
    });
    return got;
  }

  int master_ = -1;
  std::filesystem::path dir_;
};

TEST_F(GatewayLinkOverPty, OpensSendsTheStartCommandsAndDecodesARecord) {
  VehicleState state;
  state.portName = "COM1";
  SerialControl control;
  CMSComm comm;
  comm.Attach(&control);
  GatewayCommands commands(state, comm, SystemMillisecondCounter());
  ReceiveStream stream(state);
  ReceiveStreamSink sink(stream);
  testing::RecordingLinkWindow window;
  GatewayLink link(state, comm, commands, window, sink);
  control.SetEventSink([&](DispId id) {
    if (id == CMSComm::kNotifyEvent) link.OnSerialEvent();
  });

  link.OpenGatewayPort();
  ASSERT_EQ(state.portOpen, 1);
  EXPECT_EQ(ReadAtGateway(15), "AT ST1\r\nAT EH\r\n");

  // EEC1 from the engine: SPN 190 engine speed, 0.125 rpm/bit, bytes 4 and 5.
  // 12000 x 0.125 = 1500 rpm.
  const GatewayRecord record =
      EncodeGatewayRecord(J1939Id(3, 61444, 0), {0xFF, 0xFF, 0xFF, 0xE0, 0x2E, 0xFF, 0xFF, 0xFF});
  ASSERT_EQ(::write(master_, record.data(), record.size()), ssize_t(record.size()));

  EXPECT_TRUE(PumpUntil([&] { return state.frameSeen == 1; }));
  EXPECT_FLOAT_EQ(state.engineSpeedKrpm, 1.5f);
  EXPECT_FALSE(window.calls.empty());
  EXPECT_EQ(window.calls.back(), "push");
}

}  // namespace
}  // namespace dashvell

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
