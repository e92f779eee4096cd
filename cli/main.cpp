#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/CliContext.h"
#include "cli/CliProgram.h"

int main(int argc, char** argv) {
  CLI::App app;
  app.name("tessary-cli");
  cli::CliContext ctx;
  cli::CliProgram::Define(app, ctx);
  app.footer(cli::CliProgram::Manual().HelpFooter());

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
