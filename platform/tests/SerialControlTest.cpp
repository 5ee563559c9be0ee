// The serial control over real pseudo-terminals: the slave is linked as
// ports/COM1 in a folder of the test's own, the test plays the gateway at the
// master.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QTest>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/ProgramPaths.h"
#include "platform/SerialControl.h"

namespace dashvell {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kDeadline = std::chrono::seconds(5);

ByteArray Bytes(const std::string& s) {
  return ByteArray(s.begin(), s.end());
}

// One pseudo-terminal; the master end is ours, raw and non-blocking.
class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    slave_ = ::ptsname(master_);
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~Pty() { Close(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool ok() const { return master_ >= 0 && !slave_.empty(); }
  int master() const { return master_; }
  const std::string& slave() const { return slave_; }
  void Close() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  void Write(const std::string& s) const {
    ASSERT_EQ(::write(master_, s.data(), s.size()), ssize_t(s.size()));
  }
  // What the control sent, up to n bytes or until the deadline.
  ByteArray Read(size_t n) const {
    ByteArray got;
    const auto end = Clock::now() + kDeadline;
    while (got.size() < n && Clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      uint8_t buf[256];
      ssize_t r = ::read(master_, buf, sizeof buf);
      if (r > 0) got.insert(got.end(), buf, buf + r);
    }
    return got;
  }

 private:
  int master_ = -1;
  std::string slave_;
};

class SerialControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dashvell-serial-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    std::filesystem::create_directories(dir_ / "ports");
    OverrideDataDirectory(dir_);
    control_.SetEventSink([this](DispId id) {
      ++eventCount_;
      ASSERT_EQ(id, SerialControl::kNotifyEvent);
      const int16_t code = control_.GetProperty(SerialControl::kEventCode).i2();
      codes_.push_back(code);
      if (code == SerialControl::kEventReceive) {
        ++receiveEvents_;
        const ByteArray got = control_.GetProperty(SerialControl::kReceivedData).bytes();
        received_.insert(received_.end(), got.begin(), got.end());
      }
    });
  }
  void TearDown() override {
    OverrideDataDirectory({});
    std::filesystem::remove_all(dir_);
  }

  std::filesystem::path Link() const { return dir_ / "ports" / "COM1"; }
  void LinkTo(const std::string& device) {
    std::filesystem::remove(Link());
    std::filesystem::create_symlink(device, Link());
  }

  void Put(DispId id, const Variant& v) { control_.PutProperty(id, v); }
  Variant Get(DispId id) { return control_.GetProperty(id); }
  bool IsOpen() { return Get(SerialControl::kOpenState).boolValue(); }

  // The order the link uses: open, then line settings and modes, then one
  // read thrown away.
  void OpenLikeTheLink(const std::string& settings = "115200,n,8,1") {
    Put(SerialControl::kPortNumber, Variant::I2(1));
    Put(SerialControl::kOpenState, Variant::Bool(true));
    Put(SerialControl::kLineSettings, Variant::BStr(settings));
    Put(SerialControl::kReceiveFormat, Variant::I4(1));
    Put(SerialControl::kReceiveThreshold, Variant::I2(1));
    Put(SerialControl::kReadLength, Variant::I2(0));
    Get(SerialControl::kReceivedData);
  }

  // Runs the event loop until the condition holds or the deadline passes.
  bool PumpUntil(const std::function<bool()>& done) {
    const auto end = Clock::now() + kDeadline;
    while (!done() && Clock::now() < end) QTest::qWait(5);
    return done();
  }
  void PumpFor(int ms) { QTest::qWait(ms); }

  std::filesystem::path dir_;
  SerialControl control_;
  int eventCount_ = 0;
  int receiveEvents_ = 0;
  std::vector<int16_t> codes_;
  ByteArray received_;
};

TEST_F(SerialControlTest, PutsTheParsedLineSettingsOnTheDevice) {
  // A pseudo-terminal keeps eight data bits without parity whatever it is
  // told (the refusal is tested below); speed and stop bits it takes.
  struct Row {
    const char* text;
    speed_t speed;
    bool twoStops;
  } rows[] = {
      {"115200,n,8,1", B115200, false},
      {"9600,n,8,2", B9600, true},
      {"57600,N,8,1", B57600, false},
      {"19200,n,8,2", B19200, true},
  };
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  for (const auto& row : rows) {
    OpenLikeTheLink(row.text);
    ASSERT_TRUE(IsOpen()) << row.text;
    EXPECT_EQ(Get(SerialControl::kLineSettings).bstr(), row.text);
    termios t{};
    ASSERT_EQ(::tcgetattr(pty.master(), &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), row.speed) << row.text;
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, row.twoStops) << row.text;
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8)) << row.text;
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u) << row.text;
    Put(SerialControl::kOpenState, Variant::Bool(false));
    EXPECT_FALSE(IsOpen());
  }
}

