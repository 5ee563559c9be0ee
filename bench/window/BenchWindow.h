// The dashboard window as the benchmarks build it: the program's look, its
// own data folder, and optionally a recording serial control and fake clocks
// in place of the system's.
#pragma once

#include <QObject>
#include <filesystem>
#include <memory>

#include "app/CDashDlg.h"

namespace dashvell::bench {

// Fusion, the dialog font and the icon, as the application object sets them.
void ApplyProgramLook();

// A fresh folder for the settings file and ports/, removed with the object.
class TempDataDirectory {
 public:
  TempDataDirectory();
  ~TempDataDirectory();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Counts the paint events delivered to widgets inside one window.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* window);
  long paints() const { return paints_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  long paints_ = 0;
};

// The window with a recording serial control that reports a closed port,
// a counter that steps by itself and a fixed time of day: nothing from
// outside changes what it shows. Warnings are dropped.
std::unique_ptr<CDashDlg> MakeIsolatedWindow();

// The window with the real serial control on the ports of the data folder
// and the system's clocks.
std::unique_ptr<CDashDlg> MakeRealWindow();

}  // namespace dashvell::bench
