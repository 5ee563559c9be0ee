// Opening the gateway port, Connect, Disconnect, Change and the receive path,
// against the recording serial control and a recording window.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "link/GatewayLink.h"
#include "link/tests/LinkFakes.h"

namespace dashvell {
namespace {

using testing::FakeCounter;
using testing::FollowOpenState;
using testing::RecordingLinkWindow;
using testing::RecordingSink;
using testing::TransmittedText;
using Access = RecordingControl::Access;

struct LinkFixture {
  LinkFixture() {
    comm.Attach(&control);
    FollowOpenState(control);
    state.portName = "COM1";
  }
  // The control's log as "put 4 = 7", "get 20", ... without transmitted bytes.
  std::vector<std::string> PortOperations() const {
    std::vector<std::string> out;
    for (const auto& e : control.log()) {
      if (e.id == CMSComm::kTransmitData) continue;
      std::string s = (e.access == Access::Put ? "put " : "get ") + std::to_string(e.id);
      if (e.access == Access::Put) {
        switch (e.value.type()) {
          case VarType::I2:
            s += " = " + std::to_string(e.value.i2());
            break;
          case VarType::I4:
            s += " = " + std::to_string(e.value.i4());
            break;
          case VarType::Bool:
            s += e.value.boolValue() ? " = true" : " = false";
            break;
          case VarType::BStr:
            s += " = " + e.value.bstr();
            break;
          default:
            s += " = ?";
        }
      }
      out.push_back(s);
    }
    return out;
  }

