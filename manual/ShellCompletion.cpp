#include "manual/ShellCompletion.h"

#include <sstream>
#include <vector>

#include "manual/CommandTree.h"

namespace manual {

namespace {

// Every command as a numbered node: its words, the words that lead on to other
// nodes, and the options that take a value (the next word is that value).
struct Node {
  struct Word {
    std::string word;
    std::string description;
    bool takesValue = false;
  };
  std::vector<std::pair<std::string, size_t>> next;
  std::vector<Word> commands;
  std::vector<Word> options;
  bool positionals = false;
};

std::vector<Node> Nodes(const CLI::App& app) {
  const std::vector<CommandTree::Node> tree = CommandTree::Walk(app);
  std::vector<Node> nodes(tree.size());
  for (size_t i = 0; i < tree.size(); ++i) {
    const CLI::App& command = *tree[i].app;
    // A command that falls through also takes the options of the commands above it.
    for (const CLI::App* from = &command; from != nullptr; from = from->get_fallthrough() ? from->get_parent() : nullptr) {
      for (const CLI::Option* option : CommandTree::Options(*from)) {
        if (from != &command && option == from->get_help_ptr()) continue;
        for (const std::string& name : CommandTree::Names(*option)) {
          nodes[i].options.push_back({name, option->get_description(), CommandTree::TakesValue(*option)});
        }
      }
    }
    nodes[i].positionals = !CommandTree::Positionals(command).empty();
    // A child's node follows its parent's in the walk; find it by its path.
    for (const CLI::App* sub : CommandTree::Subcommands(command)) {
      nodes[i].commands.push_back({sub->get_name(), sub->get_description(), false});
      std::vector<std::string> path = tree[i].path;
      path.push_back(sub->get_name());
      for (size_t j = i + 1; j < tree.size(); ++j) {
        if (tree[j].path == path) nodes[i].next.emplace_back(sub->get_name(), j);
      }
    }
  }
  return nodes;
}

std::string Identifier(const std::string& program) {
  std::string id = "_";
  for (char c : program) id += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return id;
}

// A word inside single quotes in any of the three shells.
std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else if (c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::string Joined(const std::vector<Node::Word>& words) {
  std::string out;
  for (const Node::Word& word : words) out += (out.empty() ? "" : " ") + word.word;
  return out;
}

// The patterns "NODE WORD" of the options that take a value, for a case statement.
std::string ValuePatterns(const std::vector<Node>& nodes, const char* separator) {
  std::string out;
  for (size_t i = 0; i < nodes.size(); ++i) {
    for (const Node::Word& option : nodes[i].options) {
      if (option.takesValue) out += (out.empty() ? "" : separator) + Quoted(std::to_string(i) + " " + option.word);
    }
  }
  return out;
}

}  // namespace

std::string ShellCompletion::Bash(const CLI::App& app, const std::string& program) {
  const std::vector<Node> nodes = Nodes(app);
  const std::string id = Identifier(program);
  std::ostringstream out;
  out << "# bash completion for " << program << ", made from its command line definitions\n";
  out << id << "() {\n"
      << "  local cur=${COMP_WORDS[COMP_CWORD]} node=0 skip=0 word i words=\n"
      << "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
      << "    word=${COMP_WORDS[i]}\n"
      << "    if ((skip)); then skip=0; continue; fi\n"
      << "    case \"$node $word\" in\n";
  if (std::string values = ValuePatterns(nodes, "|"); !values.empty()) out << "      " << values << ") skip=1 ;;\n";
  for (size_t i = 0; i < nodes.size(); ++i) {
    for (const auto& [word, next] : nodes[i].next) {
      out << "      " << Quoted(std::to_string(i) + " " + word) << ") node=" << next << " ;;\n";
    }
  }
  out << "    esac\n"
      << "  done\n"
      << "  # An option's value: the shell's own completion (file names).\n"
      << "  ((skip)) && return 0\n"
      << "  if [[ $cur == -* ]]; then\n"
      << "    case $node in\n";
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!nodes[i].options.empty()) out << "      " << i << ") words=" << Quoted(Joined(nodes[i].options)) << " ;;\n";
  }
  out << "    esac\n"
      << "  else\n"
      << "    case $node in\n";
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!nodes[i].commands.empty()) out << "      " << i << ") words=" << Quoted(Joined(nodes[i].commands)) << " ;;\n";
  }
  out << "    esac\n"
      << "  fi\n"
      << "  COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
      << "}\n"
      << "complete -o default -F " << id << ' ' << program << '\n';
  return out.str();
}

