#include "tools/gateway/ParameterEncoders.h"

#include <algorithm>
#include <cmath>

#include "core/GatewayRecord.h"

namespace dashvell {
namespace {

// Unit conversions, the same factors the dashboard decodes with.
constexpr double kMilesPerKm = 0.62137276;
constexpr double kGallonsPerLitre = 0.2641722;
constexpr double kMpgPerKmPerLitre = 2.35215;
constexpr double kPsiPerKpa = 0.145;

double CelsiusFromF(double f) {
  return (f - 32.0) / 1.8;
}

double Raw(double value, double perBit, double offset, double usableMax) {
  return std::clamp(std::round((value - offset) / perBit), 0.0, usableMax);
}

void PutWord(CanFrame& f, int byte1, uint16_t w) {  // byte1: J1939 data byte number
  f.data[byte1 - 1] = uint8_t(w);
  f.data[byte1] = uint8_t(w >> 8);
}

void PutDword(CanFrame& f, int byte1, uint32_t d) {
  for (int i = 0; i < 4; ++i) f.data[byte1 - 1 + i] = uint8_t(d >> (8 * i));
}

// The two-bit state of a J1939 status field: 00 off, 01 on.
uint8_t TwoBits(bool on) {
  return on ? 1 : 0;
}

CanFrame Frame(uint8_t priority, uint32_t pgn, uint8_t source = kEngineAddress) {
  CanFrame f;
  f.id = J1939Id(priority, pgn, source);
  return f;
}

}  // namespace

uint8_t RawByte(double value, double perBit, double offset) {
  return IsAvailable(value) ? uint8_t(Raw(value, perBit, offset, 250)) : 0xFF;
}
uint16_t RawWord(double value, double perBit, double offset) {
  return IsAvailable(value) ? uint16_t(Raw(value, perBit, offset, 64255)) : 0xFFFF;
}
uint32_t RawDword(double value, double perBit, double offset) {
  return IsAvailable(value) ? uint32_t(Raw(value, perBit, offset, 4211081215.0)) : 0xFFFFFFFF;
}

CanFrame EncodeEec1(const VehicleValues& v) {
  CanFrame f = Frame(3, kPgnEec1);
  f.data[0] = 0xF3;                               // torque mode: no request
  f.data[1] = RawByte(v.engineLoadPct, 1, -125);  // SPN 512 driver's demand torque
  f.data[2] = RawByte(v.engineLoadPct, 1, -125);  // SPN 513 actual engine torque
  PutWord(f, 4, RawWord(v.engineRpm, 0.125));     // SPN 190, 0.125 rpm/bit
  f.data[5] = kEngineAddress;                     // SPN 1483 controlling source
  return f;
}

CanFrame EncodeEec2(const VehicleValues& v) {
  CanFrame f = Frame(3, kPgnEec2);
  f.data[0] = 0xF0;                            // idle switches: not idling, not available
  f.data[1] = RawByte(v.acceleratorPct, 0.4);  // SPN 91, 0.4 %/bit
  f.data[2] = RawByte(v.engineLoadPct, 1);     // SPN 92, 1 %/bit
  return f;
}

CanFrame EncodeVd(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnVd);
  PutDword(f, 1, RawDword(v.tripMiles / kMilesPerKm, 0.125));   // SPN 244
  PutDword(f, 5, RawDword(v.totalMiles / kMilesPerKm, 0.125));  // SPN 245
  return f;
}

CanFrame EncodeHours(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnHours);
  PutDword(f, 1, RawDword(v.engineHours, 0.05));  // SPN 247, 0.05 h/bit
  return f;
}

CanFrame EncodeEt1(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnEt1);
  double c = IsAvailable(v.coolantTempF) ? CelsiusFromF(v.coolantTempF) : kNotAvailable;
  f.data[0] = RawByte(c, 1, -40);  // SPN 110, 1 C/bit, offset -40 C
  return f;
}

CanFrame EncodeEflP1(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnEflP1);
  double kpa = IsAvailable(v.oilPressurePsi) ? v.oilPressurePsi / kPsiPerKpa : kNotAvailable;
  f.data[3] = RawByte(kpa, 4);  // SPN 100, 4 kPa/bit
  return f;
}

CanFrame EncodeCcvs(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnCcvs);
  double kmh = IsAvailable(v.vehicleSpeedMph) ? v.vehicleSpeedMph / kMilesPerKm : kNotAvailable;
  PutWord(f, 2, RawWord(kmh, 1.0 / 256));               // SPN 84, 1/256 km/h per bit
  f.data[3] = uint8_t(0xFC | TwoBits(v.cruiseActive));  // SPN 595 in bits 2 and 1
  return f;
}

