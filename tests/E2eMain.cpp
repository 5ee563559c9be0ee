// One QApplication for the whole run, offscreen unless a platform is given.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>
#include <string>

#include "app/DialogFont.h"
#include "platform/ProgramPaths.h"
#include "settings/SettingsFile.h"

int main(int argc, char** argv) {
  // The child the power-loss case kills: saves the two settings in turn
  // until it is killed.
  if (argc == 3 && std::string(argv[1]) == "--save-loop") {
    dashvell::OverrideDataDirectory(argv[2]);
    dashvell::VehicleState s{};
    s.portName = "COM1";
    for (int32_t i = 0;; i ^= 1) {
      s.voltFromCan = i;
      dashvell::CSettingsFile().SaveSettings(s);
    }
  }
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(dashvell::DialogFont());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
