#include <CLI/CLI.hpp>

#include "server/ServiceCommandLine.h"

int main(int argc, char** argv) {
  CLI::App app;
  app.name("tessary-service");
  server::ServiceCommandLine commandLine(app);
  app.footer(server::ServiceCommandLine::Manual().HelpFooter());
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? server::ServiceCommandLine::kOk : server::ServiceCommandLine::kUsage;
  }
  return commandLine.Run();
}
