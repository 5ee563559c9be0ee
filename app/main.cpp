// dashvell: the instrument panel.
#include <QApplication>

#include "app/CDashApp.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  // The application's name stays the executable's file name.
  dashvell::CDashApp app;
  app.InitInstance();
  return 0;
}
