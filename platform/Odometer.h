// The odometer: a row of counter drums in a lowered border, driven by one
// property, the number shown (dispatch id 9, VT_R8).
#pragma once

#include <QWidget>
#include <cstdint>

#include "platform/Control.h"
#include "platform/InstrumentLook.h"
#include "platform/InstrumentPaint.h"

namespace dashvell {

class Odometer : public QWidget, public Control {
 public:
  static constexpr DispId kShownValue = 9;

  explicit Odometer(const OdometerLook& look, QWidget* parent = nullptr);

  void PutProperty(DispId id, const Variant& value) override;
  Variant GetProperty(DispId id) override;

  double shownValue() const { return value_; }
  // The number on the drums, in units of the last drum.
  int64_t counter() const { return counter_; }
  const OdometerLook& look() const { return look_; }

  // What the drums show for a value: truncated like a mechanical counter (a
  // drum turns over only when the unit is complete), never below zero, and
  // held at all nines when the value has more digits than the drums, so an
  // overflow never passes for a small number. Not-a-number reads zero.
  static int64_t CounterFor(double v, int digits, int decimals);

  QSize sizeHint() const override { return {108, 20}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintDrums(QPainter& p) const;

  OdometerLook look_;
  double value_ = 0;
  int64_t counter_ = 0;
  LayerCache drums_;
};

}  // namespace dashvell
