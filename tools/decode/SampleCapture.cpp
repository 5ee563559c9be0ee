// dashvell-sample-capture OUT: writes a small capture of the gateway's serial
// stream (a few records of several parameter groups, a BAM DM1 and a pair of
// voltage replies) for trying dashvell-decode without a truck.
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <vector>

#include "core/GatewayRecord.h"

namespace {

using dashvell::J1939Id;
using Data = std::array<uint8_t, 8>;

struct SampleFrame {
  uint8_t priority;
  uint32_t pgn;  // PDU1 groups carry the destination in the low byte
  uint8_t source;
  Data data;
};

// An engine at 1500 rpm, 55 mph on cruise, warm, with an amber engine lamp
// and a transmission red lamp sent by a two-packet BAM.
const SampleFrame kFrames[] = {
    {3, 61444, 0, {0xF0, 0x7D, 0x7D, 0xE0, 0x2E, 0x00, 0xF0, 0xFF}},  // EEC1 1500 rpm
    {3, 61443, 0, {0xFF, 0x64, 0x2D, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // EEC2 40 %, 45 %
    {6, 65265, 0, {0xFF, 0x4D, 0x58, 0xFD, 0xFF, 0xFF, 0xFF, 0xFF}},  // CCVS 88.3 km/h, cruise
    {6, 65262, 0, {0x7D, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // ET1 85 degC
    {6, 65263, 0, {0xFF, 0xFF, 0xFF, 0x4B, 0xFF, 0xFF, 0xFF, 0xFF}},  // EFL/P1 300 kPa
    {6, 65266, 0, {0x2C, 0x01, 0x00, 0x0E, 0xFF, 0xFF, 0xFF, 0xFF}},  // LFE 15 L/h, 7 km/L
    {6, 65270, 0, {0xFF, 0x40, 0x46, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // IC1 128 kPa, 30 degC
    {6, 65271, 0, {0xFF, 0xFF, 0xFF, 0xFF, 0x1A, 0x01, 0x18, 0x01}},  // VEP1 14.1 / 14.0 V
    {6, 65276, 0, {0xFF, 0xAF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // DD 70 %
    {6, 65279, 0, {0xFC, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // OI no water
    {6, 65248, 0, {0xC8, 0x00, 0x00, 0x00, 0x80, 0x84, 0x1E, 0x00}},  // VD 25 km, 250000 km
    {6, 65253, 0, {0x10, 0x27, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}},  // HOURS 500 h
    {6, 65272, 3, {0xFF, 0xFF, 0xFF, 0xFF, 0x20, 0x2C, 0xFF, 0xFF}},  // transmission oil 80 degC
    {6, 65226, 0, {0x04, 0xFF, 0x6E, 0x00, 0x03, 0x01, 0xFF, 0xFF}},  // DM1 engine amber
    {7, 0xECFF, 3, {32, 14, 0, 2, 0xFF, 0xCA, 0xFE, 0x00}},           // TP.CM BAM of a DM1
    {7, 0xEBFF, 3, {1, 0x10, 0xFF, 0x7C, 0x00, 0x0E, 0x01, 0xA8}},    // TP.DT 1: red lamp
    {7, 0xEBFF, 3, {2, 0x02, 0x00, 0x0E, 0x01, 0xFF, 0xFF, 0xFF}},    // TP.DT 2: last
};

// The gateway answers a voltage request with a reply line; the first one
// after connecting is only counted, so the capture carries two.
constexpr const char kVoltageReplies[] = "AT DV=12.6V\r\nAT DV=12.6V\r\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dashvell-sample-capture OUT\n");
    return 2;
  }
  // The writer picks the free bytes so that no window straddling two records
  // passes the checksum: the capture decodes as exactly one window per record.
  dashvell::GatewayRecordWriter writer;
  std::vector<uint8_t> bytes;
  for (const SampleFrame& f : kFrames) {
    const auto record = writer.Encode(J1939Id(f.priority, f.pgn, f.source), f.data);
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  const std::span<const uint8_t> replies(reinterpret_cast<const uint8_t*>(kVoltageReplies),
                                         std::strlen(kVoltageReplies));
  writer.Note(replies);
  bytes.insert(bytes.end(), replies.begin(), replies.end());

  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::fprintf(stderr, "dashvell-sample-capture: cannot write %s: %s\n", argv[1],
                 std::strerror(errno));
    return 1;
  }
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  if (std::fclose(out) != 0 || !ok) {
    std::fprintf(stderr, "dashvell-sample-capture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
