// Line settings of a serial port as the callers write them, "baud,parity,data
// bits,stop bits" (for example "115200,n,8,1"), parsed into their parts.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace dashvell {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct LineSettings {
  int32_t baud = 9600;
  Parity parity = Parity::None;
  int dataBits = 8;
  StopBits stopBits = StopBits::One;
  bool operator==(const LineSettings&) const = default;
};

// Four comma-separated fields, no blanks: a positive decimal baud rate, a
// parity letter n, e, o, m or s (either case), 5 to 8 data bits and 1, 1.5 or
// 2 stop bits. Anything else is no line setting at all.
std::optional<LineSettings> ParseLineSettings(std::string_view text);

}  // namespace dashvell
