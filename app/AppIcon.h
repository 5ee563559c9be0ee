// Icon 128: the window's icon, in 16, 32 and scalable sizes from the
// program's resources.
#pragma once

#include <QIcon>

namespace dashvell {

QIcon AppIcon();

}  // namespace dashvell
