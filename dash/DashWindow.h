// What the cycles need of the main window: its clock text and voltmeter-source
// radio value, and its data push. The window implements it; tests fake it.
#pragma once

#include <cstdint>
#include <string>

namespace dashvell {

class DashWindow {
 public:
  virtual ~DashWindow() = default;
  // The text box 1028 field.
  virtual void SetClockText(const std::string& text) = 0;
  // The radio group 1044/1045: 0 = CAN selected, 1 = ADC selected, -1 = none.
  virtual void SetRadioValue(int32_t value) = 0;
  // The window's data exchange run towards its controls.
  virtual void PushDataToControls() = 0;
};

}  // namespace dashvell
