#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/DiagnosticLamps.h"
#include "core/tests/StreamFixture.h"

namespace dashvell {
namespace {

using testing::Data;

struct LampCase {
  const char* name;
  uint8_t status;
  int32_t redBefore, amberBefore;
  int32_t red, amber;
};

const LampCase kLampBytes[] = {
    {"RedAndAmberOn", 0x14, 0, 0, 1, 1},
    {"BothOff", 0x00, 1, 1, 0, 0},
    {"AllNotAvailableLeavesBoth", 0xFF, 1, 0, 1, 0},
    {"BothNotAvailableLeavesBoth", 0x3C, 0, 1, 0, 1},
    {"RedErrorLeavesItAmberOn", 0x24, 1, 0, 1, 1},
    {"RedOnAmberOff", 0x10, 0, 1, 1, 0},
    {"MalfunctionAndProtectIgnored", 0xC3, 1, 1, 0, 0},
};

class LampStatus : public ::testing::TestWithParam<LampCase> {};

TEST_P(LampStatus, EachGroupOnlyItsOwnPair) {
  const LampCase& c = GetParam();
  for (SourceGroup g : {SourceGroup::engine, SourceGroup::transmission, SourceGroup::brakes}) {
    VehicleState s;
    const LampPair own = LampPairOf(g);
    s.*own.red = c.redBefore;
    s.*own.amber = c.amberBefore;
    ApplyLampStatus(s, g, c.status);
    EXPECT_EQ(s.*own.red, c.red) << int(g);
    EXPECT_EQ(s.*own.amber, c.amber) << int(g);
    const int32_t lit = s.engineRedLamp + s.engineAmberLamp + s.transRedLamp + s.transAmberLamp +
                        s.brakeRedLamp + s.brakeAmberLamp;
    EXPECT_EQ(lit, c.red + c.amber) << "another group's lamp changed, group " << int(g);
  }
}

INSTANTIATE_TEST_SUITE_P(Dm1, LampStatus, ::testing::ValuesIn(kLampBytes),
                         [](const auto& info) { return std::string(info.param.name); });

// TP.CM and TP.DT data bytes.
Data Bam(uint16_t size, uint8_t packets, uint32_t pgn) {
  return {32,   uint8_t(size), uint8_t(size >> 8), packets,
          0xFF, uint8_t(pgn),  uint8_t(pgn >> 8),  uint8_t(pgn >> 16)};
}
Data Packet(uint8_t sequence, uint8_t lampStatus) {
  return {sequence, lampStatus, 0xFF, 0x00, 0x01, 0x02, 0x03, 0x04};
}

struct Step {
  enum Kind { kConnect, kData } kind;
  SourceGroup group;
  Data data;
};

constexpr SourceGroup kTrans = SourceGroup::transmission;
constexpr SourceGroup kEngine = SourceGroup::engine;

struct BamCase {
  const char* name;
  std::vector<Step> steps;
  int32_t transRed, transAmber;  // both start at 0
  BamTracker transTracker;       // after the last step
};

const BamCase kBamCases[] = {
    {"FirstPacketSetsLamps",
     {{Step::kConnect, kTrans, Bam(14, 2, 65226)}, {Step::kData, kTrans, Packet(1, 0x10)}},
     1,
     0,
     {2, 65226}},
    {"LastPacketEndsTheTransfer",
     {{Step::kConnect, kTrans, Bam(14, 2, 65226)},
      {Step::kData, kTrans, Packet(1, 0x10)},
      {Step::kData, kTrans, Packet(2, 0x14)}},
     1,
     0,
     {0, 0}},
    {"PacketOneAfterTheEndChangesNothing",
     {{Step::kConnect, kTrans, Bam(14, 2, 65226)},
      {Step::kData, kTrans, Packet(1, 0x10)},
      {Step::kData, kTrans, Packet(2, 0xFF)},
      {Step::kData, kTrans, Packet(1, 0x14)}},
     1,
     0,
     {0, 0}},
    {"NoAnnouncementNoLamps", {{Step::kData, kTrans, Packet(1, 0x14)}}, 0, 0, {0, 0}},
    {"RequestToSendIgnored",
     {{Step::kConnect, kTrans, Data{16, 14, 0, 2, 0xFF, 0xCA, 0xFE, 0x00}},
      {Step::kData, kTrans, Packet(1, 0x14)}},
     0,
     0,
     {0, 0}},
    {"OtherPgnReplacesPendingDm1",
     {{Step::kConnect, kTrans, Bam(14, 2, 65226)},
      {Step::kConnect, kTrans, Bam(20, 3, 65227)},
      {Step::kData, kTrans, Packet(1, 0x14)}},
     0,
     0,
     {3, 65227}},
    {"NewAnnouncementRestartsTransfer",
     {{Step::kConnect, kTrans, Bam(30, 5, 65226)},
      {Step::kConnect, kTrans, Bam(14, 2, 65226)},
      {Step::kData, kTrans, Packet(5, 0x00)}},
     0,
     0,
     {2, 65226}},
    {"SinglePacketStaysFollowed",
     {{Step::kConnect, kTrans, Bam(8, 1, 65226)},
      {Step::kData, kTrans, Packet(1, 0x14)},
      {Step::kData, kTrans, Packet(1, 0x04)}},
     0,
     1,
     {1, 65226}},
    {"MiddlePacketChangesNothing",
     {{Step::kConnect, kTrans, Bam(30, 5, 65226)}, {Step::kData, kTrans, Packet(3, 0x14)}},
     0,
     0,
     {5, 65226}},
    {"RepeatedPacketOneAppliesAgain",
     {{Step::kConnect, kTrans, Bam(30, 5, 65226)},
      {Step::kData, kTrans, Packet(1, 0x14)},
      {Step::kData, kTrans, Packet(1, 0x00)}},
     0,
     0,
     {5, 65226}},
    {"TopPgnByteIgnored",
     {{Step::kConnect, kTrans, Bam(14, 2, 0x03FECA)}, {Step::kData, kTrans, Packet(1, 0x14)}},
     1,
     1,
     {2, 65226}},
    {"AnotherGroupsTransferIsNotFollowed",
     {{Step::kConnect, kEngine, Bam(14, 2, 65226)}, {Step::kData, kTrans, Packet(1, 0x14)}},
     0,
     0,
     {0, 0}},
};

class BroadcastTransfer : public ::testing::TestWithParam<BamCase> {};

TEST_P(BroadcastTransfer, Transmission) {
  const BamCase& c = GetParam();
  VehicleState s;
  BamTrackers trackers;
  for (const Step& step : c.steps) {
    if (step.kind == Step::kConnect) {
      OnTransportConnect(trackers, step.group, step.data);
    } else {
      OnTransportData(trackers, s, step.group, step.data);
    }
  }
  EXPECT_EQ(s.transRedLamp, c.transRed);
  EXPECT_EQ(s.transAmberLamp, c.transAmber);
  EXPECT_EQ(trackers[kTrans].packetCount, c.transTracker.packetCount);
  EXPECT_EQ(trackers[kTrans].pgn, c.transTracker.pgn);
  EXPECT_EQ(s.engineRedLamp + s.engineAmberLamp + s.brakeRedLamp + s.brakeAmberLamp, 0);
}

INSTANTIATE_TEST_SUITE_P(Bam, BroadcastTransfer, ::testing::ValuesIn(kBamCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dashvell
