// Builds the controls of a dialog template on a window: each at its place in
// pixels, in template order for the tab order, the earlier lying on top where
// they overlap, instruments from their looks.
#pragma once

#include <QWidget>
#include <map>
#include <vector>

#include "app/DashTemplate.h"
#include "platform/Control.h"

namespace dashvell {

struct TemplateControls {
  std::map<int, QWidget*> byId;      // items with an identifier
  std::map<int, Control*> controls;  // the instruments behind the seam, by id
  std::vector<QWidget*> inOrder;     // every widget made, in template order
};

// Makes every item of t except the serial communications control, which has
// no window; the caller supplies that one. Sets the parent's client size.
TemplateControls CreateTemplateControls(const DialogTemplate& t, QWidget* parent);

// The caption as shown: mnemonic ampersands taken out ("&&" stays one "&").
QString ShownCaption(const char* text);

}  // namespace dashvell
