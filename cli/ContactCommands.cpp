#include "cli/ContactCommands.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <vector>

#include "platform/ContactBook.h"
#include "platform/ErrorCodes.h"

namespace cli {

int ContactCommands::List(bool json, std::ostream& out, std::ostream& err) {
  std::vector<platform::Contact> contacts;
  const std::string path = platform::ContactBook::DefaultPath();
  const uint32_t rc = platform::ContactBook::Read(path, contacts);
  // No address book is an empty one, as the chooser sees it.
  if (rc != 0 && rc != platform::kErrFileNotFound && rc != platform::kErrPathNotFound) {
    err << "tessary-cli: cannot read " << path << " (error " << rc << ")\n";
    return CliContext::kFailure;
  }
  if (json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const platform::Contact& contact : contacts) {
      list.push_back({{"name", contact.name}, {"emails", contact.emails}});
    }
    out << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    return CliContext::kOk;
  }
  for (const platform::Contact& contact : contacts) {
    for (const std::string& email : contact.emails) out << contact.name << '\t' << email << '\n';
  }
  return CliContext::kOk;
}

void ContactCommands::Register(CLI::App& app, CliContext& ctx) {
  app.add_subcommand("contacts", "List the e-mail addresses of the device's contacts")->callback([&ctx] {
    ctx.run = [&ctx] { return List(ctx.json, std::cout, std::cerr); };
    ctx.changesFiles = false;
  });
}

}  // namespace cli