  VehicleState state;
  RecordingControl control;
  CMSComm comm;
  FakeCounter counter;
  GatewayCommands commands{state, comm, counter};
  RecordingLinkWindow window;
  RecordingSink sink;
  GatewayLink link{state, comm, commands, window, sink};
};

const std::vector<std::string> kOpenAndConfigure{
    "put 20 = true", "put 23 = 115200,n,8,1", "put 29 = 1", "put 21 = 1", "put 14 = 0", "get 26"};

TEST(OpenGatewayPort, ConfiguresAfterOpeningThenStartsTheStream) {
  LinkFixture f;
  f.link.OpenGatewayPort();

  std::vector<std::string> expected{"get 20", "put 4 = 1", "get 20"};
  expected.insert(expected.end(), kOpenAndConfigure.begin(), kOpenAndConfigure.end());
  EXPECT_EQ(f.PortOperations(), expected);
  EXPECT_EQ(TransmittedText(f.control), "AT ST1\r\nAT EH\r\n");
  EXPECT_EQ(f.state.portOpen, 1);
  EXPECT_EQ(f.window.calls, (std::vector<std::string>{"disconnect on", "connect off"}));
}

TEST(OpenGatewayPort, ClosesAnOpenPortFirst) {
  LinkFixture f;
  FollowOpenState(f.control, /*initiallyOpen=*/true);
  f.link.OpenGatewayPort();
  const auto ops = f.PortOperations();
  ASSERT_GE(ops.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(ops.begin(), ops.begin() + 4),
            (std::vector<std::string>{"get 20", "put 20 = false", "put 4 = 1", "get 20"}));
  EXPECT_EQ(f.state.portOpen, 1);
}

TEST(OpenGatewayPort, BytesWaitingBeforeTheConfigurationNeverReachTheStream) {
  LinkFixture f;
  f.control.QueueGetResult(CMSComm::kReceivedData, Variant::Bytes({1, 2, 3}));
  f.link.OpenGatewayPort();
  EXPECT_TRUE(f.sink.received.empty());
}

struct PortNameCase {
  const char* name;
  std::string portName;
  int16_t port;
};

class PortNames : public ::testing::TestWithParam<PortNameCase> {};

TEST_P(PortNames, NameTheOpenedPortWithoutChangingTheName) {
  LinkFixture f;
  f.state.portName = GetParam().portName;
  f.link.OpenGatewayPort();
  const auto puts = f.control.Puts(CMSComm::kPortNumber);
  ASSERT_EQ(puts.size(), 1u);
  EXPECT_EQ(puts[0].value, Variant::I2(GetParam().port));
  EXPECT_EQ(f.state.portName, GetParam().portName);
  EXPECT_EQ(f.state.portOpen, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, PortNames,
    ::testing::Values(PortNameCase{"Com1", "COM1", 1}, PortNameCase{"Com7", "COM7", 7},
                      PortNameCase{"Com30", "COM30", 30}, PortNameCase{"Com31", "COM31", 1},
                      PortNameCase{"Com0", "COM0", 1}, PortNameCase{"LowerCase", "com7", 1},
                      PortNameCase{"NoNumber", "COMX", 1}, PortNameCase{"LeadingZero", "COM07", 1},
                      PortNameCase{"TrailingSpace", "COM7 ", 1}, PortNameCase{"Empty", "", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenGatewayPort, PortThatWillNotCloseShowsTheBoxAndSendsNothing) {
  LinkFixture f;
  f.control.OnPut(nullptr);  // the control keeps reporting open whatever it is told
  f.control.SetGetResult(CMSComm::kOpenState, Variant::Bool(true));
  f.state.portOpen = 1;
  f.state.settingsDirty = 0;

  f.link.OpenGatewayPort();

  EXPECT_EQ(f.PortOperations(),
            (std::vector<std::string>{"get 20", "put 20 = false", "put 4 = 1", "get 20"}));
  EXPECT_EQ(f.window.calls, std::vector<std::string>{"box: cannot open serial port"});
  EXPECT_TRUE(f.control.Puts(CMSComm::kTransmitData).empty());
  EXPECT_EQ(f.state.portOpen, 0);
  EXPECT_EQ(f.state.portName, "COM1");
  EXPECT_EQ(f.state.settingsDirty, 0);
}

TEST(OpenGatewayPort, CommandsFromPassesDuringTheBoxAreDropped) {
  LinkFixture f;
  f.control.OnPut(nullptr);
  f.control.SetGetResult(CMSComm::kOpenState, Variant::Bool(true));
  struct NestingWindow : RecordingLinkWindow {
    GatewayCommands* commands = nullptr;
    void ShowWarningBox(const std::string& text) override {
      RecordingLinkWindow::ShowWarningBox(text);
      commands->SendStreamStart();  // a housekeeping pass inside the modal box
    }
  } window;
  window.commands = &f.commands;
  GatewayLink link{f.state, f.comm, f.commands, window, f.sink};
  f.state.portOpen = 1;
  link.OpenGatewayPort();
  EXPECT_TRUE(f.control.Puts(CMSComm::kTransmitData).empty());
}

struct FailureCase {
  const char* name;
  DispId failingPut;
};

class ControlFailure : public ::testing::TestWithParam<FailureCase> {};

// The control's own failure (no such device, permission denied, busy) passes
// through to the window, which shows it; the link is left closed, the buttons
// as they were, and the next Connect tries again.
TEST_P(ControlFailure, LeavesPortClosedButtonsAloneAndNextConnectRetries) {
  LinkFixture f;
  bool failed = false;
  f.control.OnPut([&](DispId id, const Variant& v) {
    if (id == GetParam().failingPut && !failed) {
      failed = true;
      f.control.SetGetResult(CMSComm::kOpenState, Variant::Bool(false));
      throw ControlError("COM1 (/dev/ttyS0) does not exist.");
    }
    if (id == CMSComm::kOpenState) f.control.SetGetResult(CMSComm::kOpenState, v);
  });
  f.state.portOpen = 1;

  EXPECT_THROW(f.link.OnConnect(), ControlError);
  EXPECT_EQ(f.state.portOpen, 0);
  EXPECT_TRUE(f.window.calls.empty());
  EXPECT_TRUE(f.control.Puts(CMSComm::kTransmitData).empty());

  f.link.OnConnect();
  EXPECT_EQ(f.state.portOpen, 1);
  EXPECT_EQ(f.window.calls, (std::vector<std::string>{"disconnect on", "connect off"}));
  EXPECT_EQ(TransmittedText(f.control), "AT ST1\r\nAT EH\r\n");
}

INSTANTIATE_TEST_SUITE_P(Open, ControlFailure,
                         ::testing::Values(FailureCase{"PortNumber", CMSComm::kPortNumber},
                                           FailureCase{"OpenState", CMSComm::kOpenState},
                                           FailureCase{"LineSettings", CMSComm::kLineSettings},
                                           FailureCase{"ReadLength", CMSComm::kReadLength}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OnDisconnect, ClearsValuesAndRepliesButKeepsTripAndVoltmeter) {
  LinkFixture f;
  f.link.OpenGatewayPort();
  f.window.calls.clear();
  f.control.ClearLog();
  f.state.vehicleSpeedMph = 55;
  f.state.coolantTempF = 190;
  f.state.engineRedLamp = 1;
  f.state.frameSeen = 1;
  f.state.adcVolts = 13.5f;
  f.state.adcReplySeen = 1;
  f.state.adcReplyCount = 2;
  f.state.tripMiles = 12.5f;
  f.state.voltmeterVolts = 13.5f;

  f.link.OnDisconnect();

  EXPECT_EQ(f.PortOperations(), (std::vector<std::string>{"get 20", "put 20 = false"}));
  EXPECT_EQ(f.state.portOpen, 0);
  EXPECT_EQ(f.state.vehicleSpeedMph, 0);
  EXPECT_EQ(f.state.coolantTempF, -40.0f);
  EXPECT_EQ(f.state.engineRedLamp, 0);
  EXPECT_EQ(f.state.frameSeen, 0);
  EXPECT_EQ(f.state.adcVolts, 0);
  EXPECT_EQ(f.state.adcReplySeen, 0);
  EXPECT_EQ(f.state.adcReplyCount, 0);
  EXPECT_EQ(f.state.tripMiles, 12.5f);
  EXPECT_EQ(f.state.voltmeterVolts, 13.5f);
  EXPECT_EQ(f.window.calls, (std::vector<std::string>{"disconnect off", "connect on"}));
  // Nothing goes out afterwards.
  f.commands.SendStreamStart();
  EXPECT_TRUE(f.control.Puts(CMSComm::kTransmitData).empty());
}

TEST(OnDisconnect, LeavesAClosedControlAlone) {
  LinkFixture f;
  f.link.OnDisconnect();
  EXPECT_EQ(f.PortOperations(), std::vector<std::string>{"get 20"});
}

TEST(OnChangePort, CancelChangesNothing) {
  LinkFixture f;
  f.link.OpenGatewayPort();
  f.control.ClearLog();
  f.window.calls.clear();

  f.link.OnChangePort();

  EXPECT_EQ(f.window.calls, std::vector<std::string>{"dialog: COM1"});
  EXPECT_TRUE(f.control.log().empty());
  EXPECT_EQ(f.state.portName, "COM1");
  EXPECT_EQ(f.state.settingsDirty, 0);
  EXPECT_EQ(f.state.portOpen, 1);
}

struct ChangeCase {
  const char* name;
  std::string answer;
  int16_t port;
};

class ChangeOk : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(ChangeOk, ReopensResendsAndMarksTheSettings) {
  LinkFixture f;
  f.link.OpenGatewayPort();
  f.control.ClearLog();
  f.window.calls.clear();
  f.state.vehicleSpeedMph = 40;
  f.state.adcVolts = 12;
  f.window.dialogAnswer = GetParam().answer;

  f.link.OnChangePort();

  EXPECT_EQ(f.state.portName, GetParam().answer);
  EXPECT_EQ(f.state.settingsDirty, 1);
  std::vector<std::string> expected{"get 20", "put 20 = false",
                                    "put 4 = " + std::to_string(GetParam().port), "get 20"};
  expected.insert(expected.end(), kOpenAndConfigure.begin(), kOpenAndConfigure.end());
  EXPECT_EQ(f.PortOperations(), expected);
  EXPECT_EQ(TransmittedText(f.control), "AT ST1\r\nAT EH\r\n");
  EXPECT_EQ(f.window.calls,
            (std::vector<std::string>{"dialog: COM1", "disconnect off", "connect on",
                                      "disconnect on", "connect off"}));
  // Change, unlike Disconnect, keeps the values.
  EXPECT_EQ(f.state.vehicleSpeedMph, 40);
  EXPECT_EQ(f.state.adcVolts, 12);
}

INSTANTIATE_TEST_SUITE_P(Dialog, ChangeOk,
                         ::testing::Values(ChangeCase{"SamePort", "COM1", 1},
                                           ChangeCase{"OtherPort", "COM12", 12},
                                           ChangeCase{"TypedLowerCase", "com5", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OnChangePort, FailedReopenEndsClosed) {
  LinkFixture f;
  f.link.OpenGatewayPort();
  f.window.calls.clear();
  f.window.dialogAnswer = "COM2";
  f.control.OnPut([&f](DispId id, const Variant& v) {
    if (id != CMSComm::kOpenState) return;
    if (v.boolValue()) throw ControlError("COM2 is busy.");
    f.control.SetGetResult(CMSComm::kOpenState, v);
  });
  EXPECT_THROW(f.link.OnChangePort(), ControlError);
  EXPECT_EQ(f.state.portOpen, 0);
  EXPECT_EQ(f.window.calls,
            (std::vector<std::string>{"dialog: COM1", "disconnect off", "connect on"}));
}

struct EventCase {
  const char* name;
  int16_t eventCode;
  Variant received;
  std::size_t handedOn;
};

class SerialEvent : public ::testing::TestWithParam<EventCase> {};

TEST_P(SerialEvent, HandsOnReceivedBytesAndAlwaysPushesTheWindowData) {
  LinkFixture f;
  f.control.SetGetResult(CMSComm::kEventCode, Variant::I2(GetParam().eventCode));
  f.control.SetGetResult(CMSComm::kReceivedData, GetParam().received);

  f.link.OnSerialEvent();

  EXPECT_EQ(f.sink.received.size(), GetParam().handedOn);
  EXPECT_EQ(f.window.calls, std::vector<std::string>{"push"});
  if (GetParam().eventCode != CMSComm::kEventReceive) {
    for (const auto& e : f.control.log()) EXPECT_NE(e.id, CMSComm::kReceivedData);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Events, SerialEvent,
    ::testing::Values(EventCase{"Received", 2, Variant::Bytes({7, 8, 9}), 3},
                      EventCase{"OtherCodeReadsNothing", 1, Variant::Bytes({7, 8, 9}), 0},
                      EventCase{"LostDeviceCode", 1008, Variant::Bytes({7}), 0},
                      EventCase{"NoArray", 2, Variant(), 0},
                      EventCase{"WrongType", 2, Variant::BStr("AT"), 0},
                      EventCase{"EmptyArray", 2, Variant::Bytes({}), 0}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<uint8_t> Sequence(std::size_t n) {
  std::vector<uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = uint8_t(i * 7 + i / 256);
  return bytes;
}

struct ReadCase {
  const char* name;
  std::size_t bytes;
};

class ReadSize : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadSize, EveryByteReachesTheStreamInOrder) {
  LinkFixture f;
  const auto bytes = Sequence(GetParam().bytes);
  f.control.SetGetResult(CMSComm::kEventCode, Variant::I2(2));
  f.control.SetGetResult(CMSComm::kReceivedData, Variant::Bytes(bytes));
  f.link.OnSerialEvent();
  EXPECT_EQ(f.sink.received, bytes);
  for (std::size_t chunk : f.sink.chunks) EXPECT_LE(chunk, kReceiveBufferSize);
}

INSTANTIATE_TEST_SUITE_P(Reads, ReadSize,
                         ::testing::Values(ReadCase{"RecordAndAHalf", 25},
                                           ReadCase{"ExactlyOneBuffer", 4096},
                                           ReadCase{"OneMoreThanBuffer", 4097},
                                           ReadCase{"TenThousand", 10000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dashvell
