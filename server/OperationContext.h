#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "server/Authenticator.h"
#include "server/BlogStore.h"
#include "server/ContentStore.h"
#include "server/OutboxStore.h"
#include "server/PhotoStore.h"
#include "server/Records.h"
#include "server/ServiceConfig.h"
#include "server/SoapRequest.h"
#include "server/UrlBuilder.h"
#include "server/UserStore.h"

namespace server {

// Everything one operation works with, inside the request's transaction: the
// request, the stores, the authenticated user and the blog named by <BI>.
struct OperationContext {
  OperationContext(const SoapRequest& request, const ServiceConfig& config, const UrlBuilder& urls,
                   Authenticator& authenticator, UserStore& users, BlogStore& blogs, ContentStore& content,
                   OutboxStore& outbox, PhotoStore& photos)
      : request(request), config(config), urls(urls), authenticator(authenticator), users(users), blogs(blogs),
        content(content), outbox(outbox), photos(photos) {}

  const SoapRequest& request;
  const ServiceConfig& config;
  const UrlBuilder& urls;
  Authenticator& authenticator;
  UserStore& users;
  BlogStore& blogs;
  ContentStore& content;
  OutboxStore& outbox;
  PhotoStore& photos;
  int64_t now = 0;

  UserRecord user;
  BlogRecord blog;

  // The photo of an "AP" request, stored before the transaction began.
  int uploadResult = 0;
  PhotoStore::Stored upload;

  // Work done only once the transaction has committed.
  std::vector<std::string> removedPhotoKeys;
  std::vector<std::pair<std::filesystem::path, std::string>> filesToWrite;
  // Set by an operation whose refusal carries more than <MS> (its writer holds the answer).
  bool refusalWritten = false;
  // A view-password nonce this request used: spent even when the request is refused.
  std::string viewNonce;
  int64_t viewNonceExpires = 0;

  pugi::xml_node Payload() const { return request.Payload(); }
  bool IsOwner() const { return blog.owner == user.id; }
  bool IsMember() { return blog.group && blogs.IsMember(blog.id, user.id); }
  // Owners, and members of group blogs, may add entries.
  bool CanWrite() { return IsOwner() || IsMember(); }
  // Hidden blogs are open to their owner and members; others need the view password.
  bool OpenWithoutViewPassword() { return !blog.hidden || IsOwner() || IsMember(); }
  // Every operation but the change list: viewers who gave the view password in a
  // change list count as well.
  bool MayEnter() { return OpenWithoutViewPassword() || blogs.IsViewer(blog, user.id); }
};

}  // namespace server
