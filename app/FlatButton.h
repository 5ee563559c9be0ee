// A flat push button as the dashboard's operator buttons look: a thin dark
// frame on the button face, pressed or checked shown sunk, caption centred
// with its mnemonic underlined.
#pragma once

#include <QPushButton>

namespace dashvell {

class FlatButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace dashvell
