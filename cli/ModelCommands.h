#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CliContext.h"

namespace model {
class ProgressReporter;
}

namespace cli {

// The local blog commands of tessary-cli: list blogs, entries and categories, add
// photos as pending entries, manage categories, delete entries, purge and move
// photo files. They work on the account and blogs of the current device root and
// answer an exit status, printing data on `out` and complaints on `err`. An entry
// is named by its service id or, pending or not, by "#N": its position in the
// list that `entries BLOG` prints.
class ModelCommands {
 public:
  static void Register(CLI::App& app, CliContext& ctx);

  static int Blogs(bool json, std::ostream& out, std::ostream& err);
  // show: all|pending|published|mine; category: all|unfiled|NAME.
  static int Entries(const std::string& blog, const std::string& show, const std::string& category,
                     bool json, std::ostream& out, std::ostream& err);
  static int Categories(const std::string& blog, bool json, std::ostream& out, std::ostream& err);
  // Photos are phone paths of the device ("\..."), or paths of this computer,
  // which are copied into the blog's photo folder first.
  static int Add(const std::string& blog, const std::vector<std::string>& photos,
                 const std::string& title, const std::string& caption,
                 const std::string& category, bool json, std::ostream& out, std::ostream& err);
  static int CategoryAdd(const std::string& blog, const std::string& name, std::ostream& out,
                         std::ostream& err);
  static int CategoryRename(const std::string& blog, const std::string& name,
                            const std::string& newName, std::ostream& out, std::ostream& err);
  static int CategoryDelete(const std::string& blog, const std::string& name, std::ostream& out,
                            std::ostream& err);
  static int Delete(const std::string& blog, const std::string& entry, bool onWeb, bool photo,
                    std::ostream& out, std::ostream& err);
  static int Purge(const std::string& blog, std::ostream& out, std::ostream& err);
  // The photo file of one entry, as the viewer's Purge Photo: a pending entry
  // keeps its photo.
  static int PurgeEntry(const std::string& blog, const std::string& entry, std::ostream& out, std::ostream& err);
  // from/to: "internal" or a storage card's folder name.
  static int Move(const std::string& blog, const std::string& from, const std::string& to,
                  model::ProgressReporter* progress, std::ostream& out, std::ostream& err);
};

}  // namespace cli
