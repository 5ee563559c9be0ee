// The numeric display. The text is formatted once per changed value; a write
// that leaves the text as it was costs a comparison and no paint.
#include "platform/AnalogDisplay.h"

#include <QPaintEvent>
#include <cmath>
#include <cstring>

namespace dashvell {
namespace {

bool SameDouble(double a, double b) {
  // Bit-exact: also a repeated not-a-number counts as unchanged.
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

AnalogDisplay::AnalogDisplay(const DisplayLook& look, QWidget* parent)
    : QWidget(parent),
      look_(look),
      units_(QString::fromUtf8(look.units ? look.units : "")),
      lookFont_(InstrumentFont(look.digitPixels, look.bold)),
      lookMetrics_(lookFont_) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  text_ = FormatValue(value_, look_.decimals, units_);
  FitText();
}

QString AnalogDisplay::FormatValue(double v, int decimals, const QString& units) {
  if (!std::isfinite(v)) return QStringLiteral("--") + units;
  int d = decimals < 0 ? 0 : decimals > 9 ? 9 : decimals;
  QString n = QString::number(v, 'f', d);
  // A value that rounds to zero reads "0.00", not "-0.00".
  if (n.startsWith(u'-') && n.mid(1).count(u'0') + n.mid(1).count(u'.') == n.size() - 1)
    n.remove(0, 1);
  return n + units;
}

void AnalogDisplay::PutProperty(DispId id, const Variant& value) {
  if (id == kShownValue && value.type() == VarType::R8) SetShownValue(value.r8());
}

Variant AnalogDisplay::GetProperty(DispId id) {
  if (id == kShownValue) return Variant::R8(value_);
  return {};
}

void AnalogDisplay::SetShownValue(double v) {
  if (SameDouble(v, value_)) return;
  value_ = v;
  QString text = FormatValue(v, look_.decimals, units_);
  if (text == text_) return;
  text_ = std::move(text);
  FitText();
  update();
}

void AnalogDisplay::FitText() {
  // Most values fit at the look's size: one measurement with the metrics kept
  // from construction, and the font search only for a text that is too wide.
  if (lookMetrics_.horizontalAdvance(text_) <= width() - 2) {
    if (font_ != lookFont_) font_ = lookFont_;
    return;
  }
  font_ = FitFont(text_, look_.digitPixels, look_.bold, width() - 2);
}

void AnalogDisplay::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitText();
}

void AnalogDisplay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPixmap& bg = background_.Get(size(), devicePixelRatioF(), [this](QPainter& bp) {
    bp.fillRect(QRectF(QPointF(0, 0), QSizeF(size())), ToQColor(look_.background));
  });
  p.drawPixmap(0, 0, bg);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(font_);
  p.setPen(ToQColor(look_.digitColor));
  p.drawText(rect(), Qt::AlignCenter, text_);
}

}  // namespace dashvell
