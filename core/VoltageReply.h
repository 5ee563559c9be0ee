// The gateway's voltage reply "AT DV=<volts>V": the measurement of its own
// input, which the voltmeter can show instead of the J1939 battery potential.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/VehicleState.h"

namespace dashvell {

// The volts of a completed reply line (capitals, CR LF included) when it is
// "AT DV=" followed by digits with at most one decimal point, at least one
// digit, then "V"; anything after the "V" is ignored. The decimal value is
// rounded once to float. Any other line gives nothing.
std::optional<float> VoltageReplyValue(std::span<const uint8_t> line);

// Applies a completed reply line: a voltage reply is counted (saturating at
// 2) and sets adcReplySeen; the first one after the count was reset only
// primes the count, later ones set adcVolts. Other lines change nothing.
void ParseVoltageReply(std::span<const uint8_t> line, VehicleState& state);

}  // namespace dashvell
