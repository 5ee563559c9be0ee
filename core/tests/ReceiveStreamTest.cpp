#include <gtest/gtest.h>

#include <string>

#include "core/ReceiveStream.h"
#include "core/tests/StateFields.h"
#include "core/tests/StreamFixture.h"

namespace dashvell {
namespace {

using testing::Data;
using testing::kExampleEec1;
using testing::Pdu1Pgn;

class Stream : public ::testing::Test, public testing::StreamFixture {};

// --- Frame detection by checksum -------------------------------------------

TEST_F(Stream, ExampleRecordIsOneEngineSpeedFrame) {
  Feed(kExampleEec1);
  EXPECT_EQ(stream.FramesDecoded(), 1u);
  EXPECT_EQ(state.frameSeen, 1);
  EXPECT_EQ(state.engineSpeedKrpm, 2.0f);
}

TEST_F(Stream, ZeroWindowsAreNoFrames) {
  for (int i = 0; i < 60; ++i) Feed({0x00});
  EXPECT_EQ(stream.FramesDecoded(), 0u);
  EXPECT_EQ(state.frameSeen, 0);
}

TEST_F(Stream, WrongChecksumIsNoFrame) {
  GatewayRecord r = kExampleEec1;
  r[19] += 1;
  Feed(r);
  EXPECT_EQ(stream.FramesDecoded(), 0u);
  EXPECT_EQ(state.frameSeen, 0);
  EXPECT_EQ(state.engineSpeedKrpm, 0.0f);
}

TEST_F(Stream, ByteEqualToTheLeavingOneDecodesAgainOneFurtherOn) {
  Feed(kExampleEec1);
  Feed({kExampleEec1[0]});
  EXPECT_EQ(stream.FramesDecoded(), 2u);
  Feed({0x01});
  EXPECT_EQ(stream.FramesDecoded(), 2u);
}

TEST_F(Stream, RecordSplitOverTwoReadsIsDecodedAtItsLastByte) {
  stream.ReceiveBytes(kExampleEec1.data(), 7);
  EXPECT_EQ(stream.FramesDecoded(), 0u);
  stream.ReceiveBytes(kExampleEec1.data() + 7, 12);
  EXPECT_EQ(state.engineSpeedKrpm, 0.0f);
  stream.ReceiveBytes(kExampleEec1.data() + 19, 1);
  EXPECT_EQ(stream.FramesDecoded(), 1u);
  EXPECT_EQ(state.engineSpeedKrpm, 2.0f);
}

TEST_F(Stream, RecordAfterGarbageIsFound) {
  for (int i = 0; i < 13; ++i) Feed({uint8_t(0x30 + i)});
  Feed(kExampleEec1);
  EXPECT_EQ(state.engineSpeedKrpm, 2.0f);
}

TEST_F(Stream, SelfTestNeitherCountsNorDecodesFrames) {
  state.selfTest = 1;
  Feed(kExampleEec1);
  EXPECT_EQ(stream.FramesDecoded(), 0u);
  EXPECT_EQ(state.frameSeen, 0);
  EXPECT_EQ(state.engineSpeedKrpm, 0.0f);
  // Voltage replies still count during self-test.
  FeedText("AT DV=12.3V\r\nAT DV=12.3V\r\n");
  EXPECT_EQ(state.adcVolts, 12.3f);
  state.selfTest = 0;
  Feed(kExampleEec1);
  EXPECT_EQ(state.engineSpeedKrpm, 2.0f);
}

TEST_F(Stream, IdentifierBitsNotPartOfThePfAreNotExamined) {
  GatewayRecord r = kExampleEec1;
  r[6] |= 0x1C;  // byte 6 bits 4..2
  Feed(testing::FixChecksum(r));
  EXPECT_EQ(state.engineSpeedKrpm, 2.0f);
}

// --- Routing by identifier -------------------------------------------------

constexpr uint32_t kEec1 = 61444;
constexpr uint32_t kTrf1 = 65272;
constexpr Data kEec1At2000 = {0xFF, 0xFF, 0xFF, 0x80, 0x3E, 0xFF, 0xFF, 0xFF};
constexpr Data kTrf1At80C = {0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0x2C, 0xFF, 0xFF};

struct RouteCase {
  const char* name;
  uint32_t canId;
  Data data;
  const char* changed;  // besides frameSeen
};

const RouteCase kRoutes[] = {
    {"Eec1FromEngine", J1939Id(3, kEec1, 0), kEec1At2000, "engineSpeedKrpm"},
    {"Eec1From254", J1939Id(3, kEec1, 254), kEec1At2000, "engineSpeedKrpm"},
    {"Eec1From255", J1939Id(3, kEec1, 255), kEec1At2000, "engineSpeedKrpm"},
    {"PriorityIgnoredZero", J1939Id(0, kEec1, 0), kEec1At2000, "engineSpeedKrpm"},
    {"PriorityIgnoredSeven", J1939Id(7, kEec1, 0), kEec1At2000, "engineSpeedKrpm"},
    {"Eec1FromTransmission", J1939Id(3, kEec1, 3), kEec1At2000, ""},
    {"Eec1FromBrakes", J1939Id(3, kEec1, 11), kEec1At2000, ""},
    {"Eec1FromAddress5", J1939Id(3, kEec1, 5), kEec1At2000, ""},
    {"DataPage1", J1939Id(3, 0x10000 | kEec1, 0), kEec1At2000, ""},
    {"ExtendedDataPage", J1939Id(3, 0x20000 | kEec1, 0), kEec1At2000, ""},
    {"TransmissionFluidsFromTransmission", J1939Id(6, kTrf1, 3), kTrf1At80C, "transOilTempF"},
    {"TransmissionFluidsFromEngine", J1939Id(6, kTrf1, 0), kTrf1At80C, ""},
    {"RequestIgnored", J1939Id(6, Pdu1Pgn(234, 255), 0), Data{0xF4, 0xF0, 0x00}, ""},
    {"Dm1FromEngine", J1939Id(6, 65226, 0), Data{0x14}, "engineRedLamp engineAmberLamp"},
    {"Dm1From254", J1939Id(6, 65226, 254), Data{0x14}, "engineRedLamp engineAmberLamp"},
    {"Dm1From255", J1939Id(6, 65226, 255), Data{0x14}, "engineRedLamp engineAmberLamp"},
    {"Dm1FromTransmission", J1939Id(6, 65226, 3), Data{0x14}, "transRedLamp transAmberLamp"},
    {"Dm1FromBrakes", J1939Id(6, 65226, 11), Data{0x14}, "brakeRedLamp brakeAmberLamp"},
    {"Dm1FromAddress5", J1939Id(6, 65226, 5), Data{0x14}, ""},
};

class Routing : public ::testing::TestWithParam<RouteCase>, public testing::StreamFixture {};

TEST_P(Routing, ChangesOnlyWhatTheRouteReaches) {
  const RouteCase& c = GetParam();
  const VehicleState before = state;
  FeedFrame(c.canId, c.data);
  EXPECT_EQ(state.frameSeen, 1);
  VehicleState seen = before;
  seen.frameSeen = 1;
  EXPECT_EQ(testing::ChangedFields(seen, state), c.changed);
}

INSTANTIATE_TEST_SUITE_P(Identifier, Routing, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

struct TransportCase {
  const char* name;
  uint8_t source;
  uint8_t destination;
  const char* changed;
};

// A BAM announcing a two-packet DM1, then packet 1 with both lamps on.
const TransportCase kTransports[] = {
    {"TransmissionToGlobal", 3, 255, "transRedLamp transAmberLamp"},
    {"TransmissionToCluster", 3, 23, "transRedLamp transAmberLamp"},
    {"TransmissionToEngine", 3, 0, ""},
    {"TransmissionToAddress5", 3, 5, ""},
    {"EngineToGlobal", 0, 255, "engineRedLamp engineAmberLamp"},
    {"EngineToEngine", 0, 0, ""},
    {"BrakesToCluster", 11, 23, "brakeRedLamp brakeAmberLamp"},
    {"From254Ignored", 254, 255, ""},
    {"From255Ignored", 255, 255, ""},
    {"FromAddress5Ignored", 5, 255, ""},
};

class TransportRouting : public ::testing::TestWithParam<TransportCase>,
                         public testing::StreamFixture {};

TEST_P(TransportRouting, BamThenFirstPacket) {
  const TransportCase& c = GetParam();
  FeedFrame(J1939Id(7, Pdu1Pgn(236, c.destination), c.source),
            Data{32, 14, 0, 2, 0xFF, 0xCA, 0xFE, 0x00});
  FeedFrame(J1939Id(7, Pdu1Pgn(235, c.destination), c.source),
            Data{1, 0x14, 0xFF, 0x00, 0x01, 0x02, 0x03, 0x04});
  VehicleState seen;
  seen.frameSeen = 1;
  EXPECT_EQ(testing::ChangedFields(seen, state), c.changed);
}

INSTANTIATE_TEST_SUITE_P(Pdu1, TransportRouting, ::testing::ValuesIn(kTransports),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Stream, TransportDataFrom254DoesNotReachTheEngineTracker) {
  FeedFrame(J1939Id(7, Pdu1Pgn(236, 255), 0), Data{32, 14, 0, 2, 0xFF, 0xCA, 0xFE, 0x00});
  FeedFrame(J1939Id(7, Pdu1Pgn(235, 255), 254), Data{1, 0x14, 0xFF, 0, 0, 0, 0, 0});
  EXPECT_EQ(state.engineRedLamp, 0);
  FeedFrame(J1939Id(7, Pdu1Pgn(235, 255), 0), Data{1, 0x14, 0xFF, 0, 0, 0, 0, 0});
  EXPECT_EQ(state.engineRedLamp, 1);
  FeedFrame(J1939Id(7, Pdu1Pgn(235, 255), 0), Data{2, 0x00, 0xFF, 0, 0, 0, 0, 0});
  EXPECT_EQ(stream.Tracker(SourceGroup::engine).pgn, 0);
}

// --- Reply line ------------------------------------------------------------

struct LineCase {
  const char* name;
  const char* text;
  int count;  // collected bytes afterwards
};

const LineCase kLines[] = {
    {"Collects", "AT DV", 5},
    {"KeepsTheLast30Bytes", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 30},
    {"ShortLineEndIsNoLineEnd", "OK\r\n", 4},
    {"LineEndAfterFiveBytes", "OK\r\n\r\n", 0},
    {"OtherReplyEmptiesTheLine", "AT EH\r\n", 0},
    {"AtSpaceAtTheStartStays", "AT ", 3},
    {"AtSpaceRestarts", "xyzAT ", 3},
    {"LowerCaseAtSpaceRestarts", "xyzat ", 3},
    {"MixedCaseAtSpaceRestarts", "OK\r\naT ", 3},
    {"AtWithoutSpaceDoesNotRestart", "xyzAT", 5},
    {"RestartWhenFull", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxAT D", 4},
    {"LoneLfIsNoLineEnd", "xxxxxx\n", 7},
    {"CrLfSplitByAByteIsNoLineEnd", "xxxxxx\rx\n", 9},
};

class ReplyLineCollect : public ::testing::TestWithParam<LineCase>,
                         public testing::StreamFixture {};

TEST_P(ReplyLineCollect, Count) {
  FeedText(GetParam().text);
  EXPECT_EQ(stream.ReplyLineCount(), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(ReplyLine, ReplyLineCollect, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Stream, FirstVoltageReplyIsCountedSecondSetsTheValue) {
  state.adcVolts = 5.0f;
  FeedText("AT DV=12.3V\r\n");
  EXPECT_EQ(state.adcReplySeen, 1);
  EXPECT_EQ(state.adcReplyCount, 1);
  EXPECT_EQ(state.adcVolts, 5.0f);
  FeedText("AT DV=12.3V\r\n");
  EXPECT_EQ(double(state.adcVolts), 12.300000190734863);
  EXPECT_EQ(state.adcReplyCount, 2);
  FeedText("AT DV=13.5V\r\n");
  EXPECT_EQ(state.adcVolts, 13.5f);
  EXPECT_EQ(state.adcReplyCount, 2);
}

TEST_F(Stream, VoltageReplyAfterFrameBytesFilledTheLine) {
  for (uint8_t seq = 0; seq < 3; ++seq) {
    Feed(EncodeGatewayRecord(J1939Id(3, kEec1, 0), kEec1At2000, seq));
  }
  FeedText("AT DV=12.3V\r\nAT DV=12.6V\r\n");
  EXPECT_EQ(state.adcVolts, 12.6f);
  EXPECT_EQ(state.engineSpeedKrpm, 2.0f);
}

TEST_F(Stream, OtherReplyLinesLeaveTheVoltageAlone) {
  state.adcVolts = 5.0f;
  FeedText("AT EH\r\nOK\r\nAT RV\r\n");
  EXPECT_EQ(state.adcVolts, 5.0f);
  EXPECT_EQ(state.adcReplyCount, 0);
  EXPECT_EQ(state.adcReplySeen, 0);
}

TEST_F(Stream, LongLineWithoutRestartIsDroppedAtItsEnd) {
  // "DV\r\n" is too short to end a line, so the next line end drops both.
  state.adcReplyCount = 1;
  FeedText("DV\r\n=12.3V\r\n");
  EXPECT_EQ(state.adcReplySeen, 0);
  EXPECT_EQ(stream.ReplyLineCount(), 0);
}

struct VoltsCase {
  const char* name;
  const char* text;
  bool valid;
  double volts;  // adcVolts when valid, compared exactly
};

// The count is primed (1) and adcVolts reads 99: a valid reply sets the
// value, counts and is seen; any other line changes none of the three.
const VoltsCase kVolts[] = {
    {"Decimal", "AT DV=12.3V\r\n", true, 12.300000190734863},
    {"LowerCase", "at dv=12.3v\r\n", true, 12.300000190734863},
    {"NoPoint", "AT DV=7V\r\n", true, 7.0},
    {"NoIntegerPart", "AT DV=.5V\r\n", true, 0.5},
    {"TrailingPoint", "AT DV=13.V\r\n", true, 13.0},
    {"LeadingZeros", "AT DV=0012.50V\r\n", true, 12.5},
    {"FiveFractionDigits", "AT DV=12.34567V\r\n", true, double(12.34567f)},
    {"SixteenFractionDigits", "AT DV=1.0000000000000001V\r\n", true, 1.0},
    {"TwentyIntegerDigits", "AT DV=99999999999999999999V\r\n", true,
     double(99999999999999999999.0f)},
    {"TextAfterVIgnored", "AT DV=12.3VOLT\r\n", true, 12.300000190734863},
    {"Exactly30Bytes", "AT DV=1.0000000000000000000V\r\n", true, 1.0},
    {"LongerThan30LosesItsStart", "AT DV=1.00000000000000000000V\r\n", false, 0},
    {"LetterAmongDigits", "AT DV=1X.5V\r\n", false, 0},
    {"NoV", "AT DV=12.3\r\n", false, 0},
    {"NoDigits", "AT DV=V\r\n", false, 0},
    {"OnlyAPoint", "AT DV=.V\r\n", false, 0},
    {"TwoPoints", "AT DV=1.2.3V\r\n", false, 0},
    {"Sign", "AT DV=-1V\r\n", false, 0},
    {"Space", "AT DV= 12V\r\n", false, 0},
    {"Comma", "AT DV=12,3V\r\n", false, 0},
    {"OtherCommand", "AT DX=12.3V\r\n", false, 0},
};

class VoltageReply : public ::testing::TestWithParam<VoltsCase>, public testing::StreamFixture {};

TEST_P(VoltageReply, Parse) {
  const VoltsCase& c = GetParam();
  state.adcReplyCount = 1;
  state.adcVolts = 99;
  FeedText(c.text);
  EXPECT_EQ(stream.ReplyLineCount(), 0);
  if (c.valid) {
    EXPECT_EQ(double(state.adcVolts), c.volts);
    EXPECT_EQ(state.adcReplyCount, 2);
    EXPECT_EQ(state.adcReplySeen, 1);
  } else {
    EXPECT_EQ(state.adcVolts, 99.0f);
    EXPECT_EQ(state.adcReplyCount, 1);
    EXPECT_EQ(state.adcReplySeen, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(ReplyLine, VoltageReply, ::testing::ValuesIn(kVolts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Stream, InvalidReplyDoesNotPrimeTheCount) {
  FeedText("AT DV=1X.5V\r\n");
  EXPECT_EQ(state.adcReplyCount, 0);
  FeedText("AT DV=12.3V\r\nAT DV=12.6V\r\n");
  EXPECT_EQ(state.adcVolts, 12.6f);
}

}  // namespace
}  // namespace dashvell
