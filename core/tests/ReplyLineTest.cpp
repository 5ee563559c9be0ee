#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ReplyLine.h"

namespace dashvell {
namespace {

struct KeepCase {
  const char* name;
  int bytes;
};

// Around the full line and around where the sliding buffer moves the line
// back to its start.
const KeepCase kKeeps[] = {
    {"BelowFull", 29}, {"Full", 30},       {"OneOver", 31},     {"BeforeMove", 127},
    {"AtMove", 128},   {"AfterMove", 129}, {"ManyMoves", 1000},
};

class ReplyLineKeeps : public ::testing::TestWithParam<KeepCase> {};

TEST_P(ReplyLineKeeps, TheLast30BytesInOrder) {
  ReplyLine line;
  std::vector<uint8_t> sent;
  for (int i = 0; i < GetParam().bytes; ++i) {
    // Letters and digits only: no blank, CR or LF to restart or end the line.
    const uint8_t b = uint8_t("abcdefghijklmnopqrstuvwxyz0123456789"[(i * 7) % 36]);
    sent.push_back(b);
    EXPECT_TRUE(line.Collect(b).empty());
  }
  const size_t kept = std::min<size_t>(sent.size(), ReplyLine::kCapacity);
  const std::vector<uint8_t> expected(sent.end() - kept, sent.end());
  const std::span<const uint8_t> got = line.Bytes();
  EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.end()), expected);
}

INSTANTIATE_TEST_SUITE_P(ReplyLine, ReplyLineKeeps, ::testing::ValuesIn(kKeeps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReplyLine, HandsOutTheLineInCapitals) {
  ReplyLine line;
  std::span<const uint8_t> done;
  for (char c : std::string("xyz at dv=12.3v\r\n")) done = line.Collect(uint8_t(c));
  EXPECT_EQ(std::string(done.begin(), done.end()), "AT DV=12.3V\r\n");
  EXPECT_EQ(line.Count(), 0);
}

}  // namespace
}  // namespace dashvell
