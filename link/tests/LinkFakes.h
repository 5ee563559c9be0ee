// Test doubles of what the link talks to: a millisecond counter that only
// moves when the code under test pauses, a window that records its calls, a
// byte sink that records what it was handed, and a serial control whose open
// state follows what it is told.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/ByteSink.h"
#include "link/CMSComm.h"
#include "link/LinkWindow.h"
#include "platform/MillisecondCounter.h"
#include "platform/RecordingControl.h"

namespace dashvell::testing {

class FakeCounter : public MillisecondCounter {
 public:
  explicit FakeCounter(uint32_t start = 1000, uint32_t stepPerPause = 1)
      : now_(start), step_(stepPerPause) {}
  uint32_t Now() override { return now_; }
  void Pause() override {
    now_ += step_;
    ++pauses_;
  }
  void Set(uint32_t now) { now_ = now; }
  int pauses() const { return pauses_; }

 private:
  uint32_t now_;
  uint32_t step_;
  int pauses_ = 0;
};

class RecordingLinkWindow : public LinkWindow {
 public:
  void PushDataToControls() override { calls.push_back("push"); }
  void EnableConnect(bool enabled) override {
    calls.push_back(enabled ? "connect on" : "connect off");
  }
  void EnableDisconnect(bool enabled) override {
    calls.push_back(enabled ? "disconnect on" : "disconnect off");
  }
  void ShowWarningBox(const std::string& text) override { calls.push_back("box: " + text); }
  bool RunPortDialog(std::string& selectedPort) override {
    calls.push_back("dialog: " + selectedPort);
    shownPort = selectedPort;
    if (dialogAnswer)
      selectedPort = *dialogAnswer;
    else
      selectedPort = "COM29";  // picked, then cancelled
    return dialogAnswer.has_value();
  }

  std::vector<std::string> calls;
  std::optional<std::string> dialogAnswer;  // OK with this text; none: Cancel
  std::string shownPort;
};

class RecordingSink : public ByteSink {
 public:
  void Receive(std::span<const uint8_t> bytes) override {
    chunks.push_back(bytes.size());
    received.insert(received.end(), bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> received;
  std::vector<std::size_t> chunks;
};

// A serial control whose open state follows SetOpenState, as a working port's does.
inline void FollowOpenState(RecordingControl& control, bool initiallyOpen = false) {
  control.SetGetResult(CMSComm::kOpenState, Variant::Bool(initiallyOpen));
  control.OnPut([&control](DispId id, const Variant& v) {
    if (id == CMSComm::kOpenState) control.SetGetResult(CMSComm::kOpenState, v);
  });
}

// Every byte written with SetTransmitData, in order; each write must carry
// exactly one byte, or the result says so with a 0xFFFF marker.
inline std::vector<int> TransmittedBytes(const RecordingControl& control) {
  std::vector<int> out;
  for (const auto& e : control.Puts(CMSComm::kTransmitData)) {
    if (e.value.type() != VarType::UI1Array || e.value.bytes().size() != 1)
      out.push_back(0xFFFF);
    else
      out.push_back(e.value.bytes()[0]);
  }
  return out;
}

// The transmitted bytes as text, for comparing whole command lines.
inline std::string TransmittedText(const RecordingControl& control) {
  std::string out;
  for (int b : TransmittedBytes(control)) out.push_back(b == 0xFFFF ? '?' : char(b));
  return out;
}

}  // namespace dashvell::testing
