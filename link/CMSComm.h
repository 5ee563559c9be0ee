// Wrapper of the serial communications control (control 1002): one property
// access by dispatch id per operation.
#pragma once

#include <string>

#include "platform/Control.h"

namespace dashvell {

class CMSComm : public CControlWrapper {
 public:
  enum : DispId {
    kPortNumber = 4,
    kReadLength = 14,
    kOpenState = 20,
    kReceiveThreshold = 21,
    kLineSettings = 23,
    kTransmitData = 25,
    kReceivedData = 26,
    kEventCode = 27,
    kReceiveFormat = 29,
  };
  // Event dispatch id of the notification, and the event code of received bytes.
  static constexpr DispId kNotifyEvent = 1;
  static constexpr int16_t kEventReceive = 2;

  void SetPortNumber(int16_t n) const { Put(kPortNumber, Variant::I2(n)); }
  void SetReadLength(int16_t n) const { Put(kReadLength, Variant::I2(n)); }
  void SetOpenState(bool open) const { Put(kOpenState, Variant::Bool(open)); }
  bool GetOpenState() const { return Get(kOpenState).boolValue(); }
  void SetReceiveThreshold(int16_t n) const { Put(kReceiveThreshold, Variant::I2(n)); }
  void SetLineSettings(const std::string& s) const { Put(kLineSettings, Variant::BStr(s)); }
  void SetTransmitData(const Variant& bytes) const { Put(kTransmitData, bytes); }
  Variant GetReceivedData() const { return Get(kReceivedData); }
  int16_t GetEventCode() const { return Get(kEventCode).i2(); }
  void SetReceiveFormat(int32_t f) const { Put(kReceiveFormat, Variant::I4(f)); }
};

}  // namespace dashvell
