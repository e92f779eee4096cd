#include <CLI/CLI.hpp>

#include <iostream>

#include "TessaryVersion.h"
#include "cli/CliContext.h"
#include "cli/ImageCommands.h"
#include "cli/DumpCommand.h"
#include "cli/ModelCommands.h"
#include "cli/PrefsCommands.h"
#include "cli/AccountCommands.h"
#include "cli/SubscriptionCommands.h"
#include "cli/SyncCommands.h"
#include "cli/EntryServiceCommands.h"

int main(int argc, char** argv) {
  CLI::App app{"tessary-cli: the Tessary photo-blogging client without a screen"};
  app.set_version_flag("--version", std::string("tessary-cli ") + TESSARY_VERSION_FULL);
  cli::CliContext ctx;
  ctx.AddGlobalOptions(app);
  // Command groups register here, one line each.
  cli::PrefsCommands::Register(app, ctx);
  cli::AccountCommands::Register(app, ctx);
  cli::SubscriptionCommands::Register(app, ctx);
  cli::SyncCommands::Register(app, ctx);
  cli::EntryServiceCommands::Register(app, ctx);
  cli::DumpCommand::Register(app, ctx);
  cli::ModelCommands::Register(app, ctx);
  cli::ImageCommands::Register(app, ctx);

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
  return ctx.run();
}
