// The gateway's answers, driven a byte at a time as the dashboard paces its
// commands, and checked through the dashboard's own receive core.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/gateway/CommandReader.h"
#include "tools/gateway/GatewaySession.h"
#include "tools/gateway/Scenario.h"
#include "tools/gateway/tests/Receiver.h"

namespace dashvell {
namespace {

struct CommandCase {
  const char* name;
  const char* bytes;
  std::optional<Command> last;  // what the final byte completes
};

class CommandLines : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandLines, ByteByByte) {
  const CommandCase& c = GetParam();
  CommandReader reader;
  std::optional<Command> got;
  const std::string bytes = c.bytes;
  for (size_t i = 0; i < bytes.size(); ++i) {
    got = reader.Feed(uint8_t(bytes[i]));
    if (i + 1 < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') {
      EXPECT_FALSE(got) << "completed early at byte " << i;
    }
  }
  EXPECT_EQ(got, c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandLines,
    ::testing::Values(
        CommandCase{"StreamStartCrLf", "AT ST1\r\n", std::nullopt},
        CommandCase{"StreamStartCrOnly", "AT ST1\r", Command::kStreamStart},
        CommandCase{"StreamStartLfOnly", "AT ST1\n", Command::kStreamStart},
        CommandCase{"EngineHours", "AT EH\r", Command::kEngineHours},
        CommandCase{"Voltage", "AT RV\n", Command::kVoltage},
        CommandCase{"LowerCase", "at rv\n", Command::kVoltage},
        CommandCase{"Blanks", "  AT EH \n", Command::kEngineHours},
        CommandCase{"OtherAt", "AT Z\n", Command::kOtherAt},
        CommandCase{"NotACommand", "hello\n", Command::kOther},
        CommandCase{"EmptyLine", "\r\n", std::nullopt},
        CommandCase{"TooLong", "AT ST1 AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\n", Command::kOther},
        CommandCase{"AfterALongLine", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\nAT EH\n",
                    Command::kEngineHours}),
    [](const auto& info) { return std::string(info.param.name); });

// A session on the built-in drive, its output fed to the receive core.
class Session : public ::testing::Test {
 protected:
  GatewaySession session{MakeScenarioSource({})};
  testing::Receiver rx;
  std::string text;  // every output byte, for looking at replies

