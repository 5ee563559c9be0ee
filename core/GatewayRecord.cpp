#include "core/GatewayRecord.h"

#include <algorithm>

namespace dashvell {
namespace {

// Everything but the free bytes: the identifier split over bytes 5 to 8 and
// the data in bytes 10 to 17.
GatewayRecord FixedPart(uint32_t canId, const std::array<uint8_t, 8>& data, uint8_t sequence) {
  GatewayRecord r{};
  r[0] = sequence;
  // Identifier bits 28..21 in byte 5; bits 20..18 in byte 6 bits 7..5, bits 17
  // and 16 in byte 6 bits 1..0; bits 15..8 in byte 7; bits 7..0 in byte 8.
  r[5] = uint8_t(canId >> 21);
  r[6] = uint8_t((((canId >> 18) & 7) << 5) | ((canId >> 16) & 3));
  r[7] = uint8_t(canId >> 8);
  r[8] = uint8_t(canId);
  for (int i = 0; i < 8; ++i) r[10 + i] = data[i];
  return r;
}

uint8_t SumOf(const GatewayRecord& r, int from, int to) {  // bytes [from, to)
  unsigned s = 0;
  for (int i = from; i < to; ++i) s += r[i];
  return uint8_t(s);
}

// The byte that makes bytes 0 to at sum to target.
uint8_t Adjust(const GatewayRecord& r, int at, uint8_t target) {
  return uint8_t(target - SumOf(r, 0, at));
}

}  // namespace

GatewayRecord EncodeGatewayRecord(uint32_t canId, const std::array<uint8_t, 8>& data,
                                  uint8_t sequence) {
  GatewayRecord r = FixedPart(canId, data, sequence);
  for (int i = 0; i < 3; ++i) r[1 + i] = kRecordSignature[i];
  r[4] = Adjust(r, 4, uint8_t(kPrefixStep5 * sequence));
  r[9] = Adjust(r, 9, uint8_t(kPrefixStep10 * sequence));
  r[18] = Adjust(r, 18, uint8_t(kPrefixStep19 * sequence));
  r[19] = uint8_t(-SumOf(r, 0, 19));
  return r;
}

GatewayRecord GatewayRecordWriter::Encode(uint32_t canId, const std::array<uint8_t, 8>& data) {
  GatewayRecord r = EncodeGatewayRecord(canId, data, sequence_);
  // tailSum[k] = sum of the last 20 - k bytes sent: the part of the window
  // ending at record byte k - 1 that lies before the record.
  std::array<uint8_t, 20> tailSum{};
  unsigned s = 0;
  for (int k = 19; k >= 1; --k) {
    s += tail_[k - 1];
    tailSum[k] = uint8_t(s);
  }
  // Does a window ending at one of the record bytes first..last pass, given
  // the bytes of the record up to last?
  auto passes = [&](int first, int last) {
    unsigned prefix = SumOf(r, 0, first);
    for (int k = first + 1; k <= last + 1; ++k) {
      prefix += r[k - 1];
      if (uint8_t(tailSum[k] + prefix) == 0) return true;
    }
    return false;
  };
  // Byte 0 stays the sequence number; each free byte owns the windows ending
  // on it and on the fixed bytes after it, and steps on until none passes.
  // 256 values against at most nine forbidden ones: the loop always ends.
  struct Free {
    int index, last;
  };
  for (Free f : {Free{1, 1}, Free{2, 2}, Free{3, 3}, Free{4, 8}, Free{9, 17}, Free{18, 18}}) {
    while (passes(f.index, f.last) || (f.index <= 3 && r[f.index] == 0)) ++r[f.index];
  }
  r[19] = uint8_t(-SumOf(r, 0, 19));
  Note(r);
  ++sequence_;
  return r;
}

uint8_t GatewayRecordWriter::TextLead(std::span<const uint8_t> text) const {
  // Windows ending on the lead byte and on each of the first 19 text bytes:
  // their sums before the lead byte is added.
  std::array<uint8_t, 20> before{};
  const size_t n = std::min<size_t>(text.size(), 19);
  for (size_t j = 0; j <= n; ++j) {
    // Window ending j bytes into the text: 19 - j tail bytes, lead, j text bytes.
    unsigned s = 0;
    for (size_t i = j; i < tail_.size(); ++i) s += tail_[i];
    for (size_t i = 0; i < j; ++i) s += text[i];
    before[j] = uint8_t(s);
  }
  auto unsafe = [](unsigned v) {
    return v == '\r' || v == '\n' || v == ' ' || v == 'A' || v == 'a' || v == 'T' || v == 't';
  };
  for (unsigned lead = 0x80;; lead = (lead + 1) & 0xFF) {
    if (unsafe(lead)) continue;
    bool passes = false;
    for (size_t j = 0; j <= n; ++j) passes |= uint8_t(before[j] + lead) == 0;
    // At most 20 forbidden values and 7 unsafe ones: some byte always fits.
    if (!passes) return uint8_t(lead);
  }
}

void GatewayRecordWriter::Note(std::span<const uint8_t> bytes) {
  for (uint8_t b : bytes) Remember(b);
}

void GatewayRecordWriter::Remember(uint8_t b) {
  for (size_t i = 0; i + 1 < tail_.size(); ++i) tail_[i] = tail_[i + 1];
  tail_.back() = b;
}

WindowCount CountPassingWindows(std::span<const uint8_t> stream) {
  WindowCount c;
  for (size_t end = 20; end <= stream.size(); ++end) {
    unsigned sum = 0;
    bool nonZero = false;
    for (size_t i = end - 20; i < end; ++i) {
      sum += stream[i];
      nonZero |= stream[i] != 0;
    }
    if (uint8_t(sum) != 0 || !nonZero) continue;
    if (end % 20 == 0) {
      ++c.aligned;
    } else {
      ++c.shifted;
    }
  }
  return c;
}

}  // namespace dashvell