TEST_F(SerialControlTest, HandsOnReceivedBytesInOrderAndNeverTwice) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  OpenLikeTheLink();

  // One gateway record and the start of the next, in one go.
  std::string burst;
  for (int i = 0; i < 25; ++i) burst.push_back(char(0xF0 + i));
  pty.Write(burst);
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= burst.size(); }));
  EXPECT_EQ(received_, Bytes(burst));
  EXPECT_GE(receiveEvents_, 1);

  // Then in pieces, each on its own notification.
  const std::vector<std::string> pieces = {"AT", " RV", "\r\n", std::string(1, '\0'), "12.6V\r\n"};
  std::string all = burst;
  for (const auto& piece : pieces) {
    const int before = receiveEvents_;
    pty.Write(piece);
    all += piece;
    ASSERT_TRUE(PumpUntil([&] { return received_.size() >= all.size(); })) << piece;
    EXPECT_GT(receiveEvents_, before);
  }
  EXPECT_EQ(received_, Bytes(all));
  EXPECT_TRUE(Get(SerialControl::kReceivedData).bytes().empty());
}

TEST_F(SerialControlTest, ReadLengthBoundsOneReadAndTextFormatGivesAString) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  OpenLikeTheLink();
  Put(SerialControl::kReceiveThreshold, Variant::I2(0));  // no notifications: we read ourselves
  pty.Write("abcdefgh");
  PumpFor(100);
  EXPECT_EQ(eventCount_, 0);
  Put(SerialControl::kReadLength, Variant::I2(3));
  EXPECT_EQ(Get(SerialControl::kReceivedData).bytes(), Bytes("abc"));
  Put(SerialControl::kReceiveFormat, Variant::I4(0));
  EXPECT_EQ(Get(SerialControl::kReceivedData).bstr(), "def");
  Put(SerialControl::kReadLength, Variant::I2(0));
  EXPECT_EQ(Get(SerialControl::kReceivedData).bstr(), "gh");
}

TEST_F(SerialControlTest, BytesWaitingBeforeTheOpenAreNotHandedOn) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  pty.Write("stale bytes from before");
  OpenLikeTheLink();
  pty.Write("fresh");
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= 5; }));
  PumpFor(50);
  EXPECT_EQ(received_, Bytes("fresh"));
}

TEST_F(SerialControlTest, TransmitsBytesInOrderWithoutWaitingForTheEventLoop) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  OpenLikeTheLink();
  // The paced command writer: one byte per write and no event loop between.
  const std::string command = "AT ST1\r\n";
  for (char c : command) {
    Put(SerialControl::kTransmitData, Variant::Bytes({uint8_t(c)}));
  }
  EXPECT_EQ(pty.Read(command.size()), Bytes(command));
  ByteArray block(300);
  for (size_t i = 0; i < block.size(); ++i) block[i] = uint8_t(i * 7);
  Put(SerialControl::kTransmitData, Variant::Bytes(block));
  Put(SerialControl::kTransmitData, Variant::Bytes({}));
  EXPECT_EQ(pty.Read(block.size()), block);
}

struct FailureRow {
  const char* name;
  // Prepares ports/ (and perhaps the device) and returns the port to open.
  std::function<int(const std::filesystem::path& ports, Pty&)> setUp;
  std::vector<std::string> mentions;
};

class SerialControlFailure : public SerialControlTest,
                             public ::testing::WithParamInterface<FailureRow> {};

TEST_P(SerialControlFailure, ThrowsOneSentenceAndStaysClosed) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const int port = GetParam().setUp(dir_ / "ports", pty);
  if (port == 0) GTEST_SKIP() << "running as root: the device's rights do not apply";
  std::vector<std::string> mentions = GetParam().mentions;
  for (auto& m : mentions) {
    if (m.starts_with("<dir>")) m = dir_.string() + m.substr(5);
  }
  Put(SerialControl::kPortNumber, Variant::I2(int16_t(port)));
  try {
    Put(SerialControl::kOpenState, Variant::Bool(true));
    ADD_FAILURE() << "opened";
  } catch (const ControlError& e) {
    const std::string text = e.what();
    for (const auto& word : mentions) EXPECT_NE(text.find(word), std::string::npos) << text;
  }
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(eventCount_, 0);
}

