#include "app/AppIcon.h"

#include <QFile>

// The icons are compiled into a static library, whose resource initialiser
// the linker would otherwise drop.
static void InitIconResources() {
  Q_INIT_RESOURCE(dashvell);
}

namespace dashvell {

QIcon AppIcon() {
  static const bool loaded = (InitIconResources(), true);
  (void)loaded;
  QIcon icon;
  icon.addFile(QStringLiteral(":/dashvell/icon128-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/dashvell/icon128-32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/dashvell/icon128-256.png"), QSize(256, 256));
  return icon;
}

}  // namespace dashvell
