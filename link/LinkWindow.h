// What the gateway link needs of the main window: its buttons, its data push,
// the port dialog and the message box. The window implements it; tests fake it.
#pragma once

#include <string>

namespace dashvell {

class LinkWindow {
 public:
  virtual ~LinkWindow() = default;
  // The window's data exchange run towards its controls.
  virtual void PushDataToControls() = 0;
  virtual void EnableConnect(bool enabled) = 0;
  virtual void EnableDisconnect(bool enabled) = 0;
  // Modal message box with an OK button and an exclamation icon, captioned
  // with the application's name; returns when the operator closed it.
  virtual void ShowWarningBox(const std::string& text) = 0;
  // Runs the Change Serial Port dialog modally on selectedPort; true on OK.
  virtual bool RunPortDialog(std::string& selectedPort) = 0;
};

}  // namespace dashvell
