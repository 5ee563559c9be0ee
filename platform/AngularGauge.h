// The angular gauge: a 270-degree dial with bands, marks, labels and a pointer,
// driven by one property, the value under the pointer (dispatch id 65, VT_R8).
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "platform/Control.h"
#include "platform/InstrumentLook.h"
#include "platform/InstrumentPaint.h"

namespace dashvell {

class AngularGauge : public QWidget, public Control {
 public:
  static constexpr DispId kPointerValue = 65;

  explicit AngularGauge(const GaugeLook& look, QWidget* parent = nullptr);

  // Put 65 with VT_R8 moves the pointer; anything else is ignored.
  void PutProperty(DispId id, const Variant& value) override;
  Variant GetProperty(DispId id) override;

  // The value last put (as put, also beyond the scale).
  double pointerValue() const { return value_; }
  // Where the pointer is drawn, degrees counter-clockwise from 3 o'clock.
  double pointerAngleDeg() const { return angleDeg_; }
  const GaugeLook& look() const { return look_; }
  int faceBuilds() const { return face_.builds(); }

  QSize sizeHint() const override { return {160, 160}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SetPointerValue(double v);
  void PaintFace(QPainter& p) const;
  void PaintPointer(QPainter& p) const;
  QRect PointerBounds(double angleDeg) const;

  GaugeLook look_;
  QString label1_, label2_;
  double value_;
  double angleDeg_;
  LayerCache face_;
};

}  // namespace dashvell
