// Collects the gateway's text reply lines out of the mixed byte stream: keeps
// the last 30 bytes, restarts at "AT " and hands out a line at its CR LF.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

namespace dashvell {

class ReplyLine {
 public:
  static constexpr uint8_t kCapacity = 30;

  // Takes one received byte. When it ends a line (CR LF with 5 or more bytes
  // collected), returns the whole line, CR LF included and with a to z
  // changed to capitals, and empties the collector; otherwise returns an
  // empty span. The returned bytes stay valid until the next call.
  std::span<const uint8_t> Collect(uint8_t b) {
    if (begin_ + count_ == kStorage) Compact();
    buf_[begin_ + count_] = b;
    // Once full the line keeps its last 30 bytes: the oldest falls off the front.
    if (count_ < kCapacity) {
      ++count_;
    } else {
      ++begin_;
    }
    if (b == ' ') {
      // A new command echo or reply starts at "AT ", whatever came before it.
      // At count 3 the three bytes already begin the line.
      if (count_ >= 4 && IsLetter(At(count_ - 3), 'A') && IsLetter(At(count_ - 2), 'T')) Restart();
      return {};
    }
    if (b == '\n' && count_ >= 5 && At(count_ - 2) == '\r') return EndLine();
    return {};
  }

  // How many bytes are collected, 0 to 30.
  uint8_t Count() const { return count_; }

  // The collected bytes, oldest first.
  std::span<const uint8_t> Bytes() const { return {buf_ + begin_, count_}; }

 private:
  // The line slides through a larger buffer so that a full line drops its
  // oldest byte by moving its start, not by moving 29 bytes every time.
  static constexpr int kStorage = 128;

  uint8_t At(int i) const { return buf_[begin_ + i]; }
  static bool IsLetter(uint8_t c, char upper) { return (c | 0x20) == (upper | 0x20); }
  void Compact() {
    std::memmove(buf_, buf_ + begin_, count_);
    begin_ = 0;
  }
  void Restart();
  std::span<const uint8_t> EndLine();

  uint8_t buf_[kStorage] = {};
  int begin_ = 0;
  uint8_t count_ = 0;
};

}  // namespace dashvell
