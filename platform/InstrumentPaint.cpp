// Fonts for the instruments.
#include "platform/InstrumentPaint.h"

#include <QFontMetricsF>

namespace dashvell {

QFont InstrumentFont(int pixels, bool bold) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setPixelSize(pixels < 1 ? 1 : pixels);
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

QFont FitFont(const QString& text, int pixels, bool bold, double width, int minPixels) {
  QFont f = InstrumentFont(pixels, bold);
  while (pixels > minPixels && QFontMetricsF(f).horizontalAdvance(text) > width) {
    --pixels;
    f.setPixelSize(pixels);
  }
  return f;
}

}  // namespace dashvell
