#include "tools/gateway/GatewaySession.h"

#include <cstdio>
#include <cstring>

namespace dashvell {

GatewaySession::GatewaySession(std::unique_ptr<FrameSource> source, SessionOptions options)
    : source_(std::move(source)), options_(options) {}

void GatewaySession::Receive(uint8_t b, double now) {
  if (std::optional<Command> c = reader_.Feed(b)) Answer(*c, now);
}

void GatewaySession::Answer(Command c, double now) {
  if (silentSince_) {
    // A lost link hears nothing until it is back.
    if (c == Command::kStreamStart && now - *silentSince_ >= options_.silenceFor) {
      silentSince_.reset();
      silenceDone_ = true;
      streaming_ = !ended_;
    }
    return;
  }
  switch (c) {
    case Command::kStreamStart:
      if (!streamStart_) streamStart_ = now;
      streaming_ = !ended_;
      break;
    case Command::kEngineHours: {
      const double t = streamStart_ ? SourceTime(now) : 0;
      if (std::optional<CanFrame> f = source_->HoursFrame(t)) SendFrame(*f);
      break;
    }
    case Command::kVoltage: {
      const double t = streamStart_ ? SourceTime(now) : 0;
      char text[32];
      std::snprintf(text, sizeof text, "AT DV=%.1fV\r\n", source_->InputVolts(t));
      SendText(text);
      break;
    }
    case Command::kOtherAt:
      SendText("OK\r\n");
      break;
    case Command::kOther:
      break;
  }
}

void GatewaySession::Tick(double now) {
  if (!streamStart_ || ended_) return;
  if (options_.silentAfter && !silenceDone_ && !silentSince_ &&
      SourceTime(now) >= *options_.silentAfter) {
    silentSince_ = now;
    streaming_ = false;
  }
  due_.clear();
  // The source runs on while the link is silent; what falls due then is lost.
  ended_ = !source_->Collect(SourceTime(now), due_);
  if (streaming_) {
    for (const CanFrame& f : due_) SendFrame(f);
  }
  if (ended_) streaming_ = false;
}

std::vector<uint8_t> GatewaySession::TakeOutput() {
  std::vector<uint8_t> out;
  out.swap(out_);
  return out;
}

void GatewaySession::SendFrame(const CanFrame& f) {
  GatewayRecord r = writer_.Encode(f.id, f.data);
  out_.insert(out_.end(), r.begin(), r.end());
  ++records_;
  for (unsigned i = 0; i < options_.noiseBytes; ++i) out_.push_back(uint8_t(noise_() >> 8));
}

void GatewaySession::SendText(const char* text) {
  const auto* p = reinterpret_cast<const uint8_t*>(text);
  std::span<const uint8_t> bytes(p, std::strlen(text));
  const uint8_t lead = writer_.TextLead(bytes);
  writer_.Note({&lead, 1});
  writer_.Note(bytes);
  out_.push_back(lead);
  out_.insert(out_.end(), bytes.begin(), bytes.end());
}

}  // namespace dashvell