CanFrame EncodeLfe(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnLfe);
  double lph = IsAvailable(v.fuelRateGph) ? v.fuelRateGph / kGallonsPerLitre : kNotAvailable;
  double kmpl =
      IsAvailable(v.fuelEconomyMpg) ? v.fuelEconomyMpg / kMpgPerKmPerLitre : kNotAvailable;
  PutWord(f, 1, RawWord(lph, 0.05));        // SPN 183, 0.05 L/h per bit
  PutWord(f, 3, RawWord(kmpl, 1.0 / 512));  // SPN 184, 1/512 km/L per bit
  return f;
}

CanFrame EncodeIc1(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnIc1);
  double kpa = IsAvailable(v.boostPsi) ? v.boostPsi / kPsiPerKpa : kNotAvailable;
  double c = IsAvailable(v.inletAirTempF) ? CelsiusFromF(v.inletAirTempF) : kNotAvailable;
  f.data[1] = RawByte(kpa, 2);     // SPN 102, 2 kPa/bit
  f.data[2] = RawByte(c, 1, -40);  // SPN 105, 1 C/bit, offset -40 C
  return f;
}

CanFrame EncodeVep1(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnVep1);
  uint16_t volts = RawWord(v.batteryVolts, 0.05);
  PutWord(f, 5, volts);  // SPN 168 battery potential
  PutWord(f, 7, volts);  // SPN 158 keyswitch battery potential
  return f;
}

CanFrame EncodeTrf1(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnTrf1, kTransmissionAddress);
  double c = IsAvailable(v.transOilTempF) ? CelsiusFromF(v.transOilTempF) : kNotAvailable;
  PutWord(f, 5, RawWord(c, 0.03125, -273));  // SPN 177, 0.03125 C/bit, offset -273 C
  return f;
}

CanFrame EncodeDd(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnDd);
  f.data[1] = RawByte(v.fuelLevelPct, 0.4);  // SPN 96, 0.4 %/bit
  return f;
}

CanFrame EncodeOi(const VehicleValues& v) {
  CanFrame f = Frame(6, kPgnOi);
  f.data[0] = uint8_t(0xFC | TwoBits(v.waterInFuel));  // SPN 97 in bits 2 and 1
  return f;
}

std::vector<uint8_t> Dm1Message(const Diagnostics& d) {
  // Lamp status: bits 8-7 malfunction lamp and 2-1 protect lamp off, bits 6-5
  // red stop lamp, bits 4-3 amber warning lamp; then the flash byte (unused).
  uint8_t lamps = uint8_t((TwoBits(d.redStop) << 4) | (TwoBits(d.amberWarning) << 2));
  std::vector<uint8_t> m{lamps, 0xFF};
  for (const TroubleCode& c : d.codes) {
    m.push_back(uint8_t(c.spn));
    m.push_back(uint8_t(c.spn >> 8));
    m.push_back(uint8_t(((c.spn >> 16) & 7) << 5 | (c.fmi & 0x1F)));
    m.push_back(uint8_t(c.occurrences & 0x7F));  // conversion method 0
  }
  if (d.codes.empty()) m.insert(m.end(), 4, 0);  // "no active codes"
  while (m.size() < 8) m.push_back(0xFF);
  return m;
}

std::vector<CanFrame> Dm1Frames(const Diagnostics& d, uint8_t sourceAddress) {
  std::vector<uint8_t> m = Dm1Message(d);
  std::vector<CanFrame> frames;
  if (m.size() <= 8) {
    CanFrame f = Frame(6, kPgnDm1, sourceAddress);
    std::copy(m.begin(), m.end(), f.data.begin());
    frames.push_back(f);
    return frames;
  }
  const size_t packets = (m.size() + 6) / 7;
  CanFrame cm = Frame(7, kPgnTpCm | kGlobalAddress, sourceAddress);
  cm.data = {32,  // BAM
             uint8_t(m.size()),
             uint8_t(m.size() >> 8),
             uint8_t(packets),
             0xFF,
             uint8_t(kPgnDm1),
             uint8_t(kPgnDm1 >> 8),
             uint8_t(kPgnDm1 >> 16)};
  frames.push_back(cm);
  for (size_t p = 0; p < packets; ++p) {
    CanFrame dt = Frame(7, kPgnTpDt | kGlobalAddress, sourceAddress);
    dt.data[0] = uint8_t(p + 1);
    for (size_t i = 0; i < 7 && p * 7 + i < m.size(); ++i) dt.data[1 + i] = m[p * 7 + i];
    frames.push_back(dt);
  }
  return frames;
}

}  // namespace dashvell
