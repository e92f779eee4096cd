#include "cli/CliProgram.h"

#include <string>

#include "TessaryVersion.h"
#include "cli/CliCommands.h"

namespace cli {

void CliProgram::Define(CLI::App& app, CliContext& ctx) {
  app.description("tessary-cli: the Tessary photo-blogging client without a screen");
  app.set_version_flag("--version", std::string("tessary-cli ") + TESSARY_VERSION_FULL);
  CliCommands::Register(app, ctx);
}

manual::ProgramManual CliProgram::Manual() {
  manual::ProgramManual manual;
  manual.name = "tessary-cli";
  manual.version = TESSARY_VERSION_FULL;
  manual.summary = "the Tessary photo-blogging client without a screen";
  manual.description = {
      "tessary-cli keeps photo blogs on a Tessary service and follows other people's blogs, like the tessary "
      "program, from the command line: photos become pending entries of a blog, and a sync sends pending "
      "entries, deletions, categories, comments and blog settings up and brings entries, thumbnails, photos, "
      "categories and comments down.",
      "The device root holds the files the program keeps (the user file, the blog databases, the photos and the "
      "registry). Everything created there is the user's alone. The tessary program may use the same device "
      "root at the same time: a command that changes the user file or a blog database holds the device root's "
      "lock while it runs, and says so while it waits for the other program.",
      "Messages appear as \"Tessary: TEXT\" on standard error. Questions take --yes or --no, else a prompt on a "
      "terminal, else No. A sync shows a progress line on a terminal and one line per stage otherwise; Ctrl-C "
      "cancels it cleanly.",
  };
  manual.exitStatuses = {
      {"0", "Success"},
      {"1", "Failure (the message says why)"},
      {"2", "The command line is not valid"},
      {"130", "Cancelled with Ctrl-C"},
  };
  manual.environment = {
      {"TESSARY_PASSWORD", "Password for login and create-account when --password-stdin is not given"},
      {"XDG_DATA_HOME", "The default device root is $XDG_DATA_HOME/tessary/device, or without it "
                        "~/.local/share/tessary/device"},
  };
  manual.files = {
      {"~/.local/share/tessary/device", "The default device root"},
      {"ROOT/.tessary-lock", "The device root's lock, shared with the tessary program"},
      {"ROOT/Windows/Registry/HKEY_CURRENT_USER.json", "The preferences (see the prefs command)"},
  };
  manual.examples = {
      {"TESSARY_PASSWORD=secret tessary-cli --service photos.example login ann@example.com",
       "Log in to the account ann@example.com on the service photos.example"},
      {"tessary-cli --yes sync", "Check the account and sync every blog"},
      {"tessary-cli add travel harbour.jpg --title Harbour", "Add a photo to the blog travel as a pending entry"},
      {"tessary-cli sync travel", "Sync that blog"},
  };
  manual.seeAlso = {"tessary(1)", "tessary-service(1)"};
  return manual;
}

}  // namespace cli
