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
  CliContext ctx;
  ctx.AddGlobalOptions(app);
  // Command groups register here, one line each.
  PrefsCommands::Register(app, ctx);
  AccountCommands::Register(app, ctx);
  SubscriptionCommands::Register(app, ctx);
  SyncCommands::Register(app, ctx);
  EntryServiceCommands::Register(app, ctx);
  DumpCommand::Register(app, ctx);
  ModelCommands::Register(app, ctx);
  ImageCommands::Register(app, ctx);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    return rc == 0 ? CliContext::kOk : CliContext::kUsage;
  }
  if (!ctx.run) {
    std::cout << app.help();
    return CliContext::kOk;
  }
  if (!ctx.Prepare()) return CliContext::kFailure;
  if (ctx.changesFiles) {
    if (const int status = ctx.Lock(); status != CliContext::kOk) return status;
  }
  return ctx.run();
}
