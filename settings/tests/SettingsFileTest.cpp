// The settings file against real files in a folder of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/ProgramPaths.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFormat.h"

namespace dashvell {
namespace {

namespace fs = std::filesystem;

const std::string kComments =
    "//VLT=ADC: Voltmeter from device input\r\n"
    "//VLT=CAN: Voltmeter from J1939 input\r\n";
const std::string kDefault(kDefaultSettingsText);

std::string Written(const std::string& port, bool can) {
  return "COM=" + port + ";\r\n" + kComments + (can ? "VLT=CAN;\r\n" : "VLT=ADC;\r\n");
}

class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string dir = (fs::temp_directory_path() / "dashvell-settings-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    OverrideDataDirectory(dir_);
  }
  void TearDown() override {
    OverrideDataDirectory({});
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }

  fs::path File() const { return dir_ / "dvlj1939.ini"; }
  void Write(const std::string& bytes) const { std::ofstream(File(), std::ios::binary) << bytes; }
  std::optional<std::string> Read() const {
    std::ifstream in(File(), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  int EntriesInFolder() const {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++n;
    return n;
  }

  fs::path dir_;
  CSettingsFile settings_;
};

struct LoadCase {
  const char* name;
  std::optional<std::string> file;  // nullopt: no file at start-up
  std::string portName;
  int32_t voltFromCan;
  int32_t settingsDirty;
  std::string afterLoad;  // the file's bytes after LoadSettings
  std::string afterSave;  // ... and after a SaveSettings that follows it
};

const LoadCase kLoadCases[] = {
    {"NoFileCreatesDefault", std::nullopt, "COM1", 0, 0, kDefault, kDefault},
    {"EmptyFileFilled", "", "COM1", 0, 0, kDefault, kDefault},
    {"DefaultFileUnchanged", kDefault, "COM1", 0, 0, kDefault, kDefault},
    {"LowerCasePort", "com=5;\r\n", "COM5", 0, 0, "com=5;\r\n", Written("5", false)},
    {"PortWithoutSemicolonRepaired", "COM=12\r\n", "COM1", 0, 1, "COM=12\r\n", kDefault},
    {"PortEmptyBeforeSemicolonRepaired", "COM=;\r\n", "COM1", 0, 1, "COM=;\r\n", kDefault},
    {"PrefixIsASetOfCharacters", "COM=COM3;\r\n", "COM3", 0, 0, "COM=COM3;\r\n",
     Written("3", false)},
    {"PortOutsideListKept", "COM=99;\r\n", "COM99", 0, 0, "COM=99;\r\n", Written("99", false)},
    {"AfterSemicolonIgnored", "COM=5;junk\r\n", "COM5", 0, 0, "COM=5;junk\r\n",
     Written("5", false)},
    {"CommentWordIsAPortLine", "COMMENT\r\n", "COM1", 0, 1, "COMMENT\r\n", kDefault},
    {"VoltmeterLowerCaseNoSemicolon", "vlt=can\r\n", "COM1", 1, 0, "vlt=can\r\n",
     Written("1", true)},
    {"VoltmeterUnknownValueRepaired", "VLT=XYZ;\r\n", "COM1", 0, 1, "VLT=XYZ;\r\n", kDefault},
    {"LeadingBlankIgnored", " COM=3;\r\n", "COM1", 0, 0, " COM=3;\r\n", kDefault},
    {"LastLineWithoutLineEnd", "COM=4;\r\nVLT=CAN;", "COM4", 1, 0, "COM=4;\r\nVLT=CAN;",
     Written("4", true)},
    {"LineFeedOnlyLines", "COM=6;\nVLT=CAN;\n", "COM6", 1, 0, "COM=6;\nVLT=CAN;\n",
     Written("6", true)},
    {"OnlyCommentsAndBlanks", "; note\r\n\r\n// other\n\n", "COM1", 0, 0,
     "; note\r\n\r\n// other\n\n", kDefault},
    {"LaterLineWins", "COM=3;\r\nVLT=CAN;\r\nCOM=7;\r\nVLT=ADC;\r\n", "COM7", 0, 0,
     "COM=3;\r\nVLT=CAN;\r\nCOM=7;\r\nVLT=ADC;\r\n", Written("7", false)},
    {"BadPortLineResetsGoodOne", "COM=3;\r\nCOM=x\r\n", "COM1", 0, 1, "COM=3;\r\nCOM=x\r\n",
     kDefault},
    {"UnknownKeyIgnored", "BAUD=9600;\r\nCOM=2;\r\n", "COM2", 0, 0, "BAUD=9600;\r\nCOM=2;\r\n",
     Written("2", false)},
    {"ShortLineIgnored", "CO\r\n", "COM1", 0, 0, "CO\r\n", kDefault},
};

class SettingsLoad : public SettingsFolder, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SettingsLoad, ThenSave) {
  const LoadCase& c = GetParam();
  if (c.file) Write(*c.file);
  VehicleState state;
  state.voltFromCan = 1;  // whatever was there before is replaced by the file's
  state.portName = "stale";

  settings_.LoadSettings(state);
  EXPECT_EQ(state.portName, c.portName);
  EXPECT_EQ(state.voltFromCan, c.voltFromCan);
  EXPECT_EQ(state.settingsDirty, c.settingsDirty);
  EXPECT_EQ(Read(), c.afterLoad);

