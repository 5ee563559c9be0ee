// The rectangular lamp: a coloured rectangle with its text in the middle, lit
// or dark, driven by one property (dispatch id 1, VT_BOOL).
#pragma once

#include <QString>
#include <QWidget>

#include "platform/Control.h"
#include "platform/InstrumentLook.h"
#include "platform/InstrumentPaint.h"

namespace dashvell {

class LedRectangle : public QWidget, public Control {
 public:
  static constexpr DispId kLit = 1;

  explicit LedRectangle(const LampLook& look, QWidget* parent = nullptr);

  void PutProperty(DispId id, const Variant& value) override;
  Variant GetProperty(DispId id) override;

  bool lit() const { return lit_; }
  const LampLook& look() const { return look_; }

  // The colour of the dark lamp: the lit colour dimmed to darkPercent.
  static Rgb DarkColor(const LampLook& look);

  QSize sizeHint() const override { return {72, 24}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintLamp(QPainter& p, bool lit) const;

  LampLook look_;
  QString text_;
  bool lit_ = false;
  LayerCache litLayer_, darkLayer_;
};

}  // namespace dashvell
