#include "cli/DumpCommand.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

#include "cli/ModelJson.h"
#include "model/Archive.h"
#include "model/AtomicFileWriter.h"
#include "model/CWinBlogStorage.h"
#include "model/CWinBlogUser.h"

namespace cli {

namespace {

// Larger files are not archives of this program.
constexpr uintmax_t kMaxFileBytes = uintmax_t{1} << 28;

// One archive file read as whichever of the two layouts fits it.
struct ParsedFile {
  std::unique_ptr<model::CWinBlogStorage> blog;
  std::unique_ptr<model::CWinBlogUser> user;
  uint32_t error = 0;
  size_t left = 0;  // bytes not read
};

ParsedFile ReadAs(const std::vector<uint8_t>& bytes, bool database) {
  ParsedFile parsed;
  model::Archive ar = model::Archive::ForReading(bytes.data(), bytes.size());
  if (database) {
    parsed.blog = std::make_unique<model::CWinBlogStorage>();
    parsed.blog->Serialize(ar);
  } else {
    parsed.user = std::make_unique<model::CWinBlogUser>(std::string());
    parsed.user->Serialize(ar);
  }
  parsed.error = ar.Error();
  parsed.left = ar.BytesLeft();
  return parsed;
}

// The layout that reads the whole file wins; then one that reads without
// failing. A damaged file is a database when it names a model class (user files
// hold no objects), else whichever layout got further.
ParsedFile Parse(const std::vector<uint8_t>& bytes) {
  ParsedFile asDatabase = ReadAs(bytes, true);
  if (asDatabase.error == 0 && asDatabase.left == 0) return asDatabase;
  ParsedFile asUser = ReadAs(bytes, false);
  if (asUser.error == 0 && asUser.left == 0) return asUser;
  if (asDatabase.error == 0) return asDatabase;
  if (asUser.error == 0) return asUser;
  static const std::string kClassPrefix = "CWinBlog";
  if (std::search(bytes.begin(), bytes.end(), kClassPrefix.begin(), kClassPrefix.end()) !=
      bytes.end()) {
    return asDatabase;
  }
  return asUser.left < asDatabase.left ? std::move(asUser) : std::move(asDatabase);
}

bool ReadHostFile(const std::string& path, std::vector<uint8_t>& bytes, std::ostream& err) {
  std::error_code ec;
  uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) {
    err << "tessary-cli: cannot read " << path << ": " << ec.message() << '\n';
    return false;
  }
  if (size > kMaxFileBytes) {
    err << "tessary-cli: " << path << " is too large to be a Tessary file\n";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  if (!in.good() && !in.eof()) {
    err << "tessary-cli: cannot read " << path << '\n';
    return false;
  }
  return true;
}

std::string Describe(const ParsedFile& parsed, size_t total) {
  return std::string(parsed.blog ? "blog database" : "user file") + " damaged at byte " +
         std::to_string(total - parsed.left) + " of " + std::to_string(total);
}

}  // namespace

void DumpCommand::Register(CLI::App& app, CliContext& ctx) {
  auto path = std::make_shared<std::string>();
  CLI::App* dump = app.add_subcommand("dump", "Print a user file or blog database as JSON");
  dump->fallthrough();
  dump->add_option("FILE", *path, "The file (a path of this computer)")->required();
  dump->callback([&ctx, path] {
    ctx.run = [path] { return Dump(*path, std::cout, std::cerr); };
    ctx.changesFiles = false;
  });

  auto rewritePath = std::make_shared<std::string>();
  CLI::App* rewrite = app.add_subcommand("rewrite", "Load a Tessary file and save it in place");
  rewrite->fallthrough();
  rewrite->add_option("FILE", *rewritePath, "The file (a path of this computer)")->required();
  rewrite->callback(
      [&ctx, rewritePath] { ctx.run = [rewritePath] { return Rewrite(*rewritePath, std::cout, std::cerr); }; });
}

int DumpCommand::Dump(const std::string& hostPath, std::ostream& out, std::ostream& err) {
  std::vector<uint8_t> bytes;
  if (!ReadHostFile(hostPath, bytes, err)) return CliContext::kFailure;
  ParsedFile parsed = Parse(bytes);
  nlohmann::ordered_json doc = parsed.blog ? ModelJson::Database(*parsed.blog) : ModelJson::User(*parsed.user);
  if (parsed.error != 0) doc["error"] = Describe(parsed, bytes.size());
  out << ModelJson::Dump(doc) << '\n';
  if (parsed.error != 0) {
    err << "tessary-cli: " << hostPath << ": " << Describe(parsed, bytes.size())
        << "; printed what was read before it\n";
    return CliContext::kFailure;
  }
  return CliContext::kOk;
}

int DumpCommand::Rewrite(const std::string& hostPath, std::ostream& out, std::ostream& err) {
  std::vector<uint8_t> bytes;
  if (!ReadHostFile(hostPath, bytes, err)) return CliContext::kFailure;
  ParsedFile parsed = Parse(bytes);
  if (parsed.error != 0) {
    err << "tessary-cli: " << hostPath << ": " << Describe(parsed, bytes.size())
        << "; left untouched\n";
    return CliContext::kFailure;
  }
  // The file's own folder serves as a device root so that the write goes through a
  // temporary file beside it.
  std::filesystem::path host = std::filesystem::absolute(hostPath);
  platform::DeviceFileSystem folder(host.parent_path());
  model::AtomicFileWriter writer(folder, "\\" + host.filename().string());
  uint32_t rc = writer.Open();
  if (rc == 0) {
    model::Archive ar = model::Archive::ForWriting(
        [&writer](const uint8_t* data, size_t len) { return writer.Write(data, len); });
    if (parsed.blog) {
      parsed.blog->Serialize(ar);
    } else {
      parsed.user->Serialize(ar);
    }
    rc = ar.Flush();
    if (rc == 0) rc = writer.Commit();
  }
  if (rc != 0) {
    err << "tessary-cli: cannot write " << hostPath << " (error " << rc << "); left untouched\n";
    return CliContext::kFailure;
  }
  out << "Rewrote " << hostPath << " as a " << (parsed.blog ? "blog database" : "user file")
      << " of version 1\n";
  return CliContext::kOk;
}

}  // namespace cli
