// Where the streamed frames come from: the built-in drive or a candump log.
// A source runs on its own clock, the seconds since streaming first started.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/gateway/BroadcastSchedule.h"
#include "tools/gateway/CanFrame.h"
#include "tools/gateway/CandumpReader.h"

namespace dashvell {

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Appends the frames due up to time, in order; false once the source has
  // nothing more to send.
  virtual bool Collect(double time, std::vector<CanFrame>& out) = 0;
  // The engine's answer to an engine-hours request, if it has one.
  virtual std::optional<CanFrame> HoursFrame(double time) = 0;
  // What the gateway's own voltage input reads.
  virtual double InputVolts(double time) = 0;
};

struct ScenarioOptions {
  double recordsPerSecond = 0;   // 0: the natural broadcast rates
  std::optional<double> holdAt;  // freeze the drive at this time of its timeline
};
std::unique_ptr<FrameSource> MakeScenarioSource(const ScenarioOptions& options);

// Replays with the log's timing; answers engine-hours requests with the last
// HOURS frame and voltage requests with the last VEP1 battery potential the
// log carried (12.6 V before any).
std::unique_ptr<FrameSource> MakeReplaySource(std::unique_ptr<CandumpReplay> replay);

}  // namespace dashvell
