#include "core/FrameRouting.h"

#include "core/ParameterDecoding.h"

namespace dashvell {

namespace {

constexpr uint8_t kRequestPf = 234;           // PGN 59904
constexpr uint8_t kTransportDataPf = 235;     // TP.DT, PGN 60160
constexpr uint8_t kTransportConnectPf = 236;  // TP.CM, PGN 60416
constexpr uint8_t kFirstPdu2Pf = 240;
constexpr uint8_t kGlobalAddress = 255;
constexpr uint8_t kInstrumentClusterAddress = 23;

// PDU1: only the transport protocol, sent to everyone or to the cluster.
void RoutePdu1(const GatewayFrame& frame, BamTrackers& trackers, VehicleState& state) {
  const auto group = Pdu1SourceGroup(frame.Sa());
  if (!group) return;
  const uint8_t destination = frame.Ps();
  if (destination != kGlobalAddress && destination != kInstrumentClusterAddress) return;
  switch (frame.Pf()) {
    case kTransportConnectPf:
      OnTransportConnect(trackers, *group, frame.Data());
      break;
    case kTransportDataPf:
      OnTransportData(trackers, state, *group, frame.Data());
      break;
    default:
      break;
  }
}

void RoutePdu2(const GatewayFrame& frame, VehicleState& state) {
  const auto group = Pdu2SourceGroup(frame.Sa());
  if (!group) return;
  const uint16_t pgn = uint16_t(frame.Pf() << 8 | frame.Ps());
  if (pgn == kDm1Pgn) {
    ApplyLampStatus(state, *group, frame.Data()[0]);
  } else {
    // The decoder knows which groups each sender's messages are taken from.
    DecodeParameterGroup(state, *group, pgn, frame.Data());
  }
}

}  // namespace

void DecodeFrame(const GatewayFrame& frame, VehicleState& state, BamTrackers& trackers) {
  if (frame.Edp() || frame.Dp()) return;
  const uint8_t pf = frame.Pf();
  if (pf == kRequestPf) return;
  if (pf < kFirstPdu2Pf) {
    RoutePdu1(frame, trackers, state);
  } else {
    RoutePdu2(frame, state);
  }
}

}  // namespace dashvell
