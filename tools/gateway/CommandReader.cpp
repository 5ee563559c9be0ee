#include "tools/gateway/CommandReader.h"

#include <cctype>
#include <string_view>

namespace dashvell {

std::optional<Command> CommandReader::Feed(uint8_t b) {
  const bool lfAfterCr = b == '\n' && afterCr_;
  afterCr_ = b == '\r';
  if (lfAfterCr) return std::nullopt;  // the CR already ended the line
  if (b == '\r' || b == '\n') return Complete();
  if (length_ < line_.size()) {
    line_[length_++] = char(std::toupper(b));
  } else {
    overflow_ = true;  // no command is this long
  }
  return std::nullopt;
}

std::optional<Command> CommandReader::Complete() {
  std::string_view text(line_.data(), length_);
  const bool overflow = overflow_;
  length_ = 0;
  overflow_ = false;
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;  // an empty line asks for nothing
  if (overflow || !text.starts_with("AT")) return Command::kOther;
  if (text == "AT ST1") return Command::kStreamStart;
  if (text == "AT EH") return Command::kEngineHours;
  if (text == "AT RV") return Command::kVoltage;
  return Command::kOtherAt;
}

}  // namespace dashvell
