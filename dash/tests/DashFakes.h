// Test doubles of what the cycles drive: a panel of recording instrument
// controls that log into one shared list (so the order across instruments
// shows), a recording window and a settable local clock.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "dash/DashPanel.h"
#include "dash/DashWindow.h"
#include "platform/LocalClock.h"
#include "platform/RecordingControl.h"

namespace dashvell::testing {

struct PanelWrite {
  int control;  // the control's dialog id
  Variant value;
  bool operator==(const PanelWrite&) const = default;
};

class FakePanel {
 public:
  static constexpr std::array<int, 6> kGaugeIds{1004, 1005, 1006, 1007, 1008, 1009};
  static constexpr std::array<int, 15> kDisplayIds{1011, 1012, 1013, 1014, 1015, 1017, 1016, 1018,
                                                   1021, 1022, 1026, 1027, 1034, 1040, 1041};
  static constexpr std::array<int, 8> kLampIds{1029, 1030, 1032, 1039, 1038, 1031, 1035, 1033};

  FakePanel() {
    for (std::size_t i = 0; i < gauges_.size(); ++i) {
      Wire(gaugeControls_[i], kGaugeIds[i], CiAngularGaugeX::kPosition);
      gauges_[i].Attach(&gaugeControls_[i]);
      panel.gauges[i] = &gauges_[i];
    }
    for (std::size_t i = 0; i < displays_.size(); ++i) {
      Wire(displayControls_[i], kDisplayIds[i], CiAnalogDisplayX::kValue);
      displays_[i].Attach(&displayControls_[i]);
      panel.displays[i] = &displays_[i];
    }
    Wire(odometerControls_[0], 1020, CiOdometerX::kValue);
    Wire(odometerControls_[1], 1019, CiOdometerX::kValue);
    odometers_[0].Attach(&odometerControls_[0]);
    odometers_[1].Attach(&odometerControls_[1]);
    panel.engineHours = &odometers_[0];
    panel.trip = &odometers_[1];
    for (std::size_t i = 0; i < lamps_.size(); ++i) {
      Wire(lampControls_[i], kLampIds[i], CiLedRectangleX::kActive);
      lamps_[i].Attach(&lampControls_[i]);
      panel.lamps[i] = &lamps_[i];
    }
  }
  FakePanel(const FakePanel&) = delete;

  // The writes of one control, from the shared log.
  std::vector<Variant> WritesTo(int control) const {
    std::vector<Variant> out;
    for (const auto& w : log)
      if (w.control == control) out.push_back(w.value);
    return out;
  }

  DashPanel panel;
  std::vector<PanelWrite> log;
  // A write with the wrong dispatch id for its kind of instrument.
  int wrongIdWrites = 0;

 private:
  void Wire(RecordingControl& control, int dialogId, DispId expected) {
    control.OnPut([this, dialogId, expected](DispId id, const Variant& v) {
      if (id != expected) ++wrongIdWrites;
      log.push_back({dialogId, v});
    });
  }

  std::array<RecordingControl, 6> gaugeControls_;
  std::array<RecordingControl, 15> displayControls_;
  std::array<RecordingControl, 2> odometerControls_;
  std::array<RecordingControl, 8> lampControls_;
  std::array<CiAngularGaugeX, 6> gauges_;
  std::array<CiAnalogDisplayX, 15> displays_;
  std::array<CiOdometerX, 2> odometers_;
  std::array<CiLedRectangleX, 8> lamps_;
};

class RecordingDashWindow : public DashWindow {
 public:
  void SetClockText(const std::string& text) override {
    clockText = text;
    calls.push_back("clock " + text);
  }
  void SetRadioValue(int32_t value) override {
    radioValue = value;
    calls.push_back("radio " + std::to_string(value));
  }
  void PushDataToControls() override { calls.push_back("push"); }

  std::string clockText;
  int32_t radioValue = -1;
  std::vector<std::string> calls;
};

class FakeClock : public LocalClock {
 public:
  TimeOfDay Now() override { return now; }
  TimeOfDay now{12, 0, 0};
};

}  // namespace dashvell::testing
