// The looks the gallery shows, taken by control id from the dashboard's own
// template, so that what a reviewer sees is what the window is built with.
#pragma once

#include <variant>

#include "app/DashTemplate.h"

namespace dashvell::gallery {

template <typename Look>
const Look& DashLook(int id) {
  return *std::get<const Look*>(FindItem(DashTemplate(), id)->look);
}

inline const GaugeLook& Gauge(int id) {
  return DashLook<GaugeLook>(id);
}
inline const DisplayLook& Display(int id) {
  return DashLook<DisplayLook>(id);
}
inline const LampLook& Lamp(int id) {
  return DashLook<LampLook>(id);
}
inline const OdometerLook& OdometerAt(int id) {
  return DashLook<OdometerLook>(id);
}
inline const LabelLook& LabelAt(int id) {
  return DashLook<LabelLook>(id);
}

}  // namespace dashvell::gallery
