#include "bench/window/BenchWindow.h"

#include <QApplication>
#include <QEvent>
#include <QStyleFactory>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "app/AppIcon.h"
#include "app/DialogFont.h"
#include "platform/ProgramPaths.h"
#include "platform/RecordingControl.h"

namespace dashvell::bench {
namespace {

class SteppingCounter : public MillisecondCounter {
 public:
  uint32_t Now() override { return now_++; }
  void Pause() override { ++now_; }

 private:
  uint32_t now_ = 0;
};

class FixedClock : public LocalClock {
 public:
  TimeOfDay Now() override { return {9, 5, 7}; }
};

}  // namespace

void ApplyProgramLook() {
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(DialogFont());
  QApplication::setWindowIcon(AppIcon());
}

TempDataDirectory::TempDataDirectory() {
  std::string dir = (std::filesystem::temp_directory_path() / "dashvell-bench-XXXXXX").string();
  if (::mkdtemp(dir.data()) == nullptr) std::abort();
  path_ = dir;
  OverrideDataDirectory(path_);
}

TempDataDirectory::~TempDataDirectory() {
  OverrideDataDirectory({});
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

PaintCounter::PaintCounter(QWidget* window) {
  window->installEventFilter(this);
  for (QWidget* child : window->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::Paint) ++paints_;
  return false;
}

std::unique_ptr<CDashDlg> MakeIsolatedWindow() {
  static SteppingCounter counter;
  static FixedClock clock;
  DashServices services;
  services.makeSerialControl = [] {
    auto control = std::make_unique<RecordingControl>();
    control->SetGetResult(CMSComm::kOpenState, Variant::Bool(false));
    control->SetGetResult(CMSComm::kEventCode, Variant::I2(1));
    return control;
  };
  services.counter = &counter;
  services.clock = &clock;
  services.showWarning = [](QWidget*, const QString&, const QString&) {};
  return std::make_unique<CDashDlg>(std::move(services));
}

std::unique_ptr<CDashDlg> MakeRealWindow() {
  DashServices services;
  services.showWarning = [](QWidget*, const QString&, const QString&) {};
  return std::make_unique<CDashDlg>(std::move(services));
}

}  // namespace dashvell::bench
