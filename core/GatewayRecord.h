// Builds the 20-byte record in which the gateway relays one CAN frame: what the
// simulated gateway sends and what the tests feed the receive stream.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace dashvell {

using GatewayRecord = std::array<uint8_t, 20>;

// Record layout. The receiver reads only the identifier (bytes 5 to 8, without
// bits 4 to 2 of byte 6) and the data (bytes 10 to 17); everything else exists
// for the checksum, and we use it to keep windows that straddle two records
// from passing the receiver's test, which it applies at every byte:
//   byte 0        sequence number, one up per record
//   bytes 1 to 3  signature 'D' 'V' 'G' (another value only to dodge a
//                 passing window when the writer knows the bytes before)
//   byte 4        prefix adjust: bytes 0 to 4 sum to 0x6B times the sequence
//   byte 6 b4..b2 zero
//   byte 9        prefix adjust: bytes 0 to 9 sum to 0x9D times the sequence
//   byte 18       prefix adjust: bytes 0 to 18 sum to 0x35 times the sequence
//   byte 19       checksum: all 20 bytes sum to 0 modulo 256
// A window shifted k bytes into the next record sums to the difference of the
// two records' k-byte prefix sums, so prefix sums that step with the sequence
// keep those windows from passing wherever identifier and data repeat.
inline constexpr uint8_t kRecordSignature[3] = {'D', 'V', 'G'};
inline constexpr uint8_t kPrefixStep5 = 0x6B;
inline constexpr uint8_t kPrefixStep10 = 0x9D;
inline constexpr uint8_t kPrefixStep19 = 0x35;

// canId is the 29-bit J1939 identifier (priority, EDP, DP, PF, PS, SA).
GatewayRecord EncodeGatewayRecord(uint32_t canId, const std::array<uint8_t, 8>& data,
                                  uint8_t sequence = 0);

// Identifier from its J1939 parts.
constexpr uint32_t J1939Id(uint8_t priority, uint32_t pgn, uint8_t sourceAddress) {
  return (uint32_t(priority & 7) << 26) | ((pgn & 0x3FFFF) << 8) | sourceAddress;
}

// Encodes a whole stream: numbers the records and remembers the last 19 bytes
// that went out (text replies included, through Note), so that each free byte
// can be moved off any value that would let a window ending inside the new
// record pass. Between records written through it no shifted window passes.
class GatewayRecordWriter {
 public:
  GatewayRecord Encode(uint32_t canId, const std::array<uint8_t, 8>& data);
  // Bytes sent outside records (text replies), in order.
  void Note(std::span<const uint8_t> bytes);
  // A byte to send just before text so that no window ending on it or inside
  // the text passes either (the text itself cannot change). Never CR, LF,
  // "A", "T" or a blank, so the receiver's reply line is not disturbed.
  uint8_t TextLead(std::span<const uint8_t> text) const;
  uint8_t NextSequence() const { return sequence_; }

 private:
  void Remember(uint8_t b);
  std::array<uint8_t, 19> tail_{};  // the last 19 bytes sent, oldest first
  uint8_t sequence_ = 0;
};

// Windows of a byte stream that pass the receiver's test (sum 0 modulo 256,
// not all zero); with records laid end to end from offset 0, aligned counts
// those ending on a record boundary and shifted the rest.
struct WindowCount {
  size_t aligned = 0;
  size_t shifted = 0;
};
WindowCount CountPassingWindows(std::span<const uint8_t> stream);

}  // namespace dashvell
