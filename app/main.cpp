#include <QApplication>
#include <cstdio>

#include "app/CTessaryWinCEApp.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Tessary");
  CTessaryWinCEApp app;
  std::string error;
  if (!app.ParseCommandLine(QApplication::arguments(), error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  if (!app.InitInstance()) return 1;
  return app.Run();
}
