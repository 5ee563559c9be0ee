#include "tools/gateway/Scenario.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace dashvell {
namespace {

// clang-format off
constexpr Phase kPhases[] = {
//  name                                  s    rpm   mph  pedal load  cool  oil  boost inlet  gph   volts trans fuel%  flags
  {"key on, engine off",                  2,    0,    0,    0,   0,   41,   0,    0,   41,   0.0, 12.4,  41,  68.0, 0},
  {"cold start",                          3,  750,    0,    0,  25,   41,  58,    0,   41,   0.8, 14.1,  41,  68.0, 0},
  {"idle warm-up",                       16,  650,    0,    0,  12,  150,  45,    0,   75,   0.7, 14.0,  95,  67.9, 0},
  {"1st gear",                            3, 1700,    4,   55,  85,  155,  55,   12,   80,   8.0, 13.9,  98,  67.9, 0},
  {"shift 1-2",                           1, 1150,    4,   20,  30,  155,  50,    6,   80,   2.0, 13.9,  98,  67.9, 0},
  {"2nd gear",                            3, 1750,    9,   65,  88,  158,  56,   16,   82,  11.0, 13.9, 100,  67.8, 0},
  {"shift 2-3",                           1, 1200,    9,   20,  30,  158,  50,    7,   82,   2.0, 13.9, 100,  67.8, 0},
  {"3rd gear",                            4, 1800,   16,   70,  90,  162,  57,   19,   84,  13.0, 13.9, 104,  67.8, 0},
  {"shift 3-4",                           1, 1250,   16,   20,  30,  162,  51,    8,   84,   2.5, 13.9, 104,  67.8, 0},
  {"4th gear",                            4, 1800,   25,   72,  90,  166,  57,   21,   86,  14.0, 13.9, 110,  67.7, 0},
  {"shift 4-5",                           1, 1300,   25,   20,  30,  166,  52,    9,   86,   3.0, 13.9, 110,  67.7, 0},
  {"5th gear",                            5, 1800,   38,   75,  88,  172,  58,   23,   88,  15.0, 13.9, 120,  67.6, 0},
  {"shift 5-6",                           1, 1350,   38,   20,  30,  172,  52,   10,   88,   3.0, 13.9, 120,  67.6, 0},
  {"6th gear",                            6, 1600,   58,   70,  75,  182,  55,   22,   92,  12.0, 13.9, 140,  67.4, 0},
  {"settle to cruise",                    4, 1450,   62,   38,  45,  190,  52,   14,   95,   6.5, 13.9, 160,  67.3, 0},
  {"cruise control",                     15, 1450,   62,   38,  45,  192,  52,   14,   95,   6.5, 13.9, 168,  67.0, kCruise},
  {"cruise, engine amber lamp",          12, 1460,   62,   40,  48,  214,  50,   15,   97,   6.8, 13.9, 172,  66.7, kCruise | kEngineAmber},
  {"slowing down, ABS amber lamp",       12,  650,    0,    0,   5,  200,  42,    0,   90,   0.6, 13.9, 165,  66.6, kBrakesAmber},
  {"stopped, transmission red lamp",     10,  650,    0,    0,  12,  195,  42,    0,   88,   0.7, 14.0, 160,  66.6, kTransmissionRed},
  {"water in fuel",                       8,  650,    0,    0,  12,  193,  42,    0,   86,   0.7, 14.0, 158,  66.5, kWaterInFuel},
  {"values not available",                8,  650,    0,    0,  12,  192,  42,    0,   86,   0.7, 14.0, 156,  66.5, kSomeNotAvailable},
  {"engine off",                          4,    0,    0,    0,   0,  190,   0,    0,   85,   0.0, 12.5, 155,  66.5, 0},
};
// clang-format on

constexpr double kStartEngineHours = 8421.35;
constexpr double kStartTotalMiles = 412345.6;

const std::array<TroubleCode, 1> kEngineCodes{{{110, 16, 1}}};  // coolant temperature high
const std::array<TroubleCode, 3> kTransmissionCodes{{
    {177, 0, 1},  // transmission oil temperature too high
    {161, 2, 3},  // input shaft speed erratic
    {191, 8, 2},  // output shaft speed abnormal
}};
const std::array<TroubleCode, 1> kBrakesCodes{{{789, 2, 1}}};  // wheel speed sensor erratic

struct Timeline {
  std::array<double, std::size(kPhases) + 1> start{};  // phase start times
  std::array<double, std::size(kPhases) + 1> miles{};  // distance at phase start
  std::array<double, std::size(kPhases) + 1> runningHours{};
};

// A phase starts from the previous phase's end values.
const Phase& Previous(size_t i) {
  return kPhases[i == 0 ? 0 : i - 1];
}

const Timeline& TheTimeline() {
  static const Timeline t = [] {
    Timeline tl;
    for (size_t i = 0; i < std::size(kPhases); ++i) {
      const Phase& p = kPhases[i];
      tl.start[i + 1] = tl.start[i] + p.seconds;
      // Linear speed and rpm over the phase: the trapezoid is exact.
      tl.miles[i + 1] = tl.miles[i] + (Previous(i).mph + p.mph) / 2 * p.seconds / 3600;
      bool running = Previous(i).rpm > 0 || p.rpm > 0;
      tl.runningHours[i + 1] = tl.runningHours[i] + (running ? p.seconds / 3600 : 0);
    }
    return tl;
  }();
  return t;
}

double Lerp(double a, double b, double f) {
  return a + (b - a) * f;
}

Diagnostics Dm1Of(bool lit, bool red, std::span<const TroubleCode> codes) {
  Diagnostics d;
  if (!lit) return d;
  (red ? d.redStop : d.amberWarning) = true;
  d.codes.assign(codes.begin(), codes.end());
  return d;
}

}  // namespace

