// Raw J1939 parameter access: the eight data bytes of a frame, little-endian
// raw values of one, two and four bytes, their not-available test and the
// two-bit status rule.
#pragma once

#include <cstdint>
#include <span>

namespace dashvell {

// Data byte N (1 to 8, J1939 numbering) is element N - 1.
using DataBytes = std::span<const uint8_t, 8>;

// Raw value of `width` bytes (1, 2 or 4) starting at data byte `firstByte`.
constexpr uint32_t RawValue(DataBytes data, int firstByte, int width) {
  uint32_t raw = 0;
  for (int i = width - 1; i >= 0; --i) raw = (raw << 8) | data[firstByte - 1 + i];
  return raw;
}

// Largest usable raw value of each width; above it J1939 signals error,
// not available or a reserved value, all treated alike.
constexpr uint32_t MaxUsableRaw(int width) {
  return width == 1 ? 250u : width == 2 ? 0xFAFFu : 0xFAFFFFFFu;
}

constexpr bool IsAvailable(uint32_t raw, int width) {
  return raw <= MaxUsableRaw(width);
}

// Two-bit status (off, on, error, not available): 0 and 1 set the flag,
// 2 and 3 leave it as it was.
constexpr void ApplyTwoBitStatus(int32_t& flag, unsigned status) {
  status &= 3;
  if (status <= 1) flag = int32_t(status);
}

}  // namespace dashvell
