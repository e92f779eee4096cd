#include "cli/CliCommands.h"

#include "cli/AccountCommands.h"
#include "cli/ContactCommands.h"
#include "cli/DumpCommand.h"
#include "cli/EntryEditCommands.h"
#include "cli/EntryServiceCommands.h"
#include "cli/FontCommand.h"
#include "cli/ImageCommands.h"
#include "cli/ModelCommands.h"
#include "cli/PrefsCommands.h"
#include "cli/SubscriptionCommands.h"
#include "cli/SyncCommands.h"

namespace cli {

void CliCommands::Register(CLI::App& app, CliContext& ctx) {
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
  ContactCommands::Register(app, ctx);
  FontCommand::Register(app, ctx);
  EntryEditCommands::Register(app, ctx);
}

}  // namespace cli
