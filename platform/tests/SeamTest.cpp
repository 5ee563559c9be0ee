#include <gtest/gtest.h>

#include "platform/CrtRand.h"
#include "platform/RecordingControl.h"

namespace dashvell {
namespace {

TEST(CrtRand, FollowsTheClassicSequenceFromSeedOne) {
  CrtRand r;
  EXPECT_EQ(r.Next(), 41);
  EXPECT_EQ(r.Next(), 18467);
  EXPECT_EQ(r.Next(), 6334);
  EXPECT_EQ(r.Next(), 26500);
  for (int i = 0; i < 100000; ++i) {
    int v = r.Next();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, CrtRand::kMax);
  }
}

TEST(RecordingControl, AnswersQueuedThenFixedResultsAndLogsBoth) {
  RecordingControl c;
  c.SetGetResult(20, Variant::Bool(false));
  c.QueueGetResult(20, Variant::Bool(true));
  EXPECT_TRUE(c.GetProperty(20).boolValue());
  EXPECT_FALSE(c.GetProperty(20).boolValue());
  c.PutProperty(4, Variant::I2(7));
  ASSERT_EQ(c.log().size(), 3u);
  EXPECT_EQ(c.log()[2].access, RecordingControl::Access::Put);
  EXPECT_EQ(c.log()[2].value, Variant::I2(7));
  EXPECT_EQ(c.Puts(4).size(), 1u);
}

}  // namespace
}  // namespace dashvell
