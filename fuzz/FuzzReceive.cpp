// Fuzz target: arbitrary serial bytes into the receive stream. After every
// byte the state must still hold what the panel relies on: flags 0 or 1, the
// voltage-reply counter saturated at 2, the reply line within its 30 bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/ReceiveStream.h"
#include "core/VehicleState.h"

namespace {

using dashvell::VehicleState;

struct NamedFlag {
  const char* name;
  int32_t VehicleState::*field;
};

constexpr NamedFlag kFlags[] = {
    {"engineRedLamp", &VehicleState::engineRedLamp},
    {"engineAmberLamp", &VehicleState::engineAmberLamp},
    {"transRedLamp", &VehicleState::transRedLamp},
    {"transAmberLamp", &VehicleState::transAmberLamp},
    {"brakeRedLamp", &VehicleState::brakeRedLamp},
    {"brakeAmberLamp", &VehicleState::brakeAmberLamp},
    {"waterInFuel", &VehicleState::waterInFuel},
    {"cruiseActive", &VehicleState::cruiseActive},
    {"frameSeen", &VehicleState::frameSeen},
    {"hoursSeen", &VehicleState::hoursSeen},
    {"adcReplySeen", &VehicleState::adcReplySeen},
    {"portOpen", &VehicleState::portOpen},
    {"voltFromCan", &VehicleState::voltFromCan},
    {"settingsDirty", &VehicleState::settingsDirty},
    {"selfTest", &VehicleState::selfTest},
    {"tripResetRequest", &VehicleState::tripResetRequest},
    {"linkLost", &VehicleState::linkLost},
};

[[noreturn]] void Fail(size_t at, const char* what, long value) {
  std::fprintf(stderr, "fuzz_receive: after byte %zu: %s = %ld\n", at, what, value);
  std::abort();
}

void Check(const VehicleState& state, const dashvell::ReceiveStream& stream, size_t at) {
  for (const NamedFlag& flag : kFlags) {
    int32_t v = state.*flag.field;
    if (v != 0 && v != 1) Fail(at, flag.name, v);
  }
  if (state.adcReplyCount > 2) Fail(at, "adcReplyCount", state.adcReplyCount);
  if (stream.ReplyLineCount() > 30) Fail(at, "ReplyLineCount()", stream.ReplyLineCount());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VehicleState state;
  dashvell::ReceiveStream stream(state);
  uint64_t frames = 0;
  for (size_t i = 0; i < size; ++i) {
    stream.ReceiveByte(data[i]);
    Check(state, stream, i);
    // One byte completes at most one window.
    if (stream.FramesDecoded() < frames || stream.FramesDecoded() > frames + 1)
      Fail(i, "FramesDecoded() step", long(stream.FramesDecoded() - frames));
    frames = stream.FramesDecoded();
  }

  // The same bytes in one read must leave the same traces: a record split
  // between receive events is found as if it had come in one.
  VehicleState whole;
  dashvell::ReceiveStream once(whole);
  once.ReceiveBytes(data, size);
  if (once.FramesDecoded() != stream.FramesDecoded())
    Fail(size, "FramesDecoded() of one read", long(once.FramesDecoded()));
  if (once.ReplyLineCount() != stream.ReplyLineCount())
    Fail(size, "ReplyLineCount() of one read", once.ReplyLineCount());
  if (whole.adcReplyCount != state.adcReplyCount)
    Fail(size, "adcReplyCount of one read", whole.adcReplyCount);
  return 0;
}
