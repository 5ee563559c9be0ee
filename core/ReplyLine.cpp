#include "core/ReplyLine.h"

namespace dashvell {

void ReplyLine::Restart() {
  begin_ = 0;
  buf_[0] = 'A';
  buf_[1] = 'T';
  buf_[2] = ' ';
  count_ = 3;
}

std::span<const uint8_t> ReplyLine::EndLine() {
  uint8_t* line = buf_ + begin_;
  for (int i = 0; i < count_; ++i) {
    if (line[i] >= 'a' && line[i] <= 'z') line[i] = uint8_t(line[i] - 'a' + 'A');
  }
  std::span<const uint8_t> done(line, count_);
  // The bytes stay in place until the next byte arrives; only the count goes.
  count_ = 0;
  begin_ = 0;
  return done;
}

}  // namespace dashvell
