#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/VehicleState.h"
#include "tools/decode/StateJson.h"

namespace dashvell {
namespace {

struct NumberCase {
  const char* name;
  double value;
  const char* text;
};

const NumberCase kNumbers[] = {
    {"WholeNumber", 2.0, "2"},
    {"Zero", 0.0, "0"},
    {"FloatWidenedToDouble", double(12.3f), "12.300000190734863"},
    {"NegativeFloat", double(-459.4f), "-459.3999938964844"},
    {"DoubleShortest", 0.6213727366498067, "0.6213727366498067"},
    {"SeventeenDigitsNeeded", 0.1 + 0.2, "0.30000000000000004"},
    {"Large", 1e20, "1e+20"},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN(), "null"},
    {"Infinity", std::numeric_limits<double>::infinity(), "null"},
};

class JsonNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(JsonNumber, ShortestTextThatReadsBack) {
  EXPECT_EQ(FormatJsonNumber(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Decode, JsonNumber, ::testing::ValuesIn(kNumbers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StateJson, EveryReceivedFieldInOrder) {
  VehicleState s;
  s.adcReplyCount = 2;
  s.brakeAmberLamp = 1;
  EXPECT_EQ(StateJson(s, 7),
            "{\"engineSpeedKrpm\":0,\"vehicleSpeedMph\":0,\"oilPressurePsi\":0,"
            "\"coolantTempF\":-40,\"fuelLevelPct\":0,\"transOilTempF\":-459.3999938964844,"
            "\"boostPsi\":0,\"fuelEconomyMpg\":0,\"fuelRateGph\":0,\"acceleratorPct\":0,"
            "\"engineLoadPct\":0,\"inletAirTempF\":0,\"engineHours\":0,\"tripDistanceMiles\":0,"
            "\"totalDistanceMiles\":0,\"canVolts\":0,\"engineRedLamp\":0,\"engineAmberLamp\":0,"
            "\"transRedLamp\":0,\"transAmberLamp\":0,\"brakeRedLamp\":0,\"brakeAmberLamp\":1,"
            "\"waterInFuel\":0,\"cruiseActive\":0,\"frameSeen\":0,\"hoursSeen\":0,"
            "\"adcVolts\":0,\"adcReplyCount\":2,\"adcReplySeen\":0,\"frames\":7}");
}

// --- The program itself -----------------------------------------------------

struct Result {
  int status = -1;
  std::string out, err;
};

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// ctest runs every test as its own process, several at once: each process
// keeps its files apart by its pid.
std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + std::to_string(::getpid()) + "-" + name;
}

std::string WriteTemp(const std::string& name, const std::string& bytes) {
  const std::string path = TempPath(name);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Runs dashvell-decode with `args` (already quoted for the shell) and
// `input` on standard input.
Result RunDecode(const std::string& args, const std::string& input = "") {
  const std::string in = WriteTemp("decode-in.bin", input);
  const std::string out = TempPath("decode-out.txt"), err = TempPath("decode-err.txt");
  const std::string cmd = std::string("'") + DASHVELL_DECODE + "' " + args + " < '" + in + "' > '" +
                          out + "' 2> '" + err + "'";
  Result r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  return r;
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += char(b);
  return s;
}

const std::string kExample = Bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x67, 0x80, 0x04, 0x00, 0x00,
                                    0xFF, 0xFF, 0xFF, 0x80, 0x3E, 0xFF, 0xFF, 0xFF, 0x00, 0x5D});

int Lines(const std::string& s) {
  return int(std::count(s.begin(), s.end(), '\n'));
}

TEST(DecodeProgram, ExampleRecordFromAFile) {
  const Result r = RunDecode("'" + WriteTemp("example.bin", kExample) + "'");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Lines(r.out), 1);
  EXPECT_NE(r.out.find("{\"engineSpeedKrpm\":2,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(",\"frameSeen\":1,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(",\"frames\":1}\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, "");
}

struct InputCase {
  const char* name;
  const char* args;
};

const InputCase kStandardInput[] = {{"NoArgument", ""}, {"Dash", "-"}};

class DecodeStandardInput : public ::testing::TestWithParam<InputCase> {};

TEST_P(DecodeStandardInput, SameAsFromAFile) {
  const Result fromStdin = RunDecode(GetParam().args, kExample);
  const Result fromFile = RunDecode("'" + WriteTemp("example.bin", kExample) + "'");
  EXPECT_EQ(fromStdin.status, 0);
  EXPECT_EQ(fromStdin.out, fromFile.out);
}

INSTANTIATE_TEST_SUITE_P(Decode, DecodeStandardInput, ::testing::ValuesIn(kStandardInput),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeProgram, EachPrintsALinePerDecodedWindow) {
  const std::string capture = ReadFile(DASHVELL_SAMPLE_CAPTURE);
  const Result once = RunDecode("-", capture);
  const Result each = RunDecode("--each -", capture);
  EXPECT_EQ(each.status, 0);
  const size_t framesAt = once.out.rfind("\"frames\":");
  ASSERT_NE(framesAt, std::string::npos);
  const int frames = std::atoi(once.out.c_str() + framesAt + 9);
  EXPECT_EQ(frames, 17);  // one per record of the capture
  EXPECT_EQ(Lines(each.out), frames);
  // The capture ends with voltage replies, after the last window.
  EXPECT_NE(each.out.find("\"frames\":1}\n"), std::string::npos);
  EXPECT_NE(each.out.rfind("\"adcReplyCount\":0,"), std::string::npos);
  EXPECT_EQ(once.out.find("\"adcReplyCount\":0,"), std::string::npos);
}

TEST(DecodeProgram, EachWithoutFramesPrintsNothing) {
  const Result r = RunDecode("--each", "OK\r\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
}

TEST(DecodeProgram, EmptyInputPrintsTheStartingState) {
  const Result r = RunDecode("-");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, StateJson(VehicleState{}, 0) + "\n");
}

struct FailureCase {
  const char* name;
  std::string args;
  int status;
  const char* inError;  // text the one error line must contain
};

const FailureCase kFailures[] = {
    {"MissingFile", "'/nonexistent/capture.bin'", 1, "/nonexistent/capture.bin: No such file"},
    {"Directory", "'/'", 1, "/: Is a directory"},
    {"UnknownOption", "--every", 2, "unknown option --every"},
    {"TwoFiles", "a b", 2, "only one input file"},
};

class DecodeFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(DecodeFailure, ReportedOnStandardErrorOnly) {
  const FailureCase& c = GetParam();
  const Result r = RunDecode(c.args, kExample);
  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(c.inError), std::string::npos) << r.err;
  if (c.status == 1) {
    EXPECT_EQ(Lines(r.err), 1) << r.err;
  }
}

INSTANTIATE_TEST_SUITE_P(Decode, DecodeFailure, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeProgram, HelpDescribesTheOutput) {
  const Result r = RunDecode("--help");
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"--each", "standard input", "frames", "12.300000190734863"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

TEST(DecodeProgram, SampleCaptureDecodes) {
  const Result r = RunDecode(std::string("'") + DASHVELL_SAMPLE_CAPTURE + "'");
  EXPECT_EQ(r.status, 0);
  for (const char* field :
       {"\"engineSpeedKrpm\":1.5000001192092896,", "\"vehicleSpeedMph\":54.867698669433594,",
        "\"coolantTempF\":185,", "\"transOilTempF\":176,", "\"engineHours\":500,",
        "\"totalDistanceMiles\":155343.18416245168,", "\"canVolts\":14,",
        "\"engineRedLamp\":0,\"engineAmberLamp\":1,\"transRedLamp\":1,\"transAmberLamp\":0,",
        "\"cruiseActive\":1,", "\"hoursSeen\":1,", "\"adcVolts\":12.600000381469727,",
        "\"adcReplyCount\":2,\"adcReplySeen\":1,"}) {
    EXPECT_NE(r.out.find(field), std::string::npos) << field << " in " << r.out;
  }
}

}  // namespace
}  // namespace dashvell
