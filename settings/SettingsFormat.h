// The text of dvlj1939.ini: reading its lines into the port name and the
// voltmeter source, and the four lines that every rewrite produces.
#pragma once

#include <string>
#include <string_view>

#include "core/VehicleState.h"

namespace dashvell {

// The file a missing or empty settings file is replaced with (97 bytes).
inline constexpr std::string_view kDefaultSettingsText =
    "COM=1;\r\n"
    "//VLT=ADC: Voltmeter from device input\r\n"
    "//VLT=CAN: Voltmeter from J1939 input\r\n"
    "VLT=ADC;\r\n";

// Applies one line (with or without its LF) to portName, voltFromCan and
// settingsDirty. Comment and blank lines and unknown keys change nothing.
void ApplySettingsLine(std::string_view line, VehicleState& state);

// The four lines written for the current portName and voltFromCan.
std::string FormatSettings(const VehicleState& state);

}  // namespace dashvell
