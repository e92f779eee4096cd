#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppOptions.h"
#include "app/CTessaryWinCEApp.h"

namespace {

int Finish(app::AppOptions::Outcome outcome, const std::string& message) {
  const bool usage = outcome == app::AppOptions::Outcome::Usage;
  std::fprintf(usage ? stderr : stdout, "%s%s", message.c_str(), message.ends_with('\n') ? "" : "\n");
  return usage ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The help and the version need no display: they are answered before Qt starts.
  const std::vector<std::string> raw(argv, argv + argc);
  if (app::AppOptions::AsksForInformation(raw)) {
    app::AppOptions options;
    std::string message;
    return Finish(options.Parse(raw, message), message);
  }
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("Tessary");
  app::CTessaryWinCEApp app;
  std::vector<std::string> arguments;
  for (const QString& argument : QApplication::arguments()) arguments.push_back(argument.toStdString());
  std::string message;
  if (const auto outcome = app.ParseCommandLine(arguments, message); outcome != app::AppOptions::Outcome::Run) {
    return Finish(outcome, message);
  }
  if (!app.InitInstance()) return 1;
  return app.Run();
}
