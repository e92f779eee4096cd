#include "manual/CommandTree.h"

#include <algorithm>
#include <cctype>

namespace manual {

namespace {

void Visit(const CLI::App& app, std::vector<std::string>& path, std::vector<CommandTree::Node>& nodes) {
  nodes.push_back({path, &app});
  for (const CLI::App* sub : CommandTree::Subcommands(app)) {
    path.push_back(sub->get_name());
    Visit(*sub, path, nodes);
    path.pop_back();
  }
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace

std::vector<CommandTree::Node> CommandTree::Walk(const CLI::App& app) {
  std::vector<Node> nodes;
  std::vector<std::string> path;
  Visit(app, path, nodes);
  return nodes;
}

std::vector<const CLI::App*> CommandTree::Subcommands(const CLI::App& app) {
  // An empty group hides a subcommand from the help, and so from the manual.
  return app.get_subcommands(
      [](const CLI::App* sub) { return !sub->get_name().empty() && !sub->get_group().empty(); });
}

std::vector<const CLI::Option*> CommandTree::Options(const CLI::App& app) {
  return app.get_options(
      [](const CLI::Option* option) { return !Names(*option).empty() && !option->get_group().empty(); });
}

std::vector<const CLI::Option*> CommandTree::Positionals(const CLI::App& app) {
  return app.get_options([](const CLI::Option* option) {
    return option->get_positional() && Names(*option).empty() && !option->get_group().empty();
  });
}

std::vector<std::string> CommandTree::Names(const CLI::Option& option) {
  std::vector<std::string> names;
  for (const std::string& name : option.get_snames()) names.push_back("-" + name);
  for (const std::string& name : option.get_lnames()) names.push_back("--" + name);
  return names;
}

// Flags expect no value.
bool CommandTree::TakesValue(const CLI::Option& option) { return option.get_expected_max() > 0; }

bool CommandTree::Repeats(const CLI::Option& option) {
  return option.get_items_expected_max() >= CLI::detail::expected_max_vector_size;
}

std::string CommandTree::ValueName(const CLI::Option& option) {
  if (Names(option).empty()) return Upper(option.get_name(true));
  std::string type = option.get_type_name();
  return type.empty() ? "VALUE" : type;
}

}  // namespace manual