std::string ShellCompletion::Zsh(const CLI::App& app, const std::string& program) {
  const std::vector<Node> nodes = Nodes(app);
  const std::string id = Identifier(program);
  auto described = [](const std::vector<Node::Word>& words) {
    std::string out;
    for (const Node::Word& word : words) {
      std::string name;
      for (char c : word.word) name += c == ':' ? std::string("\\:") : std::string(1, c);
      out += " " + Quoted(name + ":" + word.description);
    }
    return out;
  };
  std::ostringstream out;
  out << "#compdef " << program << "\n# zsh completion for " << program
      << ", made from its command line definitions\n";
  out << id << "() {\n"
      << "  local node=0 skip=0 word i\n"
      << "  local -a items\n"
      << "  for ((i = 2; i < CURRENT; i++)); do\n"
      << "    word=${words[i]}\n"
      << "    if ((skip)); then skip=0; continue; fi\n"
      << "    case \"$node $word\" in\n";
  if (std::string values = ValuePatterns(nodes, "|"); !values.empty()) out << "      (" << values << ") skip=1 ;;\n";
  for (size_t i = 0; i < nodes.size(); ++i) {
    for (const auto& [word, next] : nodes[i].next) {
      out << "      (" << Quoted(std::to_string(i) + " " + word) << ") node=" << next << " ;;\n";
    }
  }
  out << "    esac\n"
      << "  done\n"
      << "  if ((skip)); then _files; return; fi\n"
      << "  if [[ ${words[CURRENT]} == -* ]]; then\n"
      << "    case $node in\n";
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!nodes[i].options.empty()) out << "      (" << i << ") items=(" << described(nodes[i].options) << ") ;;\n";
  }
  out << "    esac\n"
      << "    _describe -t options option items\n"
      << "    return\n"
      << "  fi\n"
      << "  case $node in\n";
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!nodes[i].commands.empty()) out << "    (" << i << ") items=(" << described(nodes[i].commands) << ") ;;\n";
  }
  out << "  esac\n"
      << "  if ((${#items})); then _describe -t commands command items; else _files; fi\n"
      << "}\n"
      << id << " \"$@\"\n";
  return out.str();
}

std::string ShellCompletion::Fish(const CLI::App& app, const std::string& program) {
  const std::vector<Node> nodes = Nodes(app);
  const std::string function = Identifier(program) + "_node";
  std::ostringstream out;
  out << "# fish completion for " << program << ", made from its command line definitions\n";
  out << "function " << function << "\n"
      << "    set -l node 0\n"
      << "    set -l skip 0\n"
      << "    set -l words (commandline -opc)\n"
      << "    set -e words[1]\n"
      << "    for word in $words\n"
      << "        if test $skip = 1\n"
      << "            set skip 0\n"
      << "            continue\n"
      << "        end\n"
      << "        switch \"$node $word\"\n";
  if (std::string values = ValuePatterns(nodes, " "); !values.empty()) {
    out << "            case " << values << "\n                set skip 1\n";
  }
  for (size_t i = 0; i < nodes.size(); ++i) {
    for (const auto& [word, next] : nodes[i].next) {
      out << "            case " << Quoted(std::to_string(i) + " " + word) << "\n                set node " << next
          << "\n";
    }
  }
  out << "        end\n"
      << "    end\n"
      << "    echo $node\n"
      << "end\n";
  for (size_t i = 0; i < nodes.size(); ++i) {
    const std::string when = " -n " + Quoted("test (" + function + ") = " + std::to_string(i));
    // Where only a command word can come, file names are no choice.
    if (!nodes[i].commands.empty() && !nodes[i].positionals) out << "complete -c " << program << when << " -f\n";
    for (const Node::Word& command : nodes[i].commands) {
      out << "complete -c " << program << when << " -a " << Quoted(command.word) << " -d "
          << Quoted(command.description) << '\n';
    }
    for (const Node::Word& option : nodes[i].options) {
      const bool isLong = option.word.rfind("--", 0) == 0;
      out << "complete -c " << program << when << (isLong ? " -l " : " -s ")
          << Quoted(option.word.substr(isLong ? 2 : 1)) << (option.takesValue ? " -r" : "") << " -d "
          << Quoted(option.description) << '\n';
    }
  }
  return out.str();
}

}  // namespace manual
