// The gateway commands on the wire: exact bytes, one byte per write, the pacing
// on the millisecond counter (wrap included) and nothing while the port is shut.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/GatewayCommands.h"
#include "link/tests/LinkFakes.h"

namespace dashvell {
namespace {

using testing::FakeCounter;
using testing::TransmittedBytes;

struct CommandsFixture {
  explicit CommandsFixture(uint32_t start = 1000, uint32_t step = 1) : counter(start, step) {
    comm.Attach(&control);
    state.portOpen = 1;
  }
  VehicleState state;
  RecordingControl control;
  CMSComm comm;
  FakeCounter counter;
  GatewayCommands commands{state, comm, counter};
};

struct CommandCase {
  const char* name;
  std::function<void(GatewayCommands&)> send;
  std::vector<int> wire;
};

class CommandBytes : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandBytes, GoOutByteByByteAndPacedByTwoTicks) {
  CommandsFixture f;
  std::vector<uint32_t> writtenAt;
  f.control.OnPut([&](DispId, const Variant&) { writtenAt.push_back(f.counter.Now()); });

  GetParam().send(f.commands);

  EXPECT_EQ(TransmittedBytes(f.control), GetParam().wire);
  ASSERT_EQ(writtenAt.size(), GetParam().wire.size());
  for (std::size_t i = 0; i < writtenAt.size(); ++i)
    EXPECT_EQ(writtenAt[i], 1000u + 2 * i) << "byte " << i;
  // The final LF is paced too before the call returns.
  EXPECT_EQ(f.counter.Now(), 1000u + 2 * writtenAt.size());
}

TEST_P(CommandBytes, SendNothingWhilePortIsClosed) {
  CommandsFixture f;
  f.state.portOpen = 0;
  GetParam().send(f.commands);
  EXPECT_TRUE(f.control.log().empty());
  EXPECT_EQ(f.counter.pauses(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Gateway, CommandBytes,
    ::testing::Values(CommandCase{"EngineHoursRequest",
                                  [](GatewayCommands& c) { c.SendEngineHoursRequest(); },
                                  {0x41, 0x54, 0x20, 0x45, 0x48, 0x0D, 0x0A}},
                      CommandCase{"StreamStart",
                                  [](GatewayCommands& c) { c.SendStreamStart(); },
                                  {0x41, 0x54, 0x20, 0x53, 0x54, 0x31, 0x0D, 0x0A}},
                      CommandCase{"VoltageRequest",
                                  [](GatewayCommands& c) { c.SendVoltageRequest(); },
                                  {0x41, 0x54, 0x20, 0x52, 0x56, 0x0D, 0x0A}}),
    [](const auto& info) { return std::string(info.param.name); });

struct PacingCase {
  const char* name;
  uint32_t counterAtWrite;
  uint32_t ticksPerPause;
  int pauses;  // how often the wait gave the processor away
  uint32_t counterAfter;
};

class Pacing : public ::testing::TestWithParam<PacingCase> {};

TEST_P(Pacing, WaitsUntilTheCounterMovedOnByTwo) {
  const PacingCase& c = GetParam();
  CommandsFixture f(c.counterAtWrite, c.ticksPerPause);
  f.commands.SendGatewayCommand("\n");
  EXPECT_EQ(TransmittedBytes(f.control), std::vector<int>{0x0A});
  EXPECT_EQ(f.counter.pauses(), c.pauses);
  EXPECT_EQ(f.counter.Now(), c.counterAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Counter, Pacing,
    ::testing::Values(PacingCase{"FineCounter", 5000, 1, 2, 5002},
                      PacingCase{"CoarseCounterOvershoots", 5000, 16, 1, 5016},
                      PacingCase{"LastNonOverflowingStart", 0xFFFFFFFDu, 1, 2, 0xFFFFFFFFu},
                      PacingCase{"SecondLastValueNoWait", 0xFFFFFFFEu, 1, 0, 0xFFFFFFFEu},
                      PacingCase{"LastValueNoWait", 0xFFFFFFFFu, 1, 0, 0xFFFFFFFFu},
                      PacingCase{"WrapDuringWaitEndsIt", 0xFFFFFFFDu, 3, 1, 0u}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
  const char* name;
  std::string line;
  std::string wire;
};

class LineEnd : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnd, SendsUpToAndIncludingTheFirstLineFeed) {
  CommandsFixture f;
  f.commands.SendGatewayCommand(GetParam().line);
  EXPECT_EQ(testing::TransmittedText(f.control), GetParam().wire);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineEnd,
                         ::testing::Values(LineCase{"StopsAtFirstLf", "AT Z\r\nAT X\r\n",
                                                    "AT Z\r\n"},
                                           // A line with no LF must not run past its end.
                                           LineCase{"NoLfSendsWholeLineOnly", "AT Z", "AT Z"},
                                           LineCase{"Empty", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GatewayCommandsFailure, RejectedWriteDropsTheRestOfTheLineQuietly) {
  CommandsFixture f;
  int writes = 0;
  f.control.OnPut([&](DispId id, const Variant&) {
    if (id == CMSComm::kTransmitData && ++writes == 3) throw ControlError("COM1 is gone");
  });
  EXPECT_NO_THROW(f.commands.SendStreamStart());
  EXPECT_EQ(f.control.Puts(CMSComm::kTransmitData).size(), 3u);
  // The next command goes out whole once the port takes writes again.
  f.control.OnPut(nullptr);
  f.control.ClearLog();
  f.commands.SendEngineHoursRequest();
  EXPECT_EQ(testing::TransmittedText(f.control), "AT EH\r\n");
}

}  // namespace
}  // namespace dashvell
