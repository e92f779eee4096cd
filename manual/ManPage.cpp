#include "manual/ManPage.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

#include "manual/CommandTree.h"

namespace manual {

namespace {

// Text for a roff line: backslashes and minus signs made literal (so options
// copy as typed), a leading control character neutralised.
std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out.insert(0, "\\&");
  return out;
}

std::string Bold(const std::string& text) { return "\\fB" + Escape(text) + "\\fR"; }
std::string Italic(const std::string& text) { return "\\fI" + Escape(text) + "\\fR"; }

// Descriptions read as sentences in a page even where --help leaves off the stop.
std::string Sentence(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  if (!text.empty() && std::string(".!?:").find(text.back()) == std::string::npos) text += '.';
  return text;
}

void Paragraphs(std::ostream& out, const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  bool open = false;
  while (std::getline(lines, line)) {
    if (line.empty()) {
      open = false;
      continue;
    }
    if (!open) out << ".PP\n";
    open = true;
    out << Escape(line) << '\n';
  }
}

// Lines kept as they are, as the help prints them.
void Preformatted(std::ostream& out, const std::string& text) {
  out << ".PP\n.nf\n";
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) out << Escape(line) << '\n';
  out << ".fi\n";
}

std::string Usage(const std::vector<std::string>& words, const CLI::App& app) {
  std::string usage;
  for (const std::string& word : words) usage += (usage.empty() ? "" : " ") + Bold(word);
  const std::vector<const CLI::Option*> options = CommandTree::Options(app);
  // Every command has --help; [OPTIONS] stands for the others.
  if (std::any_of(options.begin(), options.end(), [&](const CLI::Option* o) { return o != app.get_help_ptr(); })) {
    usage += " [" + Italic("OPTIONS") + "]";
  }
  for (const CLI::Option* positional : CommandTree::Positionals(app)) {
    std::string name = Italic(CommandTree::ValueName(*positional));
    if (CommandTree::Repeats(*positional)) name += "...";
    usage += " " + (positional->get_required() ? name : "[" + name + "]");
  }
  if (!CommandTree::Subcommands(app).empty()) {
    const std::string command = Italic("COMMAND");
    usage += " " + (app.get_require_subcommand_min() > 0 ? command : "[" + command + "]");
  }
  return usage;
}

void Item(std::ostream& out, const std::string& term, const std::string& text) {
  out << ".TP\n" << term << '\n' << text << '\n';
}

void Option(std::ostream& out, const CLI::Option& option) {
  std::string term;
  for (const std::string& name : CommandTree::Names(option)) term += (term.empty() ? "" : ", ") + Bold(name);
  if (CommandTree::TakesValue(option)) term += " " + Italic(CommandTree::ValueName(option));
  std::string text = Escape(Sentence(option.get_description()));
  if (!option.get_envname().empty()) text += " Environment: " + Bold(option.get_envname()) + ".";
  if (!option.get_default_str().empty()) text += " Default: " + Escape(option.get_default_str()) + ".";
  if (option.get_required()) text += " Required.";
  Item(out, term, text);
}

void Positional(std::ostream& out, const CLI::Option& positional) {
  std::string text = positional.get_description().empty() ? "" : Escape(Sentence(positional.get_description()));
  Item(out, Italic(CommandTree::ValueName(positional)), text);
}

void Command(std::ostream& out, const CommandTree::Node& node) {
  out << ".SS \"" << Usage(node.path, *node.app) << "\"\n";
  Paragraphs(out, Sentence(node.app->get_description()));
  const CLI::Option* help = node.app->get_help_ptr();
  for (const CLI::Option* positional : CommandTree::Positionals(*node.app)) Positional(out, *positional);
  for (const CLI::Option* option : CommandTree::Options(*node.app)) {
    if (option != help) Option(out, *option);
  }
  // Subcommands inherit their parent's footer; it is shown once, with the parent.
  const std::string footer = node.app->get_footer();
  const CLI::App* parent = node.app->get_parent();
  if (!footer.empty() && (parent == nullptr || parent->get_footer() != footer)) Preformatted(out, footer);
}

void Items(std::ostream& out, const char* section, const std::vector<ProgramManual::Item>& items, bool bold) {
  if (items.empty()) return;
  out << ".SH " << section << '\n';
  for (const ProgramManual::Item& item : items) {
    Item(out, bold ? Bold(item.term) : Escape(item.term), Escape(Sentence(item.text)));
  }
}

}  // namespace

std::string ManPage::Write(const CLI::App& app, const ProgramManual& manual) {
  std::ostringstream out;
  std::string title = manual.name;
  std::transform(title.begin(), title.end(), title.begin(), [](unsigned char c) { return std::toupper(c); });
  out << ".TH " << Escape(title) << " 1 \"\" \"" << Escape(manual.name + " " + manual.version)
      << "\" \"User Commands\"\n";
  out << ".SH NAME\n" << Escape(manual.name) << " \\- " << Escape(manual.summary) << '\n';

  const std::vector<CommandTree::Node> nodes = CommandTree::Walk(app);
  out << ".SH SYNOPSIS\n" << Usage({manual.name}, app) << '\n';
  out << ".SH DESCRIPTION\n";
  for (const std::string& paragraph : manual.description) Paragraphs(out, paragraph + "\n\n");

  out << ".SH OPTIONS\n";
  for (const CLI::Option* option : CommandTree::Options(app)) Option(out, *option);
  if (nodes.size() > 1) {
    out << ".SH COMMANDS\n";
    out << "Each command also takes " << Bold("--help") << ".\n";
    for (size_t i = 1; i < nodes.size(); ++i) {
      std::vector<std::string> words = nodes[i].path;
      words.insert(words.begin(), manual.name);
      Command(out, {words, nodes[i].app});
    }
  }
  Items(out, "EXIT STATUS", manual.exitStatuses, false);

  std::vector<ProgramManual::Item> environment;
  std::set<std::string> seen;
  for (const CommandTree::Node& node : nodes) {
    for (const CLI::Option* option : CommandTree::Options(*node.app)) {
      if (option->get_envname().empty() || !seen.insert(option->get_envname()).second) continue;
      std::string words;
      for (const std::string& word : node.path) words += word + " ";
      environment.push_back({option->get_envname(), "Stands for " + words + CommandTree::Names(*option).back() +
                                                         " when that is not given. " +
                                                         Sentence(option->get_description())});
    }
  }
  for (const ProgramManual::Item& item : manual.environment) {
    if (seen.insert(item.term).second) environment.push_back(item);
  }
  Items(out, "ENVIRONMENT", environment, true);
  Items(out, "FILES", manual.files, false);
  if (!manual.examples.empty()) {
    out << ".SH EXAMPLES\n";
    for (const ProgramManual::Item& example : manual.examples) {
      out << ".PP\n" << Escape(Sentence(example.text)) << "\n.PP\n.RS 4\n.nf\n" << Escape(example.term) << "\n.fi\n.RE\n";
    }
  }
  if (!manual.seeAlso.empty()) {
    out << ".SH SEE ALSO\n";
    for (size_t i = 0; i < manual.seeAlso.size(); ++i) {
      // "name(1)": the name in bold, the section plain.
      const std::string& page = manual.seeAlso[i];
      const size_t open = page.find('(');
      out << Bold(page.substr(0, open)) << (open == std::string::npos ? "" : Escape(page.substr(open)))
          << (i + 1 < manual.seeAlso.size() ? ",\n" : "\n");
    }
  }
  return out.str();
}

}  // namespace manual
