// The window layouts as data: every item of the dashboard (102), the About box
// (100) and the port dialog (130) in template order, which is also the tab
// order, with its place in dialog units, its style and, for the instruments,
// the look it is created with.
#pragma once

#include <cstdint>
#include <span>
#include <variant>

#include "platform/InstrumentLook.h"

namespace dashvell {

enum class ItemKind {
  Gauge,
  Display,
  Odometer,
  Lamp,
  Label,       // the caption control: fixed text, never driven
  SerialComm,  // the serial communications control, never visible
  Edit,
  PushButton,
  CheckButton,  // a check box drawn as a push button that stays down while on
  RadioButton,
  GroupBox,
  Icon,
  StaticText,
  ComboBox,  // editable text field with a drop-down list
};

enum ItemStyle : uint32_t {
  kTabStop = 1u << 0,
  kGroupStart = 1u << 1,  // first control of a group (the radio pair)
  kDisabled = 1u << 2,
  kDefaultButton = 1u << 3,
  kFlat = 1u << 4,
  kReadOnly = 1u << 5,
  kCentered = 1u << 6,
  kBorder = 1u << 7,
  kInvisible = 1u << 8,
  kNoPrefix = 1u << 9,  // ampersands shown as they are
  kVScroll = 1u << 10,
};

// Position and size in dialog units.
struct DuRect {
  int x = 0, y = 0, w = 0, h = 0;
};

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PixelRect&) const = default;
};
// Each of x, y, width and height is converted on its own, as the platform's
// dialog manager does.
PixelRect ToPixels(const DuRect& r);

using ItemLook = std::variant<std::monostate, const GaugeLook*, const DisplayLook*,
                              const OdometerLook*, const LampLook*, const LabelLook*>;

inline constexpr int kNoId = -1;  // group boxes, icons and static texts

struct TemplateItem {
  int id;
  ItemKind kind;
  const char* text;  // caption; an ampersand marks the mnemonic
  DuRect rect;
  uint32_t style;
  ItemLook look;
};

struct DialogTemplate {
  int id;
  const char* caption;
  int width, height;  // client area, dialog units
  std::span<const TemplateItem> items;
  const char* const* comboItems;  // initial list of the one combo box, or null
  int comboItemCount;
};

const DialogTemplate& DashTemplate();   // 102, the dashboard window
const DialogTemplate& AboutTemplate();  // 100
const DialogTemplate& PortTemplate();   // 130

// The item of that id, or null.
const TemplateItem* FindItem(const DialogTemplate& t, int id);

// String 101: the About item of the window menu, and its command id.
inline constexpr const char* kAboutMenuText = "&About Dashvell...";
inline constexpr unsigned kAboutCommandId = 16;

inline constexpr const char* kDashCaption = "Dashvell V1.00A, By Brevikon, Build 02012012-01";

}  // namespace dashvell