std::span<const Phase> ScenarioPhases() {
  return kPhases;
}

double ScenarioLoopSeconds() {
  return TheTimeline().start.back();
}

size_t PhaseIndexAt(double t) {
  const Timeline& tl = TheTimeline();
  double inLoop = std::fmod(std::max(t, 0.0), ScenarioLoopSeconds());
  size_t i = 0;
  while (i + 1 < std::size(kPhases) && inLoop >= tl.start[i + 1]) ++i;
  return i;
}

std::optional<double> PhaseEnd(std::string_view name) {
  for (size_t i = 0; i < std::size(kPhases); ++i) {
    // Just inside the phase, so that its lamps and flags still hold.
    if (kPhases[i].name == name) return TheTimeline().start[i + 1] - 0.001;
  }
  return std::nullopt;
}

VehicleValues ScenarioValuesAt(double t) {
  const Timeline& tl = TheTimeline();
  t = std::max(t, 0.0);
  const double loop = ScenarioLoopSeconds();
  const double loops = std::floor(t / loop);
  const double inLoop = t - loops * loop;
  const size_t i = PhaseIndexAt(t);
  const Phase& p = kPhases[i];
  const Phase& from = Previous(i);
  const double elapsed = inLoop - tl.start[i];
  const double f = std::clamp(elapsed / p.seconds, 0.0, 1.0);

  VehicleValues v;
  v.engineRpm = Lerp(from.rpm, p.rpm, f);
  v.vehicleSpeedMph = Lerp(from.mph, p.mph, f);
  v.acceleratorPct = Lerp(from.pedalPct, p.pedalPct, f);
  v.engineLoadPct = Lerp(from.loadPct, p.loadPct, f);
  v.coolantTempF = Lerp(from.coolantF, p.coolantF, f);
  v.oilPressurePsi = Lerp(from.oilPsi, p.oilPsi, f);
  v.boostPsi = Lerp(from.boostPsi, p.boostPsi, f);
  v.inletAirTempF = Lerp(from.inletF, p.inletF, f);
  v.fuelRateGph = Lerp(from.fuelGph, p.fuelGph, f);
  v.batteryVolts = Lerp(from.volts, p.volts, f);
  v.transOilTempF = Lerp(from.transF, p.transF, f);
  v.fuelLevelPct = Lerp(from.fuelLevelPct, p.fuelLevelPct, f);
  // Instantaneous economy follows from speed and fuel rate; standing still
  // it reads 0, as the engine controllers report it.
  v.fuelEconomyMpg = v.vehicleSpeedMph > 0.5 && v.fuelRateGph > 0.05
                         ? std::min(v.vehicleSpeedMph / v.fuelRateGph, 125.0)
                         : 0.0;

  const double speedAt = v.vehicleSpeedMph;
  const double phaseMiles = (from.mph + speedAt) / 2 * elapsed / 3600;
  const double loopMiles = loops * tl.miles.back() + tl.miles[i] + phaseMiles;
  v.tripMiles = loopMiles;
  v.totalMiles = kStartTotalMiles + loopMiles;
  const bool running = from.rpm > 0 || p.rpm > 0;
  v.engineHours = kStartEngineHours + loops * tl.runningHours.back() + tl.runningHours[i] +
                  (running ? elapsed / 3600 : 0);

  v.cruiseActive = p.flags & kCruise;
  v.waterInFuel = p.flags & kWaterInFuel;
  v.engine = Dm1Of(p.flags & kEngineAmber, false, kEngineCodes);
  v.transmission = Dm1Of(p.flags & kTransmissionRed, true, kTransmissionCodes);
  v.brakes = Dm1Of(p.flags & kBrakesAmber, false, kBrakesCodes);
  if (p.flags & kSomeNotAvailable) {
    v.oilPressurePsi = v.boostPsi = v.inletAirTempF = v.fuelEconomyMpg = v.transOilTempF =
        kNotAvailable;
  }
  return v;
}

}  // namespace dashvell
