// The instruments the refresh cycle writes, by role, in the order a pass
// treats them. The main window owns the wrappers; this only points at them.
#pragma once

#include <array>

#include "dash/Instruments.h"

namespace dashvell {

struct DashPanel {
  // Tachometer 1004, speedometer 1005, oil pressure 1006, coolant 1007,
  // voltmeter 1008, fuel level 1009.
  std::array<const CiAngularGaugeX*, 6> gauges{};
  // 1011, 1012, 1013, 1014, 1015, 1017, 1016, 1018, 1021, 1022, 1026, 1027,
  // 1034, 1040, 1041.
  std::array<const CiAnalogDisplayX*, 15> displays{};
  const CiOdometerX* engineHours = nullptr;  // 1020
  const CiOdometerX* trip = nullptr;         // 1019
  // Cruise 1029, water in fuel 1030, engine amber 1032, brakes amber 1039,
  // transmission amber 1038, engine red 1031, brakes red 1035,
  // transmission red 1033.
  std::array<const CiLedRectangleX*, 8> lamps{};
};

}  // namespace dashvell
