#include "platform/LineSettings.h"

#include <array>
#include <charconv>

namespace dashvell {
namespace {

// Splits "a,b,c,d" into exactly four fields; fewer or more is malformed.
std::optional<std::array<std::string_view, 4>> SplitFields(std::string_view text) {
  std::array<std::string_view, 4> fields;
  for (size_t i = 0; i < fields.size(); ++i) {
    size_t comma = text.find(',');
    bool last = i + 1 == fields.size();
    if (last != (comma == std::string_view::npos)) return std::nullopt;
    fields[i] = text.substr(0, comma);
    if (!last) text.remove_prefix(comma + 1);
  }
  return fields;
}

std::optional<int32_t> ParsePositive(std::string_view field) {
  int32_t value = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || ec != std::errc() || end != field.data() + field.size() || value <= 0) {
    return std::nullopt;
  }
  return value;
}

std::optional<Parity> ParseParity(std::string_view field) {
  if (field.size() != 1) return std::nullopt;
  switch (field[0]) {
    case 'n':
    case 'N':
      return Parity::None;
    case 'e':
    case 'E':
      return Parity::Even;
    case 'o':
    case 'O':
      return Parity::Odd;
    case 'm':
    case 'M':
      return Parity::Mark;
    case 's':
    case 'S':
      return Parity::Space;
    default:
      return std::nullopt;
  }
}

std::optional<StopBits> ParseStopBits(std::string_view field) {
  if (field == "1") return StopBits::One;
  if (field == "1.5") return StopBits::OneAndHalf;
  if (field == "2") return StopBits::Two;
  return std::nullopt;
}

}  // namespace

std::optional<LineSettings> ParseLineSettings(std::string_view text) {
  auto fields = SplitFields(text);
  if (!fields) return std::nullopt;
  auto baud = ParsePositive((*fields)[0]);
  auto parity = ParseParity((*fields)[1]);
  auto dataBits = ParsePositive((*fields)[2]);
  auto stopBits = ParseStopBits((*fields)[3]);
  if (!baud || !parity || !dataBits || *dataBits < 5 || *dataBits > 8 || !stopBits) {
    return std::nullopt;
  }
  return LineSettings{*baud, *parity, *dataBits, *stopBits};
}

}  // namespace dashvell