const FailureRow kFailureRows[] = {
    {"DanglingLink",
     [](const std::filesystem::path& ports, Pty&) {
       std::filesystem::create_symlink(ports / "unplugged", ports / "COM1");
       return 1;
     },
     {"COM1", "<dir>/ports/COM1", "does not exist", "cable"}},
    {"NoLinkAndNoStandardPort",
     [](const std::filesystem::path&, Pty&) { return 200; },
     {"COM200", "/dev/ttyS199", "does not exist"}},
    {"DeviceRightsRefuse",
     [](const std::filesystem::path& ports, Pty& pty) {
       if (::geteuid() == 0) return 0;
       ::chmod(pty.slave().c_str(), 0);
       std::filesystem::create_symlink(pty.slave(), ports / "COM1");
       return 1;
     },
     {"COM1", "permission", "dialout"}},
};

INSTANTIATE_TEST_SUITE_P(Rows, SerialControlFailure, ::testing::ValuesIn(kFailureRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialControlTest, ASecondControlOnTheSamePortIsTurnedAwayAsBusy) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  OpenLikeTheLink();
  SerialControl other;
  other.PutProperty(SerialControl::kPortNumber, Variant::I2(1));
  try {
    other.PutProperty(SerialControl::kOpenState, Variant::Bool(true));
    ADD_FAILURE() << "opened twice";
  } catch (const ControlError& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("COM1"), std::string::npos) << text;
    EXPECT_NE(text.find("another program"), std::string::npos) << text;
  }
  EXPECT_FALSE(other.GetProperty(SerialControl::kOpenState).boolValue());
  EXPECT_TRUE(IsOpen());
}

TEST_F(SerialControlTest, MalformedLineSettingsAreRefusedAndTheOldOnesKept) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  OpenLikeTheLink();
  for (const char* bad : {"115200,x,8,1", "115200,n,8", "fast"}) {
    try {
      Put(SerialControl::kLineSettings, Variant::BStr(bad));
      ADD_FAILURE() << bad;
    } catch (const ControlError& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("\"") + bad + "\""), std::string::npos)
          << e.what();
    }
    EXPECT_TRUE(IsOpen()) << bad;
    EXPECT_EQ(Get(SerialControl::kLineSettings).bstr(), "115200,n,8,1");
  }
}

TEST_F(SerialControlTest, SettingsTheDeviceRefusesCloseThePort) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  OpenLikeTheLink();
  // A pseudo-terminal carries eight data bits without parity, nothing else.
  try {
    Put(SerialControl::kLineSettings, Variant::BStr("9600,e,7,1"));
    ADD_FAILURE() << "accepted";
  } catch (const ControlError& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("COM1"), std::string::npos) << text;
    EXPECT_NE(text.find("\"9600,e,7,1\""), std::string::npos) << text;
  }
  EXPECT_FALSE(IsOpen());
  EXPECT_EQ(Get(SerialControl::kLineSettings).bstr(), "115200,n,8,1");
}

TEST_F(SerialControlTest, MisuseIsAnErrorNotASilentSuccess) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  LinkTo(pty.slave());
  struct Row {
    const char* name;
    bool open;
    DispId id;
    Variant value;
  } rows[] = {
      {"send while closed", false, SerialControl::kTransmitData, Variant::Bytes({1})},
      {"send a number", true, SerialControl::kTransmitData, Variant::I2(1)},
      {"port number 0", false, SerialControl::kPortNumber, Variant::I2(0)},
      {"port number while open", true, SerialControl::kPortNumber, Variant::I2(2)},
      {"line settings as a number", false, SerialControl::kLineSettings, Variant::I4(115200)},
      {"receive format 2", false, SerialControl::kReceiveFormat, Variant::I4(2)},
      {"negative threshold", false, SerialControl::kReceiveThreshold, Variant::I2(-1)},
      {"unknown property", false, 99, Variant::I2(0)},
  };
  for (const auto& row : rows) {
    Put(SerialControl::kOpenState, Variant::Bool(row.open));
    EXPECT_THROW(Put(row.id, row.value), ControlError) << row.name;
  }
  EXPECT_THROW(Get(SerialControl::kTransmitData), ControlError);
  EXPECT_EQ(Get(SerialControl::kPortNumber).i2(), 1);
}

