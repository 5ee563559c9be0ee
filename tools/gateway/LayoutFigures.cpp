#include "tools/gateway/LayoutFigures.h"

#include <vector>

#include "core/GatewayRecord.h"
#include "tools/gateway/BroadcastSchedule.h"
#include "tools/gateway/Scenario.h"

namespace dashvell {

LayoutFigures MeasureLayout(double seconds) {
  if (seconds <= 0) seconds = ScenarioLoopSeconds();
  BroadcastSchedule schedule([](double t) { return ScenarioValuesAt(t); });
  GatewayRecordWriter writer;
  std::vector<uint8_t> stream, stateless, zero;
  uint8_t sequence = 0;
  size_t records = 0;
  while (schedule.NextDue() < seconds) {
    const CanFrame f = schedule.PopNext(schedule.NextDue()).frame;
    GatewayRecord a = writer.Encode(f.id, f.data);
    GatewayRecord b = EncodeGatewayRecord(f.id, f.data, sequence++);
    GatewayRecord c = b;
    for (int i : {0, 1, 2, 3, 4, 9, 18}) c[i] = 0;
    c[6] &= 0xE3;
    unsigned sum = 0;
    for (int i = 0; i < 19; ++i) sum += c[i];
    c[19] = uint8_t(-sum);
    stream.insert(stream.end(), a.begin(), a.end());
    stateless.insert(stateless.end(), b.begin(), b.end());
    zero.insert(zero.end(), c.begin(), c.end());
    ++records;
  }
  LayoutFigures f;
  f.records = records;
  if (records == 0) return f;
  const double per = 1000.0 / double(records);
  f.streamPer1000 = double(CountPassingWindows(stream).shifted) * per;
  f.statelessPer1000 = double(CountPassingWindows(stateless).shifted) * per;
  f.zeroFreeBytesPer1000 = double(CountPassingWindows(zero).shifted) * per;
  return f;
}

}  // namespace dashvell
