// Writes a manual page or a completion script of tessary-cli or tessary-service
// from the same command definitions the programs parse with.
#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <memory>

#include "cli/CliContext.h"
#include "cli/CliProgram.h"
#include "manual/ManPage.h"
#include "manual/ShellCompletion.h"
#include "server/ServiceCommandLine.h"

namespace {

int Write(const CLI::App& app, const manual::ProgramManual& info, const std::string& kind, const std::string& path) {
  std::string text;
  if (kind == "man") {
    text = manual::ManPage::Write(app, info);
  } else if (kind == "bash") {
    text = manual::ShellCompletion::Bash(app, info.name);
  } else if (kind == "zsh") {
    text = manual::ShellCompletion::Zsh(app, info.name);
  } else if (kind == "fish") {
    text = manual::ShellCompletion::Fish(app, info.name);
  } else {
    std::cerr << "tessary-manual: unknown kind " << kind << "\n";
    return 2;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "tessary-manual: cannot write " << path << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: tessary-manual tessary-cli|tessary-service man|bash|zsh|fish OUTPUT\n";
    return 2;
  }
  const std::string program = argv[1];
  CLI::App app;
  app.name(program);
  if (program == "tessary-cli") {
    cli::CliContext ctx;
    cli::CliProgram::Define(app, ctx);
    return Write(app, cli::CliProgram::Manual(), argv[2], argv[3]);
  }
  if (program == "tessary-service") {
    server::ServiceCommandLine commandLine(app);
    return Write(app, server::ServiceCommandLine::Manual(), argv[2], argv[3]);
  }
  std::cerr << "tessary-manual: unknown program " << program << "\n";
  return 2;
}
