#include "settings/SettingsFormat.h"

namespace dashvell {
namespace {

constexpr std::string_view kCommentAdc = "//VLT=ADC: Voltmeter from device input\r\n";
constexpr std::string_view kCommentCan = "//VLT=CAN: Voltmeter from J1939 input\r\n";

// Takes characters off the front for as long as they belong to the set: a set,
// not a fixed prefix, so "COM=COM3;" reads as port 3.
std::string_view StripLeading(std::string_view text, std::string_view set) {
  size_t i = 0;
  while (i < text.size() && set.find(text[i]) != std::string_view::npos) ++i;
  return text.substr(i);
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return out;
}

}  // namespace

void ApplySettingsLine(std::string_view line, VehicleState& state) {
  if (line.empty()) return;  // the LF of a blank line already taken off
  char first = line.front();
  if (first == ';' || first == '/' || first == '\r' || first == '\n') return;

  const std::string upper = UpperAscii(line);
  const std::string_view text = upper;
  const std::string_view key = text.substr(0, 3);
  if (key == "COM") {
    std::string_view rest = StripLeading(text, "COM=");
    size_t semi = rest.find(';');
    if (semi == std::string_view::npos || semi == 0) {
      state.portName = "COM1";
      state.settingsDirty = 1;
    } else {
      state.portName = "COM";
      state.portName.append(rest.substr(0, semi));
    }
  } else if (key == "VLT") {
    std::string_view value = StripLeading(text, "VLT=").substr(0, 3);
    if (value == "CAN") {
      state.voltFromCan = 1;
    } else if (value == "ADC") {
      state.voltFromCan = 0;
    } else {
      state.settingsDirty = 1;
    }
  }
}

std::string FormatSettings(const VehicleState& state) {
  // Only upper-case C, O and M come off: a typed "com5" is kept as it stands
  // and reads back upper-cased on the next start.
  std::string_view port = state.portName;
  port = StripLeading(port, "COM");
  std::string out;
  out.reserve(16 + port.size() + kCommentAdc.size() + kCommentCan.size());
  out.append("COM=").append(port).append(";\r\n");
  out.append(kCommentAdc).append(kCommentCan);
  out.append(state.voltFromCan != 0 ? "VLT=CAN;\r\n" : "VLT=ADC;\r\n");
  return out;
}

}  // namespace dashvell
