// Wrappers of the four instrument controls: each operation is one property put
// by dispatch id with exactly one argument.
#pragma once

#include "platform/Control.h"

namespace dashvell {

class CiAngularGaugeX : public CControlWrapper {
 public:
  static constexpr DispId kPosition = 65;
  void SetPointerValue(double v) const { Put(kPosition, Variant::R8(v)); }
};

class CiAnalogDisplayX : public CControlWrapper {
 public:
  static constexpr DispId kValue = 4204;
  void SetShownValue(double v) const { Put(kValue, Variant::R8(v)); }
};

class CiLedRectangleX : public CControlWrapper {
 public:
  static constexpr DispId kActive = 1;
  // Flags pass as VARIANT_BOOL: 0 is false, any other value true.
  void SetLampLit(int32_t flag) const { Put(kActive, Variant::Bool(flag != 0)); }
};

class CiOdometerX : public CControlWrapper {
 public:
  static constexpr DispId kValue = 9;
  void SetShownValue(double v) const { Put(kValue, Variant::R8(v)); }
};

}  // namespace dashvell