TEST_F(SerialControlTest, AVanishedDeviceIsReopenedWhenItReturns) {
  auto pty = std::make_unique<Pty>();
  ASSERT_TRUE(pty->ok());
  LinkTo(pty->slave());
  OpenLikeTheLink();
  pty->Write("before");
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= 6; }));

  // Unplugged: one lost-device event, still reported open, writes swallowed.
  pty.reset();
  ASSERT_TRUE(PumpUntil(
      [&] { return !codes_.empty() && codes_.back() == SerialControl::kEventDeviceLost; }));
  const int eventsAtLoss = eventCount_;
  EXPECT_TRUE(IsOpen());
  EXPECT_NO_THROW(Put(SerialControl::kTransmitData, Variant::Bytes(Bytes("AT EH\r\n"))));
  // Several reopen attempts' worth of absence raise nothing more.
  PumpFor(3 * SerialControl::kReopenIntervalMs);
  EXPECT_EQ(eventCount_, eventsAtLoss);
  EXPECT_TRUE(IsOpen());

  // Plugged back in at the same name.
  Pty back;
  ASSERT_TRUE(back.ok());
  LinkTo(back.slave());
  back.Write("after");
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= 11; }));
  PumpFor(50);
  EXPECT_EQ(received_, Bytes("beforeafter"));
  EXPECT_EQ(std::count(codes_.begin(), codes_.end(), SerialControl::kEventDeviceLost), 1);

  // And it talks both ways as before, with the same line settings.
  Put(SerialControl::kTransmitData, Variant::Bytes(Bytes("AT ST1\r\n")));
  EXPECT_EQ(back.Read(8), Bytes("AT ST1\r\n"));
  termios t{};
  ASSERT_EQ(::tcgetattr(back.master(), &t), 0);
  EXPECT_EQ(::cfgetospeed(&t), speed_t(B115200));
  back.Write("more");
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= 15; }));
  EXPECT_EQ(received_, Bytes("beforeaftermore"));
}

TEST_F(SerialControlTest, BytesTakenInBeforeTheLossAreStillHandedOnOnce) {
  auto pty = std::make_unique<Pty>();
  ASSERT_TRUE(pty->ok());
  LinkTo(pty->slave());
  OpenLikeTheLink();
  // No notifications: the bytes sit in the control when the device goes.
  Put(SerialControl::kReceiveThreshold, Variant::I2(0));
  pty->Write("owed");
  PumpFor(100);
  pty.reset();
  ASSERT_TRUE(PumpUntil([&] { return eventCount_ > 0; }));
  EXPECT_EQ(codes_, std::vector<int16_t>{SerialControl::kEventDeviceLost});
  Pty back;
  ASSERT_TRUE(back.ok());
  LinkTo(back.slave());
  back.Write("new");
  ByteArray got;
  ASSERT_TRUE(PumpUntil([&] {
    const ByteArray more = Get(SerialControl::kReceivedData).bytes();
    got.insert(got.end(), more.begin(), more.end());
    return got.size() >= 7;
  }));
  EXPECT_EQ(got, Bytes("owednew"));
}

TEST_F(SerialControlTest, AReusedTerminalNumberIsNotTakenForTheGatewayReturning) {
  // ports/COM1 -> <dir>/tty -> /dev/pts/N, so that the terminal behind the
  // unchanged COM1 link can be swapped, as the kernel does by reusing N.
  const auto alias = dir_ / "tty";
  auto pty = std::make_unique<Pty>();
  ASSERT_TRUE(pty->ok());
  std::filesystem::create_symlink(pty->slave(), alias);
  LinkTo(alias.string());
  OpenLikeTheLink();
  pty.reset();
  ASSERT_TRUE(PumpUntil([&] { return !codes_.empty(); }));

  Pty stranger;
  ASSERT_TRUE(stranger.ok());
  std::filesystem::remove(alias);
  std::filesystem::create_symlink(stranger.slave(), alias);
  stranger.Write("someone's shell");
  PumpFor(3 * SerialControl::kReopenIntervalMs);
  Put(SerialControl::kTransmitData, Variant::Bytes(Bytes("AT ST1\r\n")));
  EXPECT_TRUE(received_.empty());
  pollfd p{stranger.master(), POLLIN, 0};
  EXPECT_EQ(::poll(&p, 1, 50), 0) << "wrote into a stranger's terminal";

  // The gateway coming back makes the link anew.
  Pty back;
  ASSERT_TRUE(back.ok());
  LinkTo(back.slave());
  back.Write("gateway");
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= 7; }));
  EXPECT_EQ(received_, Bytes("gateway"));
}

TEST_F(SerialControlTest, ClosingWhileTheDeviceIsGoneStopsTheSearch) {
  auto pty = std::make_unique<Pty>();
  ASSERT_TRUE(pty->ok());
  LinkTo(pty->slave());
  OpenLikeTheLink();
  pty.reset();
  ASSERT_TRUE(PumpUntil([&] { return !codes_.empty(); }));
  Put(SerialControl::kOpenState, Variant::Bool(false));
  EXPECT_FALSE(IsOpen());
  Pty back;
  ASSERT_TRUE(back.ok());
  LinkTo(back.slave());
  back.Write("unwanted");
  PumpFor(2 * SerialControl::kReopenIntervalMs + 100);
  EXPECT_FALSE(IsOpen());
  EXPECT_TRUE(received_.empty());
  // The operator's next open finds it as usual.
  OpenLikeTheLink();
  back.Write("wanted");
  ASSERT_TRUE(PumpUntil([&] { return received_.size() >= 6; }));
  EXPECT_EQ(received_, Bytes("wanted"));
}

}  // namespace
}  // namespace dashvell
