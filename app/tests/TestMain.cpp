// The window tests need one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>

#include "app/DialogFont.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(dashvell::DialogFont());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
