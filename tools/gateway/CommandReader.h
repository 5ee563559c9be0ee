// Collects the text commands the dashboard paces out one byte at a time and
// names each completed line.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace dashvell {

enum class Command {
  kStreamStart,  // "AT ST1"
  kEngineHours,  // "AT EH"
  kVoltage,      // "AT RV"
  kOtherAt,      // any other line beginning "AT": answered "OK"
  kOther,        // a line that is no command: not answered
};

class CommandReader {
 public:
  // Feeds one received byte; returns the command its LF completed, if any.
  // Letters may be in either case and blanks around the line do not count; a
  // CR alone, as some terminals send, also ends a line.
  std::optional<Command> Feed(uint8_t b);

 private:
  std::optional<Command> Complete();
  std::array<char, 32> line_{};
  size_t length_ = 0;
  bool overflow_ = false;
  bool afterCr_ = false;
};

}  // namespace dashvell
