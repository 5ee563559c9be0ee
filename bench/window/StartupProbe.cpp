// The program's own start-up, probed: the same look and the same window with
// the system's serial control and clocks as the application object makes
// them, run modally; when the window's first paint has been delivered and
// flushed it prints the wall-clock time (CLOCK_REALTIME, nanoseconds) and
// ends the run. bench/run takes the time before exec and subtracts.
#include <time.h>

#include <QApplication>
#include <QEvent>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

#include "app/AppIcon.h"
#include "app/CDashDlg.h"
#include "app/DialogFont.h"

namespace dashvell {
namespace {

class FirstPaint : public QObject {
 public:
  explicit FirstPaint(CDashDlg& dlg) : dlg_(dlg) { dlg.installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // The children paint in the same pass and the backing store is flushed
      // after it; a zero timer runs once all of that is done.
      QTimer::singleShot(0, &dlg_, [this] {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("first_paint_ns %lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        dlg_.done(0);
      });
    }
    return false;
  }

 private:
  CDashDlg& dlg_;
  bool seen_ = false;
};

}  // namespace
}  // namespace dashvell

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  // What the application object does before its window, then the window.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(dashvell::DialogFont());
  QApplication::setWindowIcon(dashvell::AppIcon());
  dashvell::CDashDlg dialog;
  dashvell::FirstPaint probe(dialog);
  dialog.exec();
  return 0;
}
