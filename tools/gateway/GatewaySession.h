// The gateway's behaviour without any I/O: commands in, bytes out. Streams
// nothing until "AT ST1"; "AT EH" gets one HOURS record, "AT RV" a voltage
// reply, other AT lines "OK"; with silentAfter it plays a link loss.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "core/GatewayRecord.h"
#include "tools/gateway/CommandReader.h"
#include "tools/gateway/FrameSource.h"

namespace dashvell {

struct SessionOptions {
  // Seconds of streaming after which the gateway falls silent, once: it then
  // ignores everything, and after at least silenceFor seconds the next
  // "AT ST1" brings the stream back.
  std::optional<double> silentAfter;
  double silenceFor = 0;
  // Random bytes after every record: line noise the writer cannot know of.
  unsigned noiseBytes = 0;
};

class GatewaySession {
 public:
  GatewaySession(std::unique_ptr<FrameSource> source, SessionOptions options = {});

  // now: seconds on the caller's steady clock.
  void Receive(uint8_t b, double now);
  void Tick(double now);

  // The bytes to send since the last call.
  std::vector<uint8_t> TakeOutput();

  bool Streaming() const { return streaming_; }
  bool Silent() const { return silentSince_.has_value(); }
  bool SourceEnded() const { return ended_; }
  size_t RecordsSent() const { return records_; }

 private:
  void Answer(Command c, double now);
  void SendFrame(const CanFrame& f);
  void SendText(const char* text);
  double SourceTime(double now) const { return now - *streamStart_; }

  std::unique_ptr<FrameSource> source_;
  SessionOptions options_;
  CommandReader reader_;
  GatewayRecordWriter writer_;
  std::vector<uint8_t> out_;
  std::vector<CanFrame> due_;
  std::optional<double> streamStart_;  // the first "AT ST1": the source's time 0
  std::optional<double> silentSince_;
  bool silenceDone_ = false;
  bool streaming_ = false;
  bool ended_ = false;
  size_t records_ = 0;
  std::minstd_rand noise_{20121201};
};

}  // namespace dashvell
