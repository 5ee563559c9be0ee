// The control seam: a control is reached only by property put and get by
// dispatch id, and raises events by event dispatch id to one sink. The
// instruments, the serial port and the test fakes all sit behind it.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/Variant.h"

namespace dashvell {

using DispId = int;

// A failure a control raises itself (a port that does not exist, is busy or
// may not be opened). The caller's handler does not go on; the window's event
// boundary shows what() to the operator once.
class ControlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Control {
 public:
  using EventSink = std::function<void(DispId eventId)>;

  virtual ~Control() = default;
  virtual void PutProperty(DispId id, const Variant& value) = 0;
  virtual Variant GetProperty(DispId id) = 0;

  void SetEventSink(EventSink sink) { sink_ = std::move(sink); }

 protected:
  void RaiseEvent(DispId eventId) {
    if (sink_) sink_(eventId);
  }

 private:
  EventSink sink_;
};

// Base of the wrapper classes: holds nothing but the attachment to a control.
class CControlWrapper {
 public:
  void Attach(Control* control) { control_ = control; }
  Control* control() const { return control_; }

 protected:
  void Put(DispId id, const Variant& v) const { control_->PutProperty(id, v); }
  Variant Get(DispId id) const { return control_->GetProperty(id); }

 private:
  Control* control_ = nullptr;
};

}  // namespace dashvell
