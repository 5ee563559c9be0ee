// Self-test: while on, one pseudo-random draw a second drives every measured
// value and toggles every indicator flag, so each instrument can be seen to
// work without a vehicle.
#pragma once

#include "core/VehicleState.h"
#include "link/GatewayCommands.h"
#include "platform/CrtRand.h"

namespace dashvell {

// Fills the measured values from one draw n (0 to 32767) and toggles every
// indicator flag: what one self-test step does after drawing.
void ApplySelfTestDraw(VehicleState& state, int n);

class SelfTest {
 public:
  SelfTest(VehicleState& state, GatewayCommands& commands);

  // Handler of the Self Test check box. Switching off clears the values and
  // asks the gateway for the engine hours again.
  void ToggleSelfTest();
  // One generator step, from one draw; run by the housekeeping pass.
  void RunSelfTestStep();

 private:
  VehicleState& state_;
  GatewayCommands& commands_;
  CrtRand rand_;  // never seeded: every run shows the same sequence
};

}  // namespace dashvell
