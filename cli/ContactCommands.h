#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>

#include "cli/CliContext.h"

namespace cli {

// `contacts`: the e-mail addresses of the device's address book
// ("\My Documents\Contacts.vcf"), as the photo mail's contact chooser shows them.
class ContactCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);
  static int List(bool json, std::ostream& out, std::ostream& err);
};

}  // namespace cli
