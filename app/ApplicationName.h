// The application's name, which captions its message boxes: the executable's
// file name without its extension.
#pragma once

#include <QCoreApplication>
#include <QFileInfo>
#include <QString>

namespace dashvell {

inline QString ApplicationName() {
  QString path = QCoreApplication::applicationFilePath();
  if (path.isEmpty()) return QStringLiteral("dashvell");
  return QFileInfo(path).completeBaseName();
}

}  // namespace dashvell
