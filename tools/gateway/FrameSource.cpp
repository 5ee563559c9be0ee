#include "tools/gateway/FrameSource.h"

#include "tools/gateway/ParameterEncoders.h"
#include "tools/gateway/Scenario.h"

namespace dashvell {
namespace {

class ScenarioSource : public FrameSource {
 public:
  explicit ScenarioSource(const ScenarioOptions& o)
      : options_(o), schedule_([](double t) { return ScenarioValuesAt(t); }) {}

  bool Collect(double time, std::vector<CanFrame>& out) override {
    if (options_.recordsPerSecond > 0) {
      // One record per slot, the mix's next one, whatever its own due time.
      for (; double(slot_) / options_.recordsPerSecond <= time; ++slot_) {
        out.push_back(
            schedule_.PopNext(ValuesTime(double(slot_) / options_.recordsPerSecond)).frame);
      }
      return true;
    }
    while (schedule_.NextDue() <= time) {
      out.push_back(schedule_.PopNext(ValuesTime(schedule_.NextDue())).frame);
    }
    return true;
  }

  std::optional<CanFrame> HoursFrame(double time) override {
    return EncodeHours(ScenarioValuesAt(ValuesTime(time)));
  }

  double InputVolts(double time) override {
    return ScenarioValuesAt(ValuesTime(time)).batteryVolts;
  }

 private:
  double ValuesTime(double t) const { return options_.holdAt ? *options_.holdAt : t; }
  ScenarioOptions options_;
  BroadcastSchedule schedule_;
  uint64_t slot_ = 0;
};

class ReplaySource : public FrameSource {
 public:
  explicit ReplaySource(std::unique_ptr<CandumpReplay> r) : replay_(std::move(r)) {
    next_ = replay_->Next();
  }

  bool Collect(double time, std::vector<CanFrame>& out) override {
    while (next_ && next_->time <= time) {
      Remember(next_->frame);
      out.push_back(next_->frame);
      next_ = replay_->Next();
    }
    return next_.has_value();
  }

  std::optional<CanFrame> HoursFrame(double) override { return hours_; }
  double InputVolts(double) override { return volts_; }

 private:
  void Remember(const CanFrame& f) {
    const uint32_t pgn = PgnOf(f.id);
    if (pgn == kPgnHours) hours_ = f;
    if (pgn == kPgnVep1) {
      const unsigned raw = f.data[4] | (f.data[5] << 8);  // SPN 168, 0.05 V/bit
      if (raw <= 64255) volts_ = raw * 0.05;
    }
  }
  std::unique_ptr<CandumpReplay> replay_;
  std::optional<ReplayFrame> next_;
  std::optional<CanFrame> hours_;
  double volts_ = 12.6;
};

}  // namespace

std::unique_ptr<FrameSource> MakeScenarioSource(const ScenarioOptions& options) {
  return std::make_unique<ScenarioSource>(options);
}

std::unique_ptr<FrameSource> MakeReplaySource(std::unique_ptr<CandumpReplay> replay) {
  return std::make_unique<ReplaySource>(std::move(replay));
}

}  // namespace dashvell
