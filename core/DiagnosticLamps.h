// Warning lamps from DM1 (PGN 65226): the lamp status byte of a single-frame
// DM1, or of the first packet of a broadcast (BAM) transfer, which is
// followed per sender just far enough to find that byte.
#pragma once

#include <array>
#include <cstdint>

#include "core/J1939Raw.h"
#include "core/SourceGroup.h"
#include "core/VehicleState.h"

namespace dashvell {

inline constexpr uint16_t kDm1Pgn = 65226;  // 0xFECA

// The red stop and amber warning lamp flags of one sender.
struct LampPair {
  int32_t VehicleState::*red;
  int32_t VehicleState::*amber;
};

LampPair LampPairOf(SourceGroup group);

// Sets the group's lamps from a DM1 lamp status byte: bits 6-5 (J1939
// numbering, bit 8 the highest) are the red stop lamp, bits 4-3 the amber
// warning lamp, each by the two-bit rule; the malfunction and protect lamps
// are not shown.
void ApplyLampStatus(VehicleState& state, SourceGroup group, uint8_t lampStatus);

// What a sender announced in its last BAM: the number of packets and the low
// 16 bits of the PGN. A zero tracker follows nothing.
struct BamTracker {
  uint8_t packetCount = 0;
  uint16_t pgn = 0;
};

// One tracker per source group.
struct BamTrackers {
  std::array<BamTracker, kSourceGroupCount> bySource{};
  BamTracker& operator[](SourceGroup g) { return bySource[size_t(g)]; }
  const BamTracker& operator[](SourceGroup g) const { return bySource[size_t(g)]; }
};

// TP.CM (PGN 60416): a BAM (control byte 32) replaces the group's tracker
// with its packet count and PGN; every other control byte is ignored.
void OnTransportConnect(BamTrackers& trackers, SourceGroup group, DataBytes data);

// TP.DT (PGN 60160): while the group follows a DM1, packet 1 carries the lamp
// status byte and the announced last packet ends the transfer.
void OnTransportData(BamTrackers& trackers, VehicleState& state, SourceGroup group, DataBytes data);

}  // namespace dashvell
