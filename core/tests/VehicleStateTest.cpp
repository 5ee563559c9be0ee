#include <gtest/gtest.h>

#include "core/VehicleState.h"

namespace dashvell {
namespace {

TEST(ClearVehicleState, RestoresClearedValuesAndKeepsWhatItMustKeep) {
  VehicleState s;
  s.coolantTempF = 190;
  s.transOilTempF = 170;
  s.inletAirTempF = 90;
  s.engineRedLamp = 1;
  s.frameSeen = 1;
  s.hoursSeen = 1;
  s.adcVolts = 12.5f;
  s.voltmeterVolts = 12.5f;
  s.tripMiles = 3.5f;
  s.adcReplyCount = 2;
  s.portOpen = 1;
  ClearVehicleState(s);
  EXPECT_EQ(s.coolantTempF, -40.0f);
  EXPECT_EQ(double(s.transOilTempF), -459.3999938964844);
  EXPECT_EQ(s.inletAirTempF, 0.0f);
  EXPECT_EQ(s.engineRedLamp, 0);
  EXPECT_EQ(s.frameSeen, 0);
  EXPECT_EQ(s.hoursSeen, 0);
  EXPECT_EQ(s.adcVolts, 12.5f);
  EXPECT_EQ(s.voltmeterVolts, 12.5f);
  EXPECT_EQ(s.tripMiles, 3.5f);
  EXPECT_EQ(s.adcReplyCount, 2);
  EXPECT_EQ(s.portOpen, 1);
}

}  // namespace
}  // namespace dashvell
