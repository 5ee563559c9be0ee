#include "app/AppIcon.h"

namespace dashvell {

QIcon AppIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/dashvell/icon128-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/dashvell/icon128-32.png"), QSize(32, 32));
  icon.addFile(QStringLiteral(":/dashvell/icon128-256.png"), QSize(256, 256));
  return icon;
}

}  // namespace dashvell
