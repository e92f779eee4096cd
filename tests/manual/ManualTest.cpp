// Manual pages and completion scripts made from a small command line.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "manual/ManPage.h"
#include "manual/ShellCompletion.h"

namespace {

struct Program {
  CLI::App app;
  std::string root, title, name, value;
  std::vector<std::string> files;
  bool quiet = false;

  Program() {
    app.name("prog");
    app.description("prog: does things");
    app.add_option("--root", root, "Folder of the things")->type_name("DIR")->envname("PROG_ROOT");
    app.add_flag("-q,--quiet", quiet, "Say less");
    app.add_option("--secret", value, "Not shown")->group("");
    CLI::App* add = app.add_subcommand("add", "Add files. Or not");
    add->fallthrough();
    add->add_option("FILES", files, "Files to add")->required();
    add->add_option("--title", title, "-title with a leading dash");
    CLI::App* prefs = app.add_subcommand("prefs", "Preferences");
    prefs->require_subcommand(1);
    prefs->footer(".hidden values: on/off\n  shown as they are");
    CLI::App* set = prefs->add_subcommand("set", "Store one");
    set->add_option("NAME", name)->required();
    set->add_option("VALUE", value);
    app.add_subcommand("internal", "Not for users")->group("");
  }
};

manual::ProgramManual Manual() {
  manual::ProgramManual m;
  m.name = "prog";
  m.version = "1.2.3";
  m.summary = "does things";
  m.description = {".starts with a dot"};
  m.exitStatuses = {{"0", "Success"}, {"2", "Usage"}};
  m.environment = {{"PROG_PASSWORD", "The password"}};
  return m;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ManPage, EveryVisibleCommandWithItsOptionsAndArguments) {
  Program program;
  const std::string page = manual::ManPage::Write(program.app, Manual());
  EXPECT_TRUE(Has(page, ".TH PROG 1 \"\" \"prog 1.2.3\"")) << page;
  EXPECT_TRUE(Has(page, R"(.SS "\fBprog\fR \fBadd\fR [\fIOPTIONS\fR] \fIFILES\fR...")")) << page;
  EXPECT_TRUE(Has(page, R"(.SS "\fBprog\fR \fBprefs\fR \fICOMMAND\fR")")) << page;
  EXPECT_TRUE(Has(page, R"(.SS "\fBprog\fR \fBprefs\fR \fBset\fR \fINAME\fR [\fIVALUE\fR]")")) << page;
  EXPECT_TRUE(Has(page, "\\fB\\-q\\fR, \\fB\\-\\-quiet\\fR\nSay less.\n")) << page;
  EXPECT_TRUE(Has(page, "\\fB\\-\\-root\\fR \\fIDIR\\fR\nFolder of the things. Environment: \\fBPROG_ROOT\\fR.")) << page;
  EXPECT_FALSE(Has(page, "secret"));
  EXPECT_FALSE(Has(page, "internal"));
  // The footer of prefs appears with prefs only, not again with its subcommands.
  EXPECT_EQ(page.find("hidden values"), page.rfind("hidden values"));
}

TEST(ManPage, SectionsFromTheManualAndTextMadeSafeForRoff) {
  Program program;
  const std::string page = manual::ManPage::Write(program.app, Manual());
  EXPECT_TRUE(Has(page, ".SH EXIT STATUS\n.TP\n0\nSuccess.\n.TP\n2\nUsage.\n")) << page;
  // Variables of options and the manual's own, each once.
  EXPECT_TRUE(Has(page, ".TP\n\\fBPROG_ROOT\\fR\nStands for \\-\\-root when that is not given.")) << page;
  EXPECT_TRUE(Has(page, ".TP\n\\fBPROG_PASSWORD\\fR\nThe password.")) << page;
  // A line of text must never start a roff request.
  EXPECT_TRUE(Has(page, "\n\\&.starts with a dot\n")) << page;
  EXPECT_TRUE(Has(page, "\n\\&.hidden values: on/off\n  shown as they are\n")) << page;
  EXPECT_FALSE(Has(page, "\n.hidden")) << page;
  EXPECT_FALSE(Has(page, "\n.starts")) << page;
}

// Runs the bash completion for the words typed so far (the last one is being
// completed); answers what it offers.
std::string Complete(const std::string& script, const std::string& words) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "tessary-manual-test.bash";
  std::ofstream(file) << script << "COMP_WORDS=(" << words << ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_prog\n"
                      << "echo \"${COMPREPLY[*]}\"\n";
  std::string out;
  if (FILE* pipe = popen(("bash " + file.string()).c_str(), "r")) {
    std::array<char, 256> buffer;
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) out += buffer.data();
    pclose(pipe);
  }
  std::filesystem::remove(file);
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

TEST(ShellCompletion, BashOffersTheCommandsAndOptionsOfWhereTheLineIs) {
  Program program;
  const std::string script = manual::ShellCompletion::Bash(program.app, "prog");
  EXPECT_EQ(Complete(script, "prog ''"), "add prefs");
  EXPECT_EQ(Complete(script, "prog --q"), "--quiet");
  EXPECT_EQ(Complete(script, "prog prefs s"), "set");
  EXPECT_EQ(Complete(script, "prog add --t"), "--title");
  // add falls through to the program's own options; prefs does not.
  EXPECT_EQ(Complete(script, "prog add --r"), "--root");
  EXPECT_EQ(Complete(script, "prog prefs --r"), "");
  // An option's value is left to the shell (file names), and skipped afterwards.
  EXPECT_EQ(Complete(script, "prog --root ''"), "");
  EXPECT_EQ(Complete(script, "prog --root prefs ''"), "add prefs");
  EXPECT_EQ(Complete(script, "prog --root x prefs ''"), "set");
}

}  // namespace
