// The application object: sets up the look, runs the dashboard window
// modally and ends the program when it closes.
#pragma once

namespace dashvell {

class CDashApp {
 public:
  // Runs the whole program; returns false, as there is no message loop of
  // the application's own to enter after the window has closed.
  bool InitInstance();
};

}  // namespace dashvell
