// candump -L lines: which are relayed, which skipped, which reported; and a
// replay's timing, looping and once-only reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/gateway/CandumpReader.h"

namespace dashvell {
namespace {

using Kind = CandumpLine::Kind;

struct LineCase {
  const char* name;
  const char* line;
  Kind kind;
  uint32_t id = 0;
  std::array<uint8_t, 8> data{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  double timestamp = 0;
};

class CandumpLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(CandumpLines, Parse) {
  const LineCase& c = GetParam();
  CandumpLine l = ParseCandumpLine(c.line);
  EXPECT_EQ(l.kind, c.kind) << l.problem;
  if (c.kind == Kind::kMalformed) {
    EXPECT_FALSE(l.problem.empty());
  }
  if (c.kind != Kind::kFrame) return;
  EXPECT_EQ(l.frame.id, c.id);
  EXPECT_EQ(l.frame.data, c.data);
  EXPECT_DOUBLE_EQ(l.timestamp, c.timestamp);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CandumpLines,
    ::testing::Values(
        LineCase{"ExtendedFrame",
                 "(1436509052.249713) can0 0CF00400#F0FFFF803EFFFFFF",
                 Kind::kFrame,
                 0x0CF00400,
                 {0xF0, 0xFF, 0xFF, 0x80, 0x3E, 0xFF, 0xFF, 0xFF},
                 1436509052.249713},
        LineCase{"ShortDataPaddedWithFF",
                 "(1.5) vcan0 18FEEE00#7B12",
                 Kind::kFrame,
                 0x18FEEE00,
                 {0x7B, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                 1.5},
        LineCase{"NoData",
                 "(2.000000) can1 18FECA03#",
                 Kind::kFrame,
                 0x18FECA03,
                 {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                 2.0},
        LineCase{"LowerCaseHexAndCrLf",
                 "(3.25) can0 18fef100#ffff7c0d\r",
                 Kind::kFrame,
                 0x18FEF100,
                 {0xFF, 0xFF, 0x7C, 0x0D, 0xFF, 0xFF, 0xFF, 0xFF},
                 3.25},
        LineCase{"DotSeparators",
                 "(4.0) can0 18FEF100#11.22.33",
                 Kind::kFrame,
                 0x18FEF100,
                 {0x11, 0x22, 0x33, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                 4.0},
        LineCase{"StandardFrameSkipped", "(1.0) can0 123#1122334455667788", Kind::kSkipped},
        LineCase{"RemoteFrameSkipped", "(1.0) can0 18FEF100#R", Kind::kSkipped},
        LineCase{"ErrorFrameSkipped", "(1.0) can0 20000080#0000000000000000", Kind::kSkipped},
        LineCase{"CanFdSkipped", "(1.0) can0 18FEF100##01122334455667788", Kind::kSkipped},
        LineCase{"BlankLine", "   \t", Kind::kBlank}, LineCase{"EmptyLine", "", Kind::kBlank},
        LineCase{"NoTimestamp", "can0 18FEF100#1122", Kind::kMalformed},
        LineCase{"TimestampNotANumber", "(abc) can0 18FEF100#1122", Kind::kMalformed},
        LineCase{"NoInterface", "(1.0) 18FEF100#1122", Kind::kMalformed},
        LineCase{"NoHash", "(1.0) can0 18FEF1001122", Kind::kMalformed},
        LineCase{"IdentifierOfSixDigits", "(1.0) can0 FEF100#1122", Kind::kMalformed},
        LineCase{"IdentifierNotHex", "(1.0) can0 18FEG100#1122", Kind::kMalformed},
        LineCase{"OddDataDigits", "(1.0) can0 18FEF100#112", Kind::kMalformed},
        LineCase{"NineDataBytes", "(1.0) can0 18FEF100#112233445566778899", Kind::kMalformed},
        LineCase{"StandardIdentifierAbove7FF", "(1.0) can0 800#11", Kind::kMalformed},
        LineCase{"TrailingField", "(1.0) can0 18FEF100#11 extra", Kind::kMalformed},
        LineCase{"BinaryGarbage", "\x01\x02\xff\xfe", Kind::kMalformed}),
    [](const auto& info) { return std::string(info.param.name); });

class ReplayLog : public ::testing::Test {
 protected:
  std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("dashvell-replay-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
  std::ostringstream report;

  void Write(const std::string& text) { std::ofstream(path) << text; }
  ~ReplayLog() override { std::filesystem::remove(path); }
};

TEST_F(ReplayLog, KeepsTheLogsTimingScaledBySpeed) {
  Write(
      "(100.000) can0 0CF00400#01\n"
      "(100.020) can0 123#01\n"
      "(100.500) can0 18FEF100#02\n"
      "(102.000) can0 18FEEE00#03\n");
  CandumpReplay r(path.string(), 2.0, false, report);
  ASSERT_TRUE(r.Open());
  std::vector<double> times;
  std::vector<uint8_t> first;
  while (auto f = r.Next()) {
    times.push_back(f->time);
    first.push_back(f->frame.data[0]);
  }
  EXPECT_EQ(times, (std::vector<double>{0, 0.25, 1.0}));
  EXPECT_EQ(first, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(report.str(), "");
}

TEST_F(ReplayLog, ReportsEachMalformedLineOnceWithItsNumber) {
  Write(
      "(1.0) can0 0CF00400#01\n"
      "garbage\n"
      "(1.1) can0 0CF00400#02\n"
      "(1.2) can0 0CF00400#0\n");
  CandumpReplay r(path.string(), 1.0, true, report);
  ASSERT_TRUE(r.Open());
  std::vector<uint8_t> seen;
  for (int i = 0; i < 6; ++i) seen.push_back(r.Next()->frame.data[0]);
  EXPECT_EQ(seen, (std::vector<uint8_t>{1, 2, 1, 2, 1, 2}));
  const std::string text = report.str();
  EXPECT_NE(text.find(":2: "), std::string::npos) << text;
  EXPECT_NE(text.find(":4: "), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
}

TEST_F(ReplayLog, LoopedTimeKeepsGrowing) {
  Write("(5.0) can0 0CF00400#01\n(6.0) can0 0CF00400#02\n");
  CandumpReplay r(path.string(), 1.0, true, report);
  ASSERT_TRUE(r.Open());
  double last = -1;
  for (int i = 0; i < 6; ++i) {
    double t = r.Next()->time;
    EXPECT_GE(t, last);
    last = t;
  }
  EXPECT_NEAR(last, 3.02, 1e-9) << "three passes of one second, 10 ms apart";
}

TEST_F(ReplayLog, ClockSteppingBackSendsAtOnce) {
  Write("(5.0) can0 0CF00400#01\n(4.0) can0 0CF00400#02\n(5.5) can0 0CF00400#03\n");
  CandumpReplay r(path.string(), 1.0, false, report);
  ASSERT_TRUE(r.Open());
  EXPECT_EQ(r.Next()->time, 0);
  EXPECT_EQ(r.Next()->time, 0);
  EXPECT_EQ(r.Next()->time, 0.5);
}

TEST_F(ReplayLog, LoopOverALogWithoutFramesEnds) {
  Write("(1.0) can0 123#01\nnonsense\n");
  CandumpReplay r(path.string(), 1.0, true, report);
  ASSERT_TRUE(r.Open());
  EXPECT_FALSE(r.Next());
}

TEST_F(ReplayLog, MissingLogIsReported) {
  CandumpReplay r((path.string() + ".missing"), 1.0, false, report);
  EXPECT_FALSE(r.Open());
  EXPECT_NE(report.str().find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace dashvell
