#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <string>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli image`: the image layer from the command line. FILE is a phone path
// of the device ("\...") or a path of this computer. Each operation answers an exit
// status, printing data on `out` and complaints on `err`; a file that is not a
// usable JPEG gives status 1 with the decoder's code and its message.
class ImageCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);

  struct DecodeOptions {
    uint32_t width = 0;   // target size
    uint32_t height = 0;
    bool fill = false;
    bool natural = false;
    bool top = false;     // no vertical centring
    int scale = 0;        // 1, 2, 4 or 8: the main picture at that reduction, unscaled; 0: as drawn
  };

  static int Info(const std::string& file, bool json, std::ostream& out, std::ostream& err);
  // Writes OUT as PNG, or as PPM when its name ends in ".ppm".
  static int Decode(const std::string& file, const DecodeOptions& options, const std::string& output, bool json,
                    std::ostream& out, std::ostream& err);
  static int Thumbnail(const std::string& file, const std::string& output, bool json, std::ostream& out,
                       std::ostream& err);
  // "WxH" with both sides 1 to 65535.
  static bool ParseSize(const std::string& text, uint32_t& width, uint32_t& height);
};

}  // namespace cli
