// Where the link hands the bytes of one read: a chunk at a time, in order of
// arrival. The program's sink feeds the receive stream; tests record.
#pragma once

#include <cstdint>
#include <span>

#include "core/ReceiveStream.h"

namespace dashvell {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Receive(std::span<const uint8_t> bytes) = 0;
};

// Hands every byte of every chunk, in order, to ReceiveStream::ReceiveByte.
class ReceiveStreamSink final : public ByteSink {
 public:
  explicit ReceiveStreamSink(ReceiveStream& stream) : stream_(stream) {}
  void Receive(std::span<const uint8_t> bytes) override {
    for (uint8_t b : bytes) stream_.ReceiveByte(b);
  }

 private:
  ReceiveStream& stream_;
};

}  // namespace dashvell
