#include "core/VoltageReply.h"

#include <charconv>
#include <cstring>

namespace dashvell {

namespace {
constexpr char kPrefix[] = "AT DV=";
constexpr int kPrefixLength = 6;
}  // namespace

std::optional<float> VoltageReplyValue(std::span<const uint8_t> line) {
  if (line.size() < kPrefixLength || std::memcmp(line.data(), kPrefix, kPrefixLength) != 0) {
    return std::nullopt;
  }
  // Rebuild the number as plain decimal text ("0" before a leading point) and
  // let from_chars round it once, correctly, to float: no digit count can
  // overflow or lose precision on the way.
  char text[64];
  int length = 0;
  int digits = 0;
  bool point = false;
  size_t p = kPrefixLength;
  for (; p < line.size(); ++p) {
    // The collector holds 30 bytes, so a longer number never comes from the
    // stream; refuse it rather than overrun the text.
    if (length >= int(sizeof text) - 1) return std::nullopt;
    const uint8_t c = line[p];
    if (c >= '0' && c <= '9') {
      text[length++] = char(c);
      ++digits;
    } else if (c == '.' && !point) {
      if (digits == 0) text[length++] = '0';
      text[length++] = '.';
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0 || p == line.size() || line[p] != 'V') return std::nullopt;
  float volts = 0;
  const auto [end, error] = std::from_chars(text, text + length, volts);
  if (error != std::errc() || end != text + length) return std::nullopt;
  return volts;
}

void ParseVoltageReply(std::span<const uint8_t> line, VehicleState& state) {
  const std::optional<float> volts = VoltageReplyValue(line);
  if (!volts) return;
  // The first reply after a reset of the count may answer a request sent
  // before it and is only counted; the count stays at 2 from then on.
  if (state.adcReplyCount == 0) {
    state.adcReplyCount = 1;
  } else {
    state.adcVolts = *volts;
    state.adcReplyCount = 2;
  }
  state.adcReplySeen = 1;
}

}  // namespace dashvell
