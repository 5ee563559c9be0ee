// The serial control's pure parts: line-settings parsing, which device a port
// number names, and the sentences an operator reads when a port fails.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/LineSettings.h"
#include "platform/SerialDevicePath.h"
#include "platform/SerialErrors.h"

namespace dashvell {
namespace {

struct ParseRow {
  const char* name;
  const char* text;
  std::optional<LineSettings> expected;
};

class LineSettingsParse : public ::testing::TestWithParam<ParseRow> {};

TEST_P(LineSettingsParse, GivesThePartsOrNothing) {
  EXPECT_EQ(ParseLineSettings(GetParam().text), GetParam().expected);
}

const ParseRow kParseRows[] = {
    {"GatewayDefault", "115200,n,8,1", LineSettings{115200, Parity::None, 8, StopBits::One}},
    {"EvenSevenTwo", "9600,e,7,2", LineSettings{9600, Parity::Even, 7, StopBits::Two}},
    {"UpperCaseOddFive", "300,O,5,1.5", LineSettings{300, Parity::Odd, 5, StopBits::OneAndHalf}},
    {"Mark", "19200,m,6,1", LineSettings{19200, Parity::Mark, 6, StopBits::One}},
    {"Space", "19200,S,8,2", LineSettings{19200, Parity::Space, 8, StopBits::Two}},
    {"Empty", "", std::nullopt},
    {"ThreeFields", "115200,n,8", std::nullopt},
    {"FiveFields", "115200,n,8,1,1", std::nullopt},
    {"TrailingComma", "115200,n,8,1,", std::nullopt},
    {"UnknownParity", "115200,x,8,1", std::nullopt},
    {"ParityWord", "115200,none,8,1", std::nullopt},
    {"ZeroBaud", "0,n,8,1", std::nullopt},
    {"NegativeBaud", "-9600,n,8,1", std::nullopt},
    {"BaudTooLarge", "99999999999,n,8,1", std::nullopt},
    {"BaudWithLetters", "115k,n,8,1", std::nullopt},
    {"FourDataBits", "115200,n,4,1", std::nullopt},
    {"NineDataBits", "115200,n,9,1", std::nullopt},
    {"ThreeStopBits", "115200,n,8,3", std::nullopt},
    {"BlankInside", "115200, n,8,1", std::nullopt},
    {"Semicolons", "115200;n;8;1", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Rows, LineSettingsParse, ::testing::ValuesIn(kParseRows),
                         [](const auto& info) { return std::string(info.param.name); });

class SerialDevicePathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/dashvell-path-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    std::filesystem::create_directories(dir_ / "ports");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(SerialDevicePathTest, PrefersAnyPortsEntryOverTheStandardPort) {
  std::filesystem::create_symlink("/dev/null", dir_ / "ports" / "COM1");
  std::filesystem::create_symlink(dir_ / "nowhere", dir_ / "ports" / "COM2");
  std::ofstream(dir_ / "ports" / "COM3") << "";
  struct Row {
    const char* name;
    int port;
    std::filesystem::path expected;
  } rows[] = {
      {"link", 1, dir_ / "ports" / "COM1"},
      {"dangling link: the device is unplugged, not elsewhere", 2, dir_ / "ports" / "COM2"},
      {"plain file", 3, dir_ / "ports" / "COM3"},
      {"nothing there: COM4 is ttyS3", 4, "/dev/ttyS3"},
      {"nothing there: COM30 is ttyS29", 30, "/dev/ttyS29"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SerialDevicePath(dir_, row.port), row.expected) << row.name;
  }
  EXPECT_EQ(PortLinkPath(dir_, 12), dir_ / "ports" / "COM12");
}

TEST(ClassifyOpenFailure, TellsPermissionFromBusyByTheDeviceRights) {
  struct Row {
    const char* name;
    QSerialPort::SerialPortError error;
    bool exists;
    bool accessible;
    SerialFailure expected;
  } rows[] = {
      {"not found", QSerialPort::DeviceNotFoundError, false, false, SerialFailure::DeviceMissing},
      {"gone though Qt says otherwise", QSerialPort::PermissionError, false, false,
       SerialFailure::DeviceMissing},
      {"rights refuse us", QSerialPort::PermissionError, true, false,
       SerialFailure::PermissionDenied},
      {"rights allow us: someone holds it", QSerialPort::PermissionError, true, true,
       SerialFailure::DeviceBusy},
      {"already open", QSerialPort::OpenError, true, true, SerialFailure::DeviceBusy},
      {"not a terminal", QSerialPort::UnsupportedOperationError, true, true, SerialFailure::Other},
      {"resource", QSerialPort::ResourceError, true, true, SerialFailure::Other},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ClassifyOpenFailure(row.error, row.exists, row.accessible), row.expected) << row.name;
  }
}

TEST(SerialFailureText, NamesPortDeviceAndWhatToDoInOneSentence) {
  const SerialFailureContext context{7, "/dev/ttyUSB0", "/opt/dash/ports/COM7", "115200,n,8,1.5",
                                     "Unsupported operation"};
  struct Row {
    const char* name;
    SerialFailure failure;
    std::vector<std::string> mentions;
  } rows[] = {
      {"missing",
       SerialFailure::DeviceMissing,
       {"COM7", "/dev/ttyUSB0", "does not exist", "cable", "/opt/dash/ports/COM7"}},
      {"permission", SerialFailure::PermissionDenied, {"COM7", "/dev/ttyUSB0", "dialout"}},
      {"busy", SerialFailure::DeviceBusy, {"COM7", "/dev/ttyUSB0", "another program", "close"}},
      {"settings",
       SerialFailure::SettingsRejected,
       {"COM7", "/dev/ttyUSB0", "\"115200,n,8,1.5\"", "Unsupported operation"}},
      {"other", SerialFailure::Other, {"COM7", "/dev/ttyUSB0", "Unsupported operation"}},
  };
  for (const auto& row : rows) {
    const std::string text = SerialFailureText(row.failure, context);
    for (const auto& word : row.mentions) {
      EXPECT_NE(text.find(word), std::string::npos) << row.name << ": " << text;
    }
    EXPECT_EQ(text.back(), '.') << row.name;
    EXPECT_EQ(text.find('\n'), std::string::npos) << row.name;
  }
  EXPECT_NE(MalformedLineSettingsText("115200,x,8,1").find("\"115200,x,8,1\""), std::string::npos);
}

}  // namespace
}  // namespace dashvell
