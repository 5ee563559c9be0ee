#include "app/DashTemplate.h"

#include "platform/DialogUnits.h"

namespace dashvell {
namespace {

using namespace colors;

// Gauges. Minor marks are fixed where the dial asks for them (speedometer 1,
// voltmeter 2, fuel 3); elsewhere four split each major step in fifths.
const GaugeLook kTachometer{
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
const GaugeLook kSpeedometer{
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
const GaugeLook kOilPressure{
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
const GaugeLook kCoolant{
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
const GaugeLook kVoltmeter{
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
const GaugeLook kFuelLevel{.min = 0,
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

// Numeric displays: the readouts on the dials show two decimals; the framed
// ones one, enough for the resolution of their J1939 parameters.
constexpr DisplayLook Dial(const char* units) {
  return {.units = units, .digitPixels = 13, .decimals = 2};
}
constexpr DisplayLook Framed(const char* units, int pixels = 13) {
  return {.units = units, .digitPixels = pixels, .decimals = 1};
}
const DisplayLook kRpmReadout = Dial(" RPM");
const DisplayLook kMphReadout = Dial(" MPH");
const DisplayLook kPsiReadout = Dial(" PSI");
const DisplayLook kCoolantReadout = Dial(" F");
const DisplayLook kVoltReadout = Dial(" V");
const DisplayLook kFuelReadout = Dial(" %");
const DisplayLook kTransTemp = Framed(" F");
const DisplayLook kBoost = Framed(" PSI");
const DisplayLook kEconomy = Framed(" MPG");
const DisplayLook kFuelRate = Framed(" GPH");
const DisplayLook kAccelerator = Framed(" %");
const DisplayLook kInletAir = Framed(" F");
const DisplayLook kEngineLoad = Framed(" %");
const DisplayLook kVehicleTrip = Framed(" mile", 11);
const DisplayLook kVehicleTotal = Framed(" mile", 11);

// Odometers: seven white bold drums, the last one tenths.
const OdometerLook kOdometer{.digits = 7, .decimals = 1};

// Lamps. The six warning lamps share one look per colour.
const LampLook kCruise{.text = "Cruise",
                       .lit = kLampDefaultLit,
                       .textColor = kWindowText,
                       .textPixels = 11,
                       .bold = false,
                       .raisedBevel = false,
                       .darkPercent = 0};
const LampLook kWaterInFuel{.text = "WIF",
                            .lit = kRed,
                            .textColor = kBlack,
                            .textPixels = 11,
                            .bold = false,
                            .raisedBevel = false};
const LampLook kRedStop{.text = "Red Stop", .lit = kRed, .textColor = kBlack, .textPixels = 13};
const LampLook kAmber{.text = "Amber", .lit = kYellow, .textColor = kBlack, .textPixels = 13};

const LabelLook kHoursCaption{.caption = "Engine Hour (Hr)"};
const LabelLook kTripCaption{.caption = "Trip Odo (miles)"};

using K = ItemKind;
constexpr uint32_t kInstrument = kTabStop;
constexpr uint32_t kFramedDisplay = kTabStop;
constexpr uint32_t kTextBox = kReadOnly | kCentered | kBorder;

// Template order: the tab order, and where items overlap the earlier one lies
// on top, so everything on a gauge's dial is drawn over the gauge.
const TemplateItem kDashItems[] = {
    {1044, K::RadioButton, "C&AN", {436, 97, 31, 10}, kGroupStart, {}},
    {1045, K::RadioButton, "A&DC", {436, 109, 31, 10}, 0, {}},
    {1023, K::PushButton, "&Reset", {303, 151, 25, 12}, kTabStop | kFlat, {}},
    {1030, K::Lamp, "", {130, 147, 33, 18}, kInstrument, &kWaterInFuel},
    {1029, K::Lamp, "", {16, 147, 33, 17}, kInstrument, &kCruise},
    {1034, K::Display, "", {264, 237, 71, 13}, kInstrument, &kFuelReadout},
    {1027, K::Display, "", {180, 237, 71, 13}, kInstrument, &kVoltReadout},
    {1026, K::Display, "", {97, 237, 71, 13}, kInstrument, &kCoolantReadout},
    {1022, K::Display, "", {14, 237, 71, 13}, kInstrument, &kPsiReadout},
    {1020, K::Odometer, "", {54, 151, 72, 12}, 0, &kOdometer},
    {1036, K::Label, "", {65, 140, 58, 8}, 0, &kHoursCaption},
    {1021, K::Display, "", {54, 124, 72, 13}, kInstrument, &kRpmReadout},
    {1004, K::Gauge, "", {10, 11, 158, 157}, kInstrument, &kTachometer},
    {1019, K::Odometer, "", {222, 151, 72, 12}, kInstrument, &kOdometer},
    {1037, K::Label, "", {234, 141, 53, 8}, 0, &kTripCaption},
    {1018, K::Display, "", {222, 124, 71, 13}, kInstrument, &kMphReadout},
    {1005, K::Gauge, "", {173, 11, 165, 157}, kInstrument, &kSpeedometer},
    {1038, K::Lamp, "", {180, 279, 44, 15}, kInstrument, &kAmber},
    {1039, K::Lamp, "", {292, 279, 41, 15}, kInstrument, &kAmber},
    {1032, K::Lamp, "", {66, 279, 44, 15}, kInstrument, &kAmber},
    {1003, K::PushButton, "&EXIT", {423, 178, 57, 11}, kTabStop | kFlat | kCentered, {}},
    {1002, K::SerialComm, "", {423, 7, 25, 23}, kTabStop | kInvisible, {}},
    {1006, K::Gauge, "", {9, 173, 79, 89}, kInstrument, &kOilPressure},
    {1007, K::Gauge, "", {92, 173, 79, 89}, kInstrument, &kCoolant},
    {1008, K::Gauge, "", {175, 173, 79, 89}, kInstrument, &kVoltmeter},
    {1009, K::Gauge, "", {258, 173, 79, 89}, kInstrument, &kFuelLevel},
    {1010, K::CheckButton, "&Self Test", {424, 160, 56, 11}, kTabStop | kFlat, {}},
    {1011, K::Display, "", {349, 22, 60, 11}, kFramedDisplay, &kTransTemp},
    {kNoId, K::GroupBox, "Transmission Temp", {345, 11, 71, 25}, kCentered, {}},
    {1012, K::Display, "", {350, 47, 60, 11}, kFramedDisplay, &kBoost},
    {kNoId, K::GroupBox, "Boost Pressure", {345, 36, 71, 25}, kCentered, {}},
    {1013, K::Display, "", {350, 72, 60, 11}, kFramedDisplay, &kEconomy},
    {kNoId, K::GroupBox, "Inst. Fuel Economy", {345, 61, 71, 25}, kCentered, {}},
    {1014, K::Display, "", {350, 98, 60, 11}, kFramedDisplay, &kFuelRate},
    {kNoId, K::GroupBox, "Inst. Fuel Rate", {345, 87, 71, 25}, kCentered, {}},
    {1015, K::Display, "", {351, 123, 60, 11}, kFramedDisplay, &kAccelerator},
    {kNoId, K::GroupBox, "Accelerator Position", {345, 112, 71, 25}, kCentered, {}},
    {1016, K::Display, "", {351, 149, 60, 11}, kFramedDisplay, &kInletAir},
    {kNoId, K::GroupBox, "Inlet Air Temperature", {345, 138, 71, 25}, kCentered, {}},
    {1017, K::Display, "", {351, 174, 60, 11}, kFramedDisplay, &kEngineLoad},
    {kNoId, K::GroupBox, "Engine Load %", {345, 163, 71, 25}, kCentered, {}},
    {1025, K::Edit, "", {437, 19, 29, 12}, kTabStop | kTextBox, {}},
    {kNoId, K::GroupBox, "Serial Port", {424, 10, 56, 74}, kCentered, {}},
    {1024, K::PushButton, "&Change", {433, 34, 39, 13}, kTabStop | kDefaultButton, {}},
    {1028, K::Edit, "", {429, 136, 46, 12}, kTextBox, {}},
    {kNoId, K::GroupBox, "Clock", {424, 125, 56, 29}, kCentered, {}},
    {1031, K::Lamp, "", {12, 279, 48, 15}, kInstrument, &kRedStop},
    {kNoId, K::GroupBox, "Engine Warning Lamps", {7, 269, 109, 29}, kCentered, {}},
    {1033, K::Lamp, "", {130, 279, 48, 15}, kInstrument, &kRedStop},
    {kNoId, K::GroupBox, "Transmission Warning Lamps", {124, 269, 106, 29}, kCentered, {}},
    {1035, K::Lamp, "", {241, 279, 48, 15}, kInstrument, &kRedStop},
    {kNoId, K::GroupBox, "ABS Warning Lamps", {235, 268, 104, 30}, kCentered, {}},
    {1040, K::Display, "", {351, 199, 60, 11}, kFramedDisplay, &kVehicleTrip},
    {kNoId, K::GroupBox, "Engine Trip (miles)", {345, 188, 71, 25}, kCentered, {}},
    {1041, K::Display, "", {351, 224, 60, 11}, kFramedDisplay, &kVehicleTotal},
    {kNoId, K::GroupBox, "Total vehicle distance", {345, 214, 71, 25}, kCentered, {}},
    {1042, K::PushButton, "C&onnect", {433, 50, 39, 13}, kTabStop | kDefaultButton, {}},
    {1043,
     K::PushButton,
     "D&isconnect",
     {433, 66, 39, 13},
     kTabStop | kDefaultButton | kDisabled,
     {}},
    {kNoId, K::GroupBox, "Voltmeter", {424, 86, 56, 36}, kCentered, {}},
};
static_assert(std::size(kDashItems) == 59);

// Our own two lines of maker's information.
const TemplateItem kAboutItems[] = {
    {kNoId, K::Icon, "", {11, 17, 20, 20}, 0, {}},
    {kNoId, K::StaticText, "Dashvell", {40, 10, 74, 8}, kNoPrefix, {}},
    {kNoId,
     K::StaticText,
     "J1939 instrument panel for heavy vehicles, by Brevikon",
     {40, 23, 193, 8},
     kNoPrefix,
     {}},
    {kNoId, K::StaticText, "Version 1.00A, build 02012012-01", {40, 36, 146, 8}, 0, {}},
    {1, K::PushButton, "OK", {212, 7, 50, 14}, kTabStop | kDefaultButton | kGroupStart, {}},
};

const TemplateItem kPortItems[] = {
    {1, K::PushButton, "OK", {77, 7, 50, 14}, kTabStop | kDefaultButton, {}},
    {2, K::PushButton, "Cancel", {77, 22, 50, 14}, kTabStop, {}},
    {1026, K::ComboBox, "", {7, 7, 60, 51}, kTabStop | kVScroll, {}},
};

// "COM" followed by 1 to 30, in this order: the list is not sorted.
const char* const kPortNames[] = {
    "COM1",  "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",  "COM9",  "COM10",
    "COM11", "COM12", "COM13", "COM14", "COM15", "COM16", "COM17", "COM18", "COM19", "COM20",
    "COM21", "COM22", "COM23", "COM24", "COM25", "COM26", "COM27", "COM28", "COM29", "COM30",
};

const DialogTemplate kDash{102, kDashCaption, 493, 311, kDashItems, nullptr, 0};
const DialogTemplate kAbout{100, "About Dashvell V1.00A", 269, 54, kAboutItems, nullptr, 0};
const DialogTemplate kPort{130,        "Change Serial Port",      136, 43, kPortItems,
                           kPortNames, int(std::size(kPortNames))};

}  // namespace

PixelRect ToPixels(const DuRect& r) {
  return {DialogXToPixels(r.x), DialogYToPixels(r.y), DialogXToPixels(r.w), DialogYToPixels(r.h)};
}

const DialogTemplate& DashTemplate() {
  return kDash;
}
const DialogTemplate& AboutTemplate() {
  return kAbout;
}
const DialogTemplate& PortTemplate() {
  return kPort;
}

const TemplateItem* FindItem(const DialogTemplate& t, int id) {
  for (const TemplateItem& item : t.items)
    if (item.id == id) return &item;
  return nullptr;
}

}  // namespace dashvell
