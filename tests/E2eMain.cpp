// One QApplication for the whole run, offscreen unless a platform is given.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>

#include "app/DialogFont.h"

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(dashvell::DialogFont());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
