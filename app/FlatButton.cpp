#include "app/FlatButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace dashvell {

void FlatButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const bool sunk = isDown() || isChecked();
  QRect r = rect().adjusted(0, 0, -1, -1);
  p.fillRect(rect(), sunk ? pal.color(QPalette::Mid) : pal.color(QPalette::Button));
  p.setPen(pal.color(QPalette::Shadow));
  p.drawRect(r);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
  QRect textRect = rect();
  if (sunk) textRect.translate(1, 1);
  style()->drawItemText(&p, textRect, Qt::AlignCenter | Qt::TextShowMnemonic, pal, isEnabled(),
                        text(), QPalette::ButtonText);
}

}  // namespace dashvell
