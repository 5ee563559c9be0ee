// The gateway receive stream: every received byte passes the reply-line
// collector, then the 20-byte frame window; frames are routed to the J1939
// decoders and the lamp and transport handlers. One object, owned by the
// dashboard, holds the collectors and the broadcast trackers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/DiagnosticLamps.h"
#include "core/FrameWindow.h"
#include "core/ReplyLine.h"
#include "core/VehicleState.h"

namespace dashvell {

class ReceiveStream {
 public:
  explicit ReceiveStream(VehicleState& state);

  // One received byte, in arrival order; a frame or reply line it completes
  // is decoded before this returns.
  void ReceiveByte(uint8_t b);
  // The same for every byte of one read, in order.
  void ReceiveBytes(const uint8_t* bytes, size_t count);

  // Windows that passed the checksum outside self-test and went to
  // DecodeFrame, since construction.
  uint64_t FramesDecoded() const { return framesDecoded_; }
  // Bytes held by the reply-line collector, 0 to 30.
  uint8_t ReplyLineCount() const { return replyLine_.Count(); }
  const BamTracker& Tracker(SourceGroup group) const { return trackers_[group]; }

 private:
  VehicleState& state_;
  ReplyLine replyLine_;
  FrameWindow window_;
  BamTrackers trackers_;
  uint64_t framesDecoded_ = 0;
};

}  // namespace dashvell