  state.settingsDirty = 1;
  settings_.SaveSettings(state);
  EXPECT_EQ(state.settingsDirty, 0);
  EXPECT_EQ(Read(), c.afterSave);
  EXPECT_EQ(EntriesInFolder(), 1) << "no temporary file may be left behind";
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsLoad, ::testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What the port dialog hands over is written as it stands and reads back
// upper-cased on the next start.
struct RoundTripCase {
  const char* name;
  std::string portName;
  std::string firstLine;
  std::string readBack;
};

const RoundTripCase kRoundTrips[] = {
    {"Com12", "COM12", "COM=12;\r\n", "COM12"},
    {"LowerCaseKept", "com5", "COM=com5;\r\n", "COM5"},
    {"WithoutPrefix", "7", "COM=7;\r\n", "COM7"},
    {"OutsideList", "COM31", "COM=31;\r\n", "COM31"},
};

class SettingsRoundTrip : public SettingsFolder,
                          public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(SettingsRoundTrip, SaveThenLoad) {
  const RoundTripCase& c = GetParam();
  VehicleState state;
  state.portName = c.portName;
  state.voltFromCan = 1;
  state.settingsDirty = 1;
  settings_.SaveSettings(state);
  EXPECT_EQ(Read(), c.firstLine + kComments + "VLT=CAN;\r\n");

  VehicleState next;
  settings_.LoadSettings(next);
  EXPECT_EQ(next.portName, c.readBack);
  EXPECT_EQ(next.voltFromCan, 1);
  EXPECT_EQ(next.settingsDirty, 0);
}

INSTANTIATE_TEST_SUITE_P(Ports, SettingsRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

// A rewrite that only overwrote the front of a longer file would leave the old
// tail, whose voltmeter line then reads back over the operator's new choice.
TEST_F(SettingsFolder, ShorterRewriteLeavesNoOldBytes) {
  Write(Written("12", true) + "; kept by hand\r\nVLT=CAN;\r\n");
  VehicleState state;
  settings_.LoadSettings(state);
  ASSERT_EQ(state.voltFromCan, 1);

  state.portName = "COM5";
  state.voltFromCan = 0;
  state.settingsDirty = 1;
  settings_.SaveSettings(state);
  EXPECT_EQ(Read(), Written("5", false));

  VehicleState next;
  settings_.LoadSettings(next);
  EXPECT_EQ(next.voltFromCan, 0);
  EXPECT_EQ(next.portName, "COM5");
}

TEST_F(SettingsFolder, FileLongerThan16BitCountReadToTheEnd) {
  std::string big;
  while (big.size() < 70000) big += "; padding line of a hand-edited file\r\n";
  Write(big + "COM=9;\r\nVLT=CAN;\r\n");
  VehicleState state;
  settings_.LoadSettings(state);
  EXPECT_EQ(state.portName, "COM9");
  EXPECT_EQ(state.voltFromCan, 1);
}

// Made read-only by the operator: not replaced behind their back, and the
// request stands for the next pass.
TEST_F(SettingsFolder, ReadOnlyFileKeptAndRequestStands) {
  Write("COM=3;\r\n");
  fs::permissions(File(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  VehicleState state;
  settings_.LoadSettings(state);
  state.voltFromCan = 1;
  state.settingsDirty = 1;

  settings_.SaveSettings(state);
  EXPECT_EQ(state.settingsDirty, 1);
  EXPECT_EQ(Read(), "COM=3;\r\n");
  EXPECT_EQ(EntriesInFolder(), 1);

  fs::permissions(File(), fs::perms::owner_write, fs::perm_options::add);
  settings_.SaveSettings(state);
  EXPECT_EQ(state.settingsDirty, 0);
  EXPECT_EQ(Read(), Written("3", true));
}

TEST_F(SettingsFolder, EmptyReadOnlyFileLeftEmpty) {
  Write("");
  fs::permissions(File(), fs::perms::owner_read);
  VehicleState state;
  settings_.LoadSettings(state);
  EXPECT_EQ(state.portName, "COM1");
  EXPECT_EQ(state.settingsDirty, 0);
  EXPECT_EQ(Read(), "");
}

TEST_F(SettingsFolder, DeletedWhileRunningIsRecreated) {
  VehicleState state;
  settings_.LoadSettings(state);
  fs::remove(File());
  state.portName = "COM8";
  state.settingsDirty = 1;
  settings_.SaveSettings(state);
  EXPECT_EQ(state.settingsDirty, 0);
  EXPECT_EQ(Read(), Written("8", false));
}

TEST_F(SettingsFolder, FolderInItsPlaceGivesDefaultsAndIsLeftAlone) {
  fs::create_directory(File());
  VehicleState state;
  settings_.LoadSettings(state);
  EXPECT_EQ(state.portName, "COM1");
  EXPECT_EQ(state.voltFromCan, 0);
  EXPECT_EQ(state.settingsDirty, 0);

  state.settingsDirty = 1;
  settings_.SaveSettings(state);
  EXPECT_EQ(state.settingsDirty, 1);
  EXPECT_TRUE(fs::is_directory(File()));
  EXPECT_EQ(EntriesInFolder(), 1);
}

TEST_F(SettingsFolder, RewriteKeepsModeAndWritesThroughLink) {
  fs::path real = dir_ / "real.ini";
  std::ofstream(real, std::ios::binary) << kDefault;
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(real, File());

  VehicleState state;
  settings_.LoadSettings(state);
  state.portName = "COM2";
  state.settingsDirty = 1;
  settings_.SaveSettings(state);

  EXPECT_TRUE(fs::is_symlink(File()));
  EXPECT_EQ(Read(), Written("2", false));
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsFolder, UnwritableFolderFailsWithoutClearingRequest) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  VehicleState state;
  state.settingsDirty = 1;
  settings_.SaveSettings(state);
  EXPECT_EQ(state.settingsDirty, 1);
}

}  // namespace
}  // namespace dashvell
