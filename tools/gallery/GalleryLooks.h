// The looks of the dashboard's instruments as the gallery shows them: the
// tachometer, speedometer, four small gauges, their readouts, the lamps, the
// odometers and their captions.
#pragma once

#include "platform/InstrumentLook.h"

namespace dashvell::gallery {

using namespace colors;

inline const GaugeLook kTachometer{
    .min = 0,
    .max = 8,
    .rest = 0,
    .majorMarks = 9,
    .minorPerMajor = 4,
    .bands = {{{0, 5, kDarkBlue}, {5, 6, kOrange}, {6, 8, kGaugeDefaultBand}}},
    .bandCount = 3,
    .label1 = "RPM",
    .label2 = "x 1000",
    .label1Offset = 44,
    .label2Offset = 30,
    .large = true};

inline const GaugeLook kSpeedometer{
    .min = 0,
    .max = 160,
    .rest = 0,
    .majorMarks = 17,
    .minorPerMajor = 1,
    .bands = {{{0, 70, kNavy}, {70, 120, kOrange}, {120, 160, kGaugeDefaultBand}}},
    .bandCount = 3,
    .label1 = "Speed",
    .label2 = "MPH",
    .label1Offset = 30,
    .label2Offset = 44,
    .large = true};

inline const GaugeLook kOilPressure{
    .min = 0,
    .max = 150,
    .rest = 0,
    .majorMarks = 7,
    .minorPerMajor = 4,
    .bands = {{{0, 90, kDarkBlue}, {90, 120, kOrange}, {120, 150, kGaugeDefaultBand}}},
    .bandCount = 3,
    .label1 = "Engine Oil Pressure",
    .label2 = "(PSI)",
    .label1Offset = 77,
    .label2Offset = 35};

inline const GaugeLook kCoolant{
    .min = -40,
    .max = 260,
    .rest = -40,
    .majorMarks = 7,
    .minorPerMajor = 4,
    .bands = {{{-40, 110, kLime}, {110, 200, kDarkBlue}, {200, 230, kOrange}, {230, 260, kRed}}},
    .bandCount = 4,
    .label1 = "Coolant Temperature",
    .label2 = "degree F",
    .label1Offset = 77,
    .label2Offset = 35};

inline const GaugeLook kVoltmeter{
    .min = 6,
    .max = 30,
    .rest = 6,
    .majorMarks = 9,
    .minorPerMajor = 2,
    .bands = {{{6, 9, kRed}, {9, 14.2, kDarkBlue}, {14.2, 28.4, kBrown}, {28.4, 30, kRed}}},
    .bandCount = 4,
    .label1 = "Battery Voltage",
    .label2 = "Volts",
    .label1Offset = 77,
    .label2Offset = 35};

inline const GaugeLook kFuelLevel{.min = 0,
                                  .max = 100,
                                  .rest = 0,
                                  .majorMarks = 11,
                                  .minorPerMajor = 3,
                                  .bands = {{{0, 5, kRed}, {5, 100, kDarkBlue}}},
                                  .bandCount = 2,
                                  .label1 = "Fuel Level",
                                  .label2 = "%",
                                  .label1Offset = 77,
                                  .label2Offset = 35};

inline DisplayLook DialReadout(const char* units) {
  return {.units = units, .digitPixels = 13, .decimals = 2};
}
inline DisplayLook PanelReadout(const char* units, int pixels = 13) {
  return {.units = units, .digitPixels = pixels, .decimals = 1};
}

inline const LampLook kCruise{.text = "Cruise",
                              .lit = kLampDefaultLit,
                              .textColor = kWindowText,
                              .textPixels = 13,
                              .bold = false,
                              .raisedBevel = false,
                              .darkPercent = 0};
inline const LampLook kWaterInFuel{.text = "WIF",
                                   .lit = kRed,
                                   .textColor = kBlack,
                                   .textPixels = 11,
                                   .bold = false,
                                   .raisedBevel = false};
inline const LampLook kRedStop{.text = "Red Stop", .lit = kRed};
inline const LampLook kAmber{.text = "Amber", .lit = kYellow};

inline const OdometerLook kOdometer{};
inline const LabelLook kHoursCaption{.caption = "Engine Hour (Hr)"};
inline const LabelLook kTripCaption{.caption = "Trip Odo (miles)"};

}  // namespace dashvell::gallery
