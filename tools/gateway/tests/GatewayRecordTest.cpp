// The record layout: the identifier where the receiver looks for it, a zero
// checksum, and no window shifted into the next record that passes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/GatewayRecord.h"
#include "tools/gateway/tests/Receiver.h"

namespace dashvell {
namespace {

using Data = std::array<uint8_t, 8>;

unsigned Sum(const GatewayRecord& r) {
  unsigned s = 0;
  for (uint8_t b : r) s += b;
  return s & 0xFF;
}

struct IdCase {
  const char* name;
  uint32_t id;
  uint8_t byte5, byte6, byte7, byte8;
};

class IdentifierLayout : public ::testing::TestWithParam<IdCase> {};

TEST_P(IdentifierLayout, LandsInBytes5To8) {
  const IdCase& c = GetParam();
  const Data data{1, 2, 3, 4, 5, 6, 7, 8};
  for (uint8_t seq : {0, 1, 200, 255}) {
    GatewayRecord r = EncodeGatewayRecord(c.id, data, seq);
    EXPECT_EQ(r[5], c.byte5);
    EXPECT_EQ(r[6], c.byte6);
    EXPECT_EQ(r[7], c.byte7);
    EXPECT_EQ(r[8], c.byte8);
    EXPECT_EQ(r[0], seq);
    EXPECT_EQ(r[6] & 0x1C, 0) << "bits 4 to 2 of byte 6 are ours and zero";
    EXPECT_EQ(Sum(r), 0u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(r[10 + i], data[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IdentifierLayout,
    ::testing::Values(
        // The receiver's own worked example: 67 80 04 00 for EEC1 from the engine.
        IdCase{"Eec1Priority3", J1939Id(3, 61444, 0), 0x67, 0x80, 0x04, 0x00},
        IdCase{"Dm1FromTransmission", J1939Id(6, 65226, 3), 0xC7, 0xE2, 0xCA, 0x03},
        IdCase{"TpCmToGlobal", J1939Id(7, 0xECFF, 11), 0xE7, 0x60, 0xFF, 0x0B},
        IdCase{"TpDtToCluster", J1939Id(7, 0xEB17, 3), 0xE7, 0x43, 0x17, 0x03},
        IdCase{"DataPageSet", J1939Id(6, 0x1FEF1, 0), 0xCF, 0xE2, 0xF1, 0x00},
        IdCase{"AllIdentifierBits", 0x1FFFFFFF, 0xFF, 0xE3, 0xFF, 0xFF}),
    [](const auto& info) { return std::string(info.param.name); });

// Streams that a careless layout lets through: every shifted window passes
// between identical records when the free bytes do not change.
struct StreamCase {
  const char* name;
  std::vector<std::pair<uint32_t, Data>> frames;  // repeated to 300 records
  const char* textEvery7 = nullptr;               // a reply line between records
};

class WriterStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(WriterStream, NoShiftedWindowPasses) {
  const StreamCase& c = GetParam();
  GatewayRecordWriter writer;
  std::vector<uint8_t> stream;
  size_t records = 0;
  for (size_t i = 0; i < 300; ++i) {
    const auto& [id, data] = c.frames[i % c.frames.size()];
    GatewayRecord r = writer.Encode(id, data);
    EXPECT_EQ(Sum(r), 0u);
    stream.insert(stream.end(), r.begin(), r.end());
    ++records;
    if (c.textEvery7 && i % 7 == 6) {
      std::string t = c.textEvery7;
      std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(t.data()), t.size());
      const uint8_t lead = writer.TextLead(text);
      writer.Note({&lead, 1});
      writer.Note(text);
      stream.push_back(lead);
      stream.insert(stream.end(), t.begin(), t.end());
    }
  }
  // The receive core counts every passing window; with text in between the
  // record boundaries move, so count through it rather than by offsets.
  testing::Receiver rx;
  rx.Feed(stream);
  EXPECT_EQ(rx.stream.FramesDecoded(), records);
}

std::vector<std::pair<uint32_t, Data>> RandomFrames(unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::pair<uint32_t, Data>> frames;
  for (int i = 0; i < 300; ++i) {
    Data d;
    for (uint8_t& b : d) b = uint8_t(rng());
    frames.push_back({uint32_t(rng()) & 0x1FFFFFFF, d});
  }
  return frames;
}

const Data kFF{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
const Data kZero{};

INSTANTIATE_TEST_SUITE_P(
    Table, WriterStream,
    ::testing::Values(StreamCase{"IdenticalRecords", {{J1939Id(3, 61444, 0), kFF}}},
                      StreamCase{"AllZeroIdentifierAndData", {{0, kZero}}},
                      StreamCase{"AlternatingGroups",
                                 {{J1939Id(3, 61444, 0), kFF}, {J1939Id(3, 61443, 0), kFF}}},
                      StreamCase{"RandomFrames", RandomFrames(1)},
                      StreamCase{"OtherRandomFrames", RandomFrames(2)},
                      StreamCase{"WithVoltageReplies", RandomFrames(3), "AT DV=12.6V\r\n"},
                      StreamCase{"WithOkReplies", {{J1939Id(6, 65262, 0), kFF}}, "OK\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordEncoder, ConsecutiveSequenceNumbersKeepIdenticalFramesApart) {
  // Encoded one by one (no writer), the same frame with the next sequence
  // number must not let any shifted window pass.
  std::vector<uint8_t> stream;
  for (int seq = 0; seq < 600; ++seq) {
    GatewayRecord r = EncodeGatewayRecord(J1939Id(3, 61444, 0), kFF, uint8_t(seq));
    stream.insert(stream.end(), r.begin(), r.end());
  }
  WindowCount c = CountPassingWindows(stream);
  EXPECT_EQ(c.aligned, 600u);
  EXPECT_EQ(c.shifted, 0u);
}

TEST(WindowScan, CountsAlignedAndShiftedApart) {
  // Twenty zero bytes are no frame, and neither are windows of zeros and the
  // record's zero free bytes; two identical records pass at all 19 offsets.
  GatewayRecord ex = {0x00, 0x00, 0x00, 0x00, 0x00, 0x67, 0x80, 0x04, 0x00, 0x00,
                      0xFF, 0xFF, 0xFF, 0x80, 0x3E, 0xFF, 0xFF, 0xFF, 0x00, 0x5D};
  std::vector<uint8_t> stream(20, 0);
  stream.insert(stream.end(), ex.begin(), ex.end());
  stream.insert(stream.end(), ex.begin(), ex.end());
  WindowCount c = CountPassingWindows(stream);
  EXPECT_EQ(c.aligned, 2u);
  EXPECT_EQ(c.shifted, 19u);
}

}  // namespace
}  // namespace dashvell
