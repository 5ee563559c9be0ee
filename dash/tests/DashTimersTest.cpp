// The timer dispatch: which pass each identifier runs, and the end of pass
// that follows every timer event.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dash/DashTimers.h"
#include "dash/tests/HousekeepingFixture.h"

namespace dashvell {
namespace {

using testing::FakePanel;
using testing::HousekeepingFixture;

struct TimerCase {
  const char* name;
  int id;
  int32_t voltFromCan;
  bool refreshes;
  bool housekeeps;
  std::vector<std::string> windowCalls;
};

class TimerDispatch : public ::testing::TestWithParam<TimerCase> {};

TEST_P(TimerDispatch, RunsItsPassThenSetsTheRadioAndPushes) {
  const TimerCase& c = GetParam();
  HousekeepingFixture f;
  FakePanel fake;
  RefreshCycle refresh(f.state, fake.panel);
  DashTimers timers(f.state, refresh, f.cycle, f.window);
  f.state.voltFromCan = c.voltFromCan;
  f.clock.now = {9, 5, 7};

  timers.OnTimer(c.id);

  EXPECT_EQ(!fake.log.empty(), c.refreshes);
  EXPECT_EQ(f.cycle.secondsCounter() == 1, c.housekeeps);
  EXPECT_EQ(f.window.calls, c.windowCalls);
}

INSTANTIATE_TEST_SUITE_P(
    Timers, TimerDispatch,
    ::testing::Values(
        TimerCase{"RefreshCan", 1, 1, true, false, {"radio 0", "push"}},
        TimerCase{"RefreshAdc", 1, 0, true, false, {"radio 1", "push"}},
        TimerCase{"Housekeeping", 2, 1, false, true, {"clock 9:5:7", "radio 0", "push"}},
        TimerCase{"OtherTimerOnlyEndsThePass", 7, 0, false, false, {"radio 1", "push"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dashvell
