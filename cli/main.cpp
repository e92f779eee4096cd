#include <CLI/CLI.hpp>

#include <iostream>

#include "TessaryVersion.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"

int main(int argc, char** argv) {
  CLI::App app{"tessary-cli: the Tessary photo-blogging client without a screen"};
  app.set_version_flag("--version", std::string("tessary-cli ") + TESSARY_VERSION_FULL);
  cli::CliContext ctx;
  cli::CliCommands::Register(app, ctx);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    return rc == 0 ? cli::CliContext::kOk : cli::CliContext::kUsage;
  }
  if (!ctx.run) {
    std::cout << app.help();
    return cli::CliContext::kOk;
  }
  if (!ctx.Prepare()) return cli::CliContext::kFailure;
  if (ctx.changesFiles) {
    if (const int status = ctx.Lock(); status != cli::CliContext::kOk) return status;
  }
  return ctx.run();
}
