// When each parameter group goes on the bus: the broadcast rates of real
// trucks (EEC1 every 20 ms; EEC2, CCVS, LFE every 100 ms; the rest and the
// three DM1 every second), staggered, with BAM packets 50 ms apart.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/gateway/CanFrame.h"
#include "tools/gateway/VehicleValues.h"

namespace dashvell {

struct TimedFrame {
  double due = 0;  // seconds from the start of the drive
  CanFrame frame;
};

class BroadcastSchedule {
 public:
  // values(t) gives the vehicle at t; frames are built from it when they go out.
  using ValuesAt = std::function<VehicleValues(double)>;
  explicit BroadcastSchedule(ValuesAt values);

  // The frame that falls due next, in due order (ties in table order), built
  // from the vehicle at valuesTime. The schedule's own clock is its frames'
  // due times: a caller that wants N records a second pops one every 1/N s,
  // whatever they say, and keeps the scenario's mix of groups.
  TimedFrame PopNext(double valuesTime);
  double NextDue() const;

  // Records a second of the mix when no BAM is under way.
  static double NaturalRate();

 private:
  struct Pending {
    double due;
    int entry;         // index into the broadcast table, or -1 for a queued frame
    CanFrame frame{};  // the queued frame (BAM packets)
  };
  size_t Earliest() const;
  ValuesAt values_;
  std::vector<Pending> pending_;
};

}  // namespace dashvell
