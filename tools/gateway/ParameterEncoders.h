// US values -> raw J1939 parameter groups: the inverse of the dashboard's
// decoding, one encoder per parameter group the dashboard understands. A value
// that is not available (kNotAvailable) is sent as J1939's not-available raw.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/gateway/CanFrame.h"
#include "tools/gateway/VehicleValues.h"

namespace dashvell {

// Raw values, rounded to the nearest step and clamped to the usable range
// (0..250, 0..64255, 0..4211081215); not available gives 0xFF.., the
// J1939 "not available" indicator.
uint8_t RawByte(double value, double perBit, double offset = 0);
uint16_t RawWord(double value, double perBit, double offset = 0);
uint32_t RawDword(double value, double perBit, double offset = 0);

CanFrame EncodeEec1(const VehicleValues& v);  // 61444, engine speed
CanFrame EncodeEec2(const VehicleValues& v);  // 61443, accelerator, load
CanFrame EncodeVd(const VehicleValues& v);    // 65248, trip and total distance
CanFrame EncodeHours(const VehicleValues& v);
CanFrame EncodeEt1(const VehicleValues& v);    // 65262, coolant temperature
CanFrame EncodeEflP1(const VehicleValues& v);  // 65263, oil pressure
CanFrame EncodeCcvs(const VehicleValues& v);   // 65265, speed, cruise active
CanFrame EncodeLfe(const VehicleValues& v);    // 65266, fuel rate and economy
CanFrame EncodeIc1(const VehicleValues& v);    // 65270, boost, inlet air
CanFrame EncodeVep1(const VehicleValues& v);   // 65271, battery potential
CanFrame EncodeTrf1(const VehicleValues& v);   // 65272 from the transmission
CanFrame EncodeDd(const VehicleValues& v);     // 65276, fuel level
CanFrame EncodeOi(const VehicleValues& v);     // 65279, water in fuel

// The DM1 message of one controller: lamp status, flash byte, then four bytes
// per trouble code (an all-zero code when none is active), at least 8 bytes.
std::vector<uint8_t> Dm1Message(const Diagnostics& d);

// A DM1 as it goes on the bus: one frame when it fits eight bytes, otherwise
// a BAM (TP.CM to global) followed by numbered TP.DT packets.
std::vector<CanFrame> Dm1Frames(const Diagnostics& d, uint8_t sourceAddress);

}  // namespace dashvell
