// The numeric display: a number with a fixed count of decimals followed by its
// units text, driven by one property, the number shown (dispatch id 4204, VT_R8).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QWidget>

#include "platform/Control.h"
#include "platform/InstrumentLook.h"
#include "platform/InstrumentPaint.h"

namespace dashvell {

class AnalogDisplay : public QWidget, public Control {
 public:
  static constexpr DispId kShownValue = 4204;

  explicit AnalogDisplay(const DisplayLook& look, QWidget* parent = nullptr);

  void PutProperty(DispId id, const Variant& value) override;
  Variant GetProperty(DispId id) override;

  double shownValue() const { return value_; }
  // What the operator reads: the number and the units text.
  const QString& text() const { return text_; }
  // The font the text is drawn in: the look's size, or smaller where the text
  // would not fit the control's width.
  const QFont& textFont() const { return font_; }
  const DisplayLook& look() const { return look_; }

  // The text for a value: `decimals` after the point, then the units; a value
  // that is not a finite number reads as dashes instead of "nan" or "inf".
  static QString FormatValue(double v, int decimals, const QString& units);

  QSize sizeHint() const override { return {90, 18}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SetShownValue(double v);
  void FitText();

  DisplayLook look_;
  QString units_;
  QFont lookFont_;
  QFontMetricsF lookMetrics_;
  double value_ = 0;
  QString text_;
  QFont font_;
  LayerCache background_;
};

}  // namespace dashvell