  void Send(const std::string& line, double at) {
    for (char c : line) session.Receive(uint8_t(c), at);
    Pump();
  }
  void RunUntil(double from, double to) {
    for (double t = from; t <= to + 1e-9; t += 0.005) {
      session.Tick(t);
      Pump();
    }
  }
  size_t Pump() {
    std::vector<uint8_t> out = session.TakeOutput();
    rx.Feed(out);
    text.append(out.begin(), out.end());
    return out.size();
  }
};

TEST_F(Session, NothingBeforeStreamStart) {
  RunUntil(0, 2);
  EXPECT_EQ(text.size(), 0u);
  Send("AT ST0\r\n", 2);  // not ours: answered, but starts nothing
  RunUntil(2, 3);
  EXPECT_EQ(text.substr(1), "OK\r\n");
  EXPECT_EQ(rx.stream.FramesDecoded(), 0u);
}

TEST_F(Session, StreamStartBroadcastsAtTruckRates) {
  Send("AT ST1\r\n", 10);
  RunUntil(10, 20);
  // About 91 records a second: EEC1 50, EEC2/CCVS/LFE 10 each, eight
  // groups and three DM1 once a second.
  EXPECT_NEAR(double(session.RecordsSent()), 910, 12);
  EXPECT_EQ(rx.stream.FramesDecoded(), session.RecordsSent());
  EXPECT_EQ(rx.state.frameSeen, 1);
  EXPECT_GT(rx.state.coolantTempF, 41);  // the drive is warming up
}

TEST_F(Session, AnswersEachCommand) {
  Send("AT ST1\r\n", 0);
  RunUntil(0, 0.5);
  const size_t before = session.RecordsSent();
  Send("AT EH\r\n", 0.5);
  EXPECT_EQ(session.RecordsSent(), before + 1);
  EXPECT_EQ(rx.state.hoursSeen, 1);
  EXPECT_NEAR(rx.state.engineHours, 8421.35, 0.05);
  text.clear();
  Send("AT RV\r\n", 0.5);
  EXPECT_EQ(text.substr(1), "AT DV=12.4V\r\n");  // the drive's battery at key-on
  text.clear();
  Send("AT RV\r\n", 0.5);
  EXPECT_EQ(rx.state.adcVolts, 12.4f);  // the receiver drops the first reply
  text.clear();
  Send("ATI\r\n", 0.5);
  EXPECT_EQ(text.substr(1), "OK\r\n");
  text.clear();
  Send("xyz\r\n", 0.5);
  EXPECT_EQ(text, "");
  EXPECT_EQ(rx.stream.FramesDecoded(), session.RecordsSent());
}

TEST(SessionLinkLoss, SilentAfterThenBackOnTheNextStreamStart) {
  SessionOptions o;
  o.silentAfter = 2;
  o.silenceFor = 1.5;
  GatewaySession s(MakeScenarioSource({}), o);
  for (char c : std::string("AT ST1\r\n")) s.Receive(uint8_t(c), 0);
  auto recordsBetween = [&](double from, double to) {
    const size_t before = s.RecordsSent();
    for (double t = from; t < to; t += 0.005) s.Tick(t);
    s.TakeOutput();
    return s.RecordsSent() - before;
  };
  auto command = [&](const char* line, double at) {
    for (const char* p = line; *p; ++p) s.Receive(uint8_t(*p), at);
    return s.TakeOutput().size();
  };
  EXPECT_GT(recordsBetween(0, 2), 150u);
  EXPECT_EQ(recordsBetween(2.01, 3), 0u);
  EXPECT_TRUE(s.Silent());
  EXPECT_EQ(command("AT EH\r\n", 3), 0u) << "a lost link answers nothing";
  EXPECT_EQ(command("AT ST1\r\n", 3), 0u);  // within --silence-for: still lost
  EXPECT_EQ(recordsBetween(3, 3.6), 0u);
  command("AT ST1\r\n", 3.6);
  EXPECT_FALSE(s.Silent());
  EXPECT_GT(recordsBetween(3.6, 4.6), 80u);
  EXPECT_GT(recordsBetween(4.6, 10), 400u) << "the loss happens once";
}

TEST(SessionRate, SendsTheAskedRecordsASecond) {
  for (double rate : {1.0, 200.0, 576.0}) {
    ScenarioOptions so;
    so.recordsPerSecond = rate;
    GatewaySession s(MakeScenarioSource(so));
    for (char c : std::string("AT ST1\r\n")) s.Receive(uint8_t(c), 0);
    for (double t = 0; t < 10; t += 0.001) s.Tick(t);
    EXPECT_NEAR(double(s.RecordsSent()), rate * 10, 1) << rate;
  }
}

TEST(SessionReplay, AnswersEngineHoursFromTheLog) {
  const auto path = std::filesystem::temp_directory_path() / "dashvell-session-replay.log";
  std::ofstream(path) << "(1.0) can0 18FEE500#14000000FFFFFFFF\n"   // 1.0 h
                         "(1.5) can0 18FEF700#FFFFFFFF1801FFFF\n";  // 14.0 V
  auto replay = std::make_unique<CandumpReplay>(path.string(), 1.0, false, std::cerr);
  ASSERT_TRUE(replay->Open());
  GatewaySession s(MakeReplaySource(std::move(replay)));
  testing::Receiver rx;
  for (char c : std::string("AT EH\r\n")) s.Receive(uint8_t(c), 0);
  EXPECT_TRUE(s.TakeOutput().empty()) << "no HOURS seen yet";
  for (char c : std::string("AT ST1\r\n")) s.Receive(uint8_t(c), 0);
  for (double t = 0; t < 1; t += 0.01) s.Tick(t);
  EXPECT_TRUE(s.SourceEnded());
  EXPECT_FALSE(s.Streaming());
  for (char c : std::string("AT EH\r\nAT RV\r\n")) s.Receive(uint8_t(c), 1);
  std::vector<uint8_t> out = s.TakeOutput();
  rx.Feed(out);
  EXPECT_EQ(rx.stream.FramesDecoded(), 3u);  // two replayed and the answer
  EXPECT_EQ(rx.state.engineHours, 1.0f);
  EXPECT_NE(std::string(out.begin(), out.end()).find("AT DV=14.0V\r\n"), std::string::npos);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace dashvell
