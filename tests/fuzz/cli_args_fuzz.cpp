// Feeds arbitrary command lines (one argument a line) to tessary-cli's parser
// with every command registered, and each argument to the value parsers the
// commands use. Parsing must end with a command or a usage error, never a
// crash; nothing is run. A size name that parses names that size again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliSession.h"
#include "cli/ImageCommands.h"
#include "platform/DeviceFacts.h"

namespace {

std::vector<std::string> Lines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(static_cast<char>(data[i]));
    }
  }
  return lines;
}

void CheckValueParsers(const std::string& text) {
  if (std::optional<uint16_t> code = cli::ParseDownloadSize(text)) {
    if (cli::ParseDownloadSize(cli::DownloadSizeName(*code)) != code) std::abort();
  }
  cli::ParseUploadSize(text);
  uint32_t width = 0;
  uint32_t height = 0;
  if (cli::ImageCommands::ParseSize(text, width, height) && (width == 0 || height == 0)) std::abort();
  platform::DeviceFacts facts;
  facts.ParseScreen(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args = Lines(data, size);
  for (const std::string& arg : args) CheckValueParsers(arg);
  CLI::App app{"tessary-cli"};
  cli::CliContext ctx;
  cli::CliCommands::Register(app, ctx);
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::Error&) {
    // A usage error: the command line is refused, as it should be.
  }
  return 0;
}
