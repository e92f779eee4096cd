#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/CliContext.h"

namespace cli {

// `tessary-cli edit | categorize | import`: what the Edit Entry, Categorize
// Entries and Add Photo screens do, over the same core. Filters given on the
// command line choose entries for the one command; the blog's stored filters
// never change.
class EntryEditCommands {
 public:
  struct Changes {
    std::optional<std::string> title;
    std::optional<std::string> caption;
    std::optional<std::string> date;      // YYYY-MM-DD[THH:MM[:SS]], local time
    std::optional<std::string> category;  // a category name, or "unfiled"
  };

  static void Register(CLI::App& app, CliContext& ctx);

  static int Edit(const std::string& blog, const std::string& entry, const Changes& changes, bool json,
                  std::ostream& out, std::ostream& err);
  // `to` is a category name or "unfiled"; show and category choose the entries
  // (the blog's own filters when not given).
  static int Categorize(const std::string& blog, const std::string& to, const std::optional<std::string>& show,
                        const std::optional<std::string>& category, bool json, std::ostream& out,
                        std::ostream& err);
  // The photos the picker offers, in its order; with `pick` ("3,1,2": numbers of
  // that list, in ticking order) or `allNew` they become pending entries.
  static int Import(const std::string& blog, const std::string& pick, bool allNew, bool json, std::ostream& out,
                    std::ostream& err);

  // "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS" (a space may stand
  // for the T) as a time value; a date alone keeps the time of day of `base`.
  static std::optional<uint32_t> ParseDate(const std::string& text, uint32_t base);
};

}  // namespace cli
