#include "core/ReceiveStream.h"

#include "core/FrameRouting.h"
#include "core/VoltageReply.h"

namespace dashvell {

ReceiveStream::ReceiveStream(VehicleState& state) : state_(state) {}

void ReceiveStream::ReceiveByte(uint8_t b) {
  // Text replies and binary records share the stream with nothing to tell
  // them apart, so every byte goes through both collectors.
  const std::span<const uint8_t> line = replyLine_.Collect(b);
  if (!line.empty()) ParseVoltageReply(line, state_);

  if (!window_.Push(b)) return;
  // During self-test the generator owns the values: frames are neither
  // counted nor decoded.
  if (state_.selfTest) return;
  state_.frameSeen = 1;
  ++framesDecoded_;
  DecodeFrame(window_.Frame(), state_, trackers_);
}

void ReceiveStream::ReceiveBytes(const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) ReceiveByte(bytes[i]);
}

}  // namespace dashvell
