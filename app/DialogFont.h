// The font every dialog is laid out for: 8-point "MS Sans Serif" at 96 dpi is
// 11 pixels; Liberation Sans stands in for it at the same pixel size.
#pragma once

#include <QFont>
#include <QString>

namespace dashvell {

inline constexpr const char* kDialogFontFamily = "Liberation Sans";
inline constexpr int kDialogFontPixels = 11;

inline QFont DialogFont() {
  QFont font(QString::fromLatin1(kDialogFontFamily));
  font.setPixelSize(kDialogFontPixels);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace dashvell
