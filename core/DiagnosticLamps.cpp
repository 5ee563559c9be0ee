#include "core/DiagnosticLamps.h"

namespace dashvell {

namespace {

constexpr LampPair kLampPairs[kSourceGroupCount] = {
    {&VehicleState::engineRedLamp, &VehicleState::engineAmberLamp},
    {&VehicleState::transRedLamp, &VehicleState::transAmberLamp},
    {&VehicleState::brakeRedLamp, &VehicleState::brakeAmberLamp},
};

constexpr uint8_t kBamControlByte = 32;

}  // namespace

LampPair LampPairOf(SourceGroup group) {
  return kLampPairs[size_t(group)];
}

void ApplyLampStatus(VehicleState& state, SourceGroup group, uint8_t lampStatus) {
  const LampPair lamps = LampPairOf(group);
  ApplyTwoBitStatus(state.*lamps.red, lampStatus >> 4);
  ApplyTwoBitStatus(state.*lamps.amber, lampStatus >> 2);
}

void OnTransportConnect(BamTrackers& trackers, SourceGroup group, DataBytes data) {
  // Request to send, clear to send, acknowledgements and aborts belong to
  // addressed transfers, which the panel never takes part in.
  if (data[0] != kBamControlByte) return;
  // Bytes 2, 3 and 5 (size and maximum packets) are not needed to find the
  // first packet; byte 8, the PGN's top bits, is always 0 on data page 0.
  BamTracker& t = trackers[group];
  t.packetCount = data[3];
  t.pgn = uint16_t(RawValue(data, 6, 2));
}

void OnTransportData(BamTrackers& trackers, VehicleState& state, SourceGroup group,
                     DataBytes data) {
  BamTracker& t = trackers[group];
  if (t.pgn != kDm1Pgn) return;
  const uint8_t sequence = data[0];
  if (sequence == 1) {
    // The DM1 message starts with its lamp status byte. With a single packet
    // announced the transfer stays followed: packet 1 is handled here first.
    ApplyLampStatus(state, group, data[1]);
  } else if (sequence == t.packetCount) {
    t = BamTracker{};
  }
}

}  // namespace dashvell
