// ReceiveByte on a realistic mixed gateway stream: every routed kind of frame
// at truck broadcast rates, unrouted traffic, a BAM DM1 and voltage replies.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/GatewayRecord.h"
#include "core/ReceiveStream.h"
#include "core/VehicleState.h"

namespace {

using dashvell::J1939Id;
using Data = std::array<uint8_t, 8>;

struct Traffic {
  uint32_t canId;
  Data data;
  int perSecond;
};

// One second of a busy bus as the gateway relays it.
const Traffic kSecond[] = {
    {J1939Id(3, 61444, 0), {0xF0, 0x7D, 0x7D, 0xE0, 0x2E, 0x00, 0xF0, 0xFF}, 50},   // EEC1
    {J1939Id(3, 61443, 0), {0xFF, 0x64, 0x2D, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 20},   // EEC2
    {J1939Id(6, 65265, 0), {0xFF, 0x4D, 0x58, 0xFD, 0xFF, 0xFF, 0xFF, 0xFF}, 10},   // CCVS
    {J1939Id(6, 65266, 0), {0x2C, 0x01, 0x00, 0x0E, 0xFF, 0xFF, 0xFF, 0xFF}, 10},   // LFE
    {J1939Id(6, 65262, 0), {0x7D, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1},    // ET1
    {J1939Id(6, 65263, 0), {0xFF, 0xFF, 0xFF, 0x4B, 0xFF, 0xFF, 0xFF, 0xFF}, 2},    // EFL/P1
    {J1939Id(6, 65270, 0), {0xFF, 0x40, 0x46, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 2},    // IC1
    {J1939Id(6, 65271, 0), {0xFF, 0xFF, 0xFF, 0xFF, 0x1A, 0x01, 0x18, 0x01}, 1},    // VEP1
    {J1939Id(6, 65276, 0), {0xFF, 0xAF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1},    // DD
    {J1939Id(6, 65279, 0), {0xFC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1},    // OI
    {J1939Id(6, 65248, 0), {0xC8, 0x00, 0x00, 0x00, 0x80, 0x84, 0x1E, 0x00}, 1},    // VD
    {J1939Id(6, 65253, 254), {0x10, 0x27, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, 1},  // HOURS
    {J1939Id(6, 65272, 3), {0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0x2C, 0xFF, 0xFF}, 1},    // TRF1
    {J1939Id(6, 65226, 0), {0x04, 0xFF, 0x6E, 0x00, 0x03, 0x01, 0xFF, 0xFF}, 1},    // DM1 engine
    {J1939Id(6, 65226, 11), {0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF}, 1},   // DM1 brakes
    {J1939Id(7, 0xECFF, 3), {32, 22, 0, 4, 0xFF, 0xCA, 0xFE, 0x00}, 1},             // BAM DM1
    {J1939Id(7, 0xEBFF, 3), {1, 0x10, 0xFF, 0x7C, 0x00, 0x0E, 0x01, 0xA8}, 1},      // TP.DT 1
    {J1939Id(7, 0xEBFF, 3), {2, 0x02, 0x00, 0x0E, 0x01, 0xFF, 0xFF, 0xFF}, 1},      // TP.DT 2
    {J1939Id(7, 0xEBFF, 3), {3, 0x00, 0x0E, 0x01, 0x11, 0x22, 0x33, 0x44}, 1},      // TP.DT 3
    {J1939Id(7, 0xEBFF, 3), {4, 0x55, 0x66, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 1},      // TP.DT 4
    {J1939Id(6, 65132, 0), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x10}, 20},  // TCO1, unrouted
    {J1939Id(3, 61442, 3), {0xC0, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 20},  // ETC1, unrouted
    {J1939Id(6, 61441, 11),
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     10},                                                           // EBC1, unrouted
    {J1939Id(6, 0xEA00, 0), {0xE5, 0xFE, 0x00, 0, 0, 0, 0, 0}, 1},  // request
};

std::vector<uint8_t> MixedStream(int seconds) {
  std::vector<uint8_t> bytes;
  dashvell::GatewayRecordWriter writer;
  const std::string_view replies = "AT DV=12.6V\r\nOK\r\n";
  for (int s = 0; s < seconds; ++s) {
    // Interleave the groups the way their periods spread them over a second.
    for (int slot = 0; slot < 50; ++slot) {
      for (const Traffic& t : kSecond) {
        if (slot * t.perSecond / 50 == (slot + 1) * t.perSecond / 50 && t.perSecond != 50) continue;
        const auto r = writer.Encode(t.canId, t.data);
        bytes.insert(bytes.end(), r.begin(), r.end());
      }
    }
    const std::span<const uint8_t> text(reinterpret_cast<const uint8_t*>(replies.data()),
                                        replies.size());
    writer.Note(text);
    bytes.insert(bytes.end(), text.begin(), text.end());
  }
  return bytes;
}

const std::vector<uint8_t>& Stream() {
  static const std::vector<uint8_t> stream = MixedStream(64);
  return stream;
}

void BM_ReceiveByte(benchmark::State& bench) {
  const std::vector<uint8_t>& bytes = Stream();
  dashvell::VehicleState state;
  dashvell::ReceiveStream stream(state);
  for (auto _ : bench) {
    for (uint8_t b : bytes) stream.ReceiveByte(b);
    benchmark::DoNotOptimize(state);
  }
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(bytes.size()));
  bench.counters["frames/iteration"] =
      benchmark::Counter(double(stream.FramesDecoded()) / double(bench.iterations()));
  bench.counters["stream bytes"] = double(bytes.size());
}
BENCHMARK(BM_ReceiveByte);

void BM_ReceiveBytes(benchmark::State& bench) {
  const std::vector<uint8_t>& bytes = Stream();
  dashvell::VehicleState state;
  dashvell::ReceiveStream stream(state);
  for (auto _ : bench) {
    // A serial read hands over what has arrived; 256 bytes is a typical read.
    for (size_t at = 0; at < bytes.size(); at += 256) {
      stream.ReceiveBytes(bytes.data() + at, std::min<size_t>(256, bytes.size() - at));
    }
    benchmark::DoNotOptimize(state);
  }
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ReceiveBytes);

}  // namespace

BENCHMARK_MAIN();
