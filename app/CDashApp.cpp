#include "app/CDashApp.h"

#include <QApplication>
#include <QStyleFactory>

#include "app/AppIcon.h"
#include "app/CDashDlg.h"
#include "app/DialogFont.h"

namespace dashvell {

bool CDashApp::InitInstance() {
  // The controls live in our own platform layer; there is nothing to enable
  // for them. The raised, three-dimensional control look is Fusion's.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(DialogFont());
  QApplication::setWindowIcon(AppIcon());
  {
    CDashDlg dialog;
    dialog.exec();  // OK or Cancel, both end the program the same way
  }
  return false;
}

}  // namespace dashvell
