#include "server/SoapService.h"

#include <array>
#include <fstream>
#include <system_error>

#include "server/AccountOperations.h"
#include "server/AnswerWriter.h"
#include "server/BlogOperations.h"
#include "server/CategoryOperations.h"
#include "server/ChangeListOperation.h"
#include "server/CommentOperations.h"
#include "server/EntryOperations.h"
#include "server/MailOperations.h"
#include "server/OperationContext.h"
#include "server/ServiceMessages.h"
#include "server/SoapRequest.h"
#include "server/Transaction.h"

namespace server {

namespace {

using Handler = int (*)(OperationContext&, AnswerWriter&);

struct Operation {
  const char* name;
  bool authenticated;
  bool blog;
  Handler handler;
};

constexpr std::array<Operation, 17> kOperations = {{
    {"GU", true, false, AccountOperations::GetUser},
    {"EU", true, false, AccountOperations::EditUser},
    {"GC", true, true, ChangeListOperation::GetChanges},
    {"EB", true, true, BlogOperations::EditBlog},
    {"AC", true, true, CategoryOperations::Add},
    {"EC", true, true, CategoryOperations::Edit},
    {"DC", true, true, CategoryOperations::Delete},
    {"AP", true, true, EntryOperations::Add},
    {"EP", true, true, EntryOperations::Edit},
    {"DP", true, true, EntryOperations::Delete},
    {"AO", true, true, CommentOperations::Add},
    {"EO", true, true, CommentOperations::Edit},
    {"DCO", true, true, CommentOperations::Delete},
    {"PhotoEMail", true, true, MailOperations::PhotoEmail},
    {"RemoteBlog", true, true, MailOperations::RemoteBlog},
    {"CreateAccount", false, false, AccountOperations::CreateAccount},
    {"CreateBlog", true, false, AccountOperations::CreateBlog},
}};

const Operation* FindOperation(const std::string& name) {
  for (const Operation& op : kOperations) {
    if (name == op.name) return &op;
  }
  return nullptr;
}

void WriteFiles(const std::vector<std::pair<std::filesystem::path, std::string>>& files) {
  for (const auto& [path, content] : files) {
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
}

}  // namespace

SoapService::SoapService(Database& db, PhotoStore& photos, const ServiceConfig& config)
    : db_(db), photos_(photos), config_(config), urls_(config.publicHost), authenticator_(config.clockWindow) {}

std::string SoapService::Handle(std::string_view soapAction, std::string_view body) {
  StoreOrder::Ticket ticket = order_.Arrive();
  SoapRequest request;
  int parsed = request.Parse(soapAction, body);
  const Operation* op = FindOperation(request.Operation());
  bool changeList = op != nullptr && op->handler == ChangeListOperation::GetChanges;
  bool store = op != nullptr && parsed == kOk && op->authenticated && !changeList &&
               op->handler != AccountOperations::GetUser;
  ticket.Classify(store, request.Auth().user);
  // Refusals before the operation is known still answer in an envelope.
  std::string answerName = op != nullptr ? op->name : "Request";
  if (op == nullptr) return AnswerWriter::Error(answerName, urls_.Host(), kInvalidRequest);
  if (parsed != kOk) return AnswerWriter::Error(answerName, urls_.Host(), parsed);
  if (changeList) ticket.AwaitEarlierStores(request.Auth().user);

  UserStore users(db_);
  PhotoStore::Stored upload;
  int uploadResult = kOk;
  if (op->handler == EntryOperations::Add) {
    // Only a signed-in user's upload is worth decoding.
    bool verified = false;
    {
      Transaction tx(db_);
      verified = tx.Active() && authenticator_.Verify(users, request.Auth(), config_.Now());
    }
    if (!verified) return AnswerWriter::Error(answerName, urls_.Host(), kInvalidAuthentication);
    uploadResult = EntryOperations::PreparePhoto(request, photos_, upload);
    if (config_.holdUpload) config_.holdUpload();
  }

  BlogStore blogs(db_);
  ContentStore content(db_);
  OutboxStore outbox(db_);
  AnswerWriter out(answerName, urls_.Host());
  OperationContext ctx(request, config_, urls_, authenticator_, users, blogs, content, outbox, photos_);
  ctx.uploadResult = uploadResult;
  ctx.upload = upload;

  int code = kOk;
  bool committed = false;
  {
    Transaction tx(db_);
    ctx.now = config_.Now();
    if (!tx.Active()) {
      code = kStoreFailure;
    } else if (op->authenticated && (code = authenticator_.Check(users, request.Auth(), ctx.now, ctx.user)) != kOk) {
      // Nothing of a request that failed authentication is kept.
    } else if (!tx.Savepoint()) {
      code = kStoreFailure;
    } else {
      if (op->blog) {
        auto blog = request.HasBlog() ? blogs.Find(request.Blog()) : std::nullopt;
        if (blog) {
          ctx.blog = *blog;
          // Outsiders of a hidden blog get the change list's answer, whatever they ask.
          if (op->handler != ChangeListOperation::GetChanges && !ctx.MayEnter()) code = kPasswordProtected;
        } else {
          code = kBlogMissing;
        }
      }
      if (code == kOk) code = op->handler(ctx, out);
      // A refused request keeps only its nonces, so it cannot be replayed either.
      if (code != kOk) {
        tx.RollbackToSavepoint();
        if (!ctx.viewNonce.empty()) {
          users.UseNonce(Authenticator::ViewNonceKey(ctx.viewNonce), ctx.now, ctx.viewNonceExpires);
        }
      }
      committed = tx.Commit();
      if (!committed && code == kOk) code = kStoreFailure;
    }
  }
  if (code != kOk || !committed) {
    if (uploadResult == kOk && !upload.key.empty()) photos_.Remove(upload.key);
    if (code == kOk) code = kStoreFailure;
    if (ctx.refusalWritten) return out.Finish();
    return AnswerWriter::Error(answerName, urls_.Host(), code);
  }
  for (const std::string& key : ctx.removedPhotoKeys) photos_.Remove(key);
  WriteFiles(ctx.filesToWrite);
  return out.Finish();
}

}  // namespace server
