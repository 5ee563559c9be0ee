#include "tools/gateway/BroadcastSchedule.h"

#include <iterator>

#include "tools/gateway/ParameterEncoders.h"

namespace dashvell {
namespace {

enum class Group {
  kEec1,
  kEec2,
  kCcvs,
  kLfe,
  kEt1,
  kEflP1,
  kIc1,
  kDd,
  kVep1,
  kOi,
  kVd,
  kTrf1,
  kDm1Engine,
  kDm1Transmission,
  kDm1Brakes
};

struct Broadcast {
  Group group;
  double period;  // seconds
  double offset;  // first transmission, so that the groups do not bunch up
};

constexpr Broadcast kBroadcasts[] = {
    {Group::kEec1, 0.020, 0.000},    {Group::kEec2, 0.100, 0.005},
    {Group::kCcvs, 0.100, 0.025},    {Group::kLfe, 0.100, 0.045},
    {Group::kEt1, 1.0, 0.110},       {Group::kEflP1, 1.0, 0.210},
    {Group::kIc1, 1.0, 0.310},       {Group::kDd, 1.0, 0.410},
    {Group::kVep1, 1.0, 0.510},      {Group::kOi, 1.0, 0.610},
    {Group::kVd, 1.0, 0.710},        {Group::kTrf1, 1.0, 0.810},
    {Group::kDm1Engine, 1.0, 0.150}, {Group::kDm1Transmission, 1.0, 0.450},
    {Group::kDm1Brakes, 1.0, 0.750},
};

constexpr double kBamPacketGap = 0.050;  // J1939-21 allows 50 to 200 ms

std::vector<CanFrame> Build(Group g, const VehicleValues& v) {
  switch (g) {
    case Group::kEec1:
      return {EncodeEec1(v)};
    case Group::kEec2:
      return {EncodeEec2(v)};
    case Group::kCcvs:
      return {EncodeCcvs(v)};
    case Group::kLfe:
      return {EncodeLfe(v)};
    case Group::kEt1:
      return {EncodeEt1(v)};
    case Group::kEflP1:
      return {EncodeEflP1(v)};
    case Group::kIc1:
      return {EncodeIc1(v)};
    case Group::kDd:
      return {EncodeDd(v)};
    case Group::kVep1:
      return {EncodeVep1(v)};
    case Group::kOi:
      return {EncodeOi(v)};
    case Group::kVd:
      return {EncodeVd(v)};
    case Group::kTrf1:
      return {EncodeTrf1(v)};
    case Group::kDm1Engine:
      return Dm1Frames(v.engine, kEngineAddress);
    case Group::kDm1Transmission:
      return Dm1Frames(v.transmission, kTransmissionAddress);
    case Group::kDm1Brakes:
      return Dm1Frames(v.brakes, kBrakesAddress);
  }
  return {};
}

}  // namespace

BroadcastSchedule::BroadcastSchedule(ValuesAt values) : values_(std::move(values)) {
  for (size_t i = 0; i < std::size(kBroadcasts); ++i) {
    pending_.push_back({kBroadcasts[i].offset, int(i)});
  }
}

double BroadcastSchedule::NaturalRate() {
  double rate = 0;
  for (const Broadcast& b : kBroadcasts) rate += 1 / b.period;
  return rate;
}

size_t BroadcastSchedule::Earliest() const {
  size_t best = 0;
  for (size_t i = 1; i < pending_.size(); ++i) {
    // Queued BAM packets go before a periodic group due at the same moment.
    const Pending& a = pending_[i];
    const Pending& b = pending_[best];
    if (a.due < b.due || (a.due == b.due && a.entry < b.entry)) best = i;
  }
  return best;
}

double BroadcastSchedule::NextDue() const {
  return pending_[Earliest()].due;
}

TimedFrame BroadcastSchedule::PopNext(double valuesTime) {
  const size_t i = Earliest();
  Pending p = pending_[i];
  if (p.entry < 0) {
    pending_.erase(pending_.begin() + long(i));
    return {p.due, p.frame};
  }
  const Broadcast& b = kBroadcasts[p.entry];
  // Counting periods from the offset keeps the schedule free of drift.
  pending_[i].due += b.period;
  std::vector<CanFrame> frames = Build(b.group, values_(valuesTime));
  for (size_t k = 1; k < frames.size(); ++k) {
    pending_.push_back({p.due + double(k) * kBamPacketGap, -1, frames[k]});
  }
  return {p.due, frames.front()};
}

}  // namespace dashvell
