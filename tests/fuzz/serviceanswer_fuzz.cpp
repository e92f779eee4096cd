// Feeds arbitrary bytes to the client as a service's HTTP answer: the status and
// body parsing of the transport, the server-message check and the change list
// applied to a blog database that already holds published, pending and local
// objects. The first byte picks a full download and a group blog.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "model/CWinBlogStorage.h"
#include "net/HttpResponse.h"
#include "net/Win32Http.h"
#include "net/Win32SmallStream.h"
#include "service/MorvaneBlogService.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void Seed(model::CWinBlogStorage& blog) {
  for (uint32_t id = 1; id <= 3; ++id) {
    auto category = std::make_unique<model::CWinBlogAlbum>();
    category->SetId(id);
    category->SetName("c" + std::to_string(id));
    category->SetModified(id == 2);
    blog.InsertCategory(std::move(category));
  }
  auto local = std::make_unique<model::CWinBlogAlbum>();
  local->SetId(0xFFFFFF00u);
  local->SetName("Trips");
  blog.InsertCategory(std::move(local));
  for (uint32_t id = 0; id <= 5; ++id) {
    auto entry = std::make_unique<model::CWinBlogEntry>();
    entry->SetId(id);
    entry->SetTitle(id == 0 ? "Beach" : "e");
    entry->SetCategoryId(id == 0 ? 0xFFFFFF00u : 1);
    entry->SetModified(id == 3 || id == 0);
    blog.InsertEntry(std::move(entry));
  }
  for (uint32_t id = 0; id <= 3; ++id) {
    auto comment = std::make_unique<model::CWinBlogComment>();
    comment->SetId(id);
    comment->SetEntryId(1);
    comment->SetText("hi");
    blog.InsertComment(std::move(comment));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  auto answer = net::Win32SmallStream::Create();
  Require(answer != nullptr);
  Require(answer->Write(data + 1, static_cast<uint32_t>(size - 1)));

  net::HttpResponse response;
  response.SetAnswer(std::move(answer));
  const uint32_t status = response.GetStatus();
  Require(status != 0 || response.GetBody() != nullptr);
  net::Stream* body = response.GetBody();
  Require(body != nullptr && body->GetPosition() <= body->GetSize());

  model::CWinBlogStorage blog;
  blog.GetBlogInfo()->groupType = (flags & 2) != 0 ? 1 : 0;
  Seed(blog);
  net::Win32Http http;
  service::MorvaneBlogService client(http);
  client.SetStorage(&blog);
  client.SetSyncTimestamp((flags & 1) != 0 ? 0 : 1000);

  uint32_t code = 0;
  Require(client.CheckAnswerError(*body, code));
  Require(code == 0 || (code >= 8000 && code <= 8025) || code == 65535);
  Require(client.LastServerMessage().size() <= service::MorvaneBlogService::kServerMessageLimit);

  body = response.GetBody();
  client.ApplyChanges(*body);
  for (const auto& entry : blog.Entries()) {
    Require(entry->GetTitle().size() <= 127 && entry->GetCaption().size() <= 7999);
    Require(entry->GetFullSizeUrl().size() <= 127 && entry->GetAuthorName().size() <= 63);
  }
  for (const auto& category : blog.Categories()) Require(category->GetName().size() <= 127);
  for (const auto& comment : blog.Comments()) Require(comment->GetText().size() <= 7999);
  return 0;
}
