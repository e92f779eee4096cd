#include "server/EntryOperations.h"

#include "server/Crypto.h"
#include "server/ServiceMessages.h"
#include "server/TextRules.h"
#include "server/Timestamp.h"

namespace server {

int EntryOperations::PreparePhoto(const SoapRequest& request, PhotoStore& photos, PhotoStore::Stored& stored) {
  pugi::xml_node jp = request.Payload().child("PI").child("JP");
  std::string jpeg;
  if (!Crypto::Base64Decode(jp.text().get(), jpeg) || jpeg.empty()) return kNotJpeg;
  return photos.Store(jpeg, stored);
}

int EntryOperations::ReadFields(OperationContext& ctx, pugi::xml_node pi, EntryRecord& entry) {
  if (!pi) return kInvalidRequest;
  if (!SoapRequest::Number(pi, "CI", entry.category)) return kInvalidRequest;
  if (entry.category != 0) {
    auto category = ctx.content.FindCategory(entry.category);
    if (!category || category->blog != ctx.blog.id || category->deleted) return kACategoryMissing;
  }
  entry.title = SoapRequest::Text(pi, "TI");
  entry.caption = SoapRequest::Text(pi, "CP");
  entry.dateText = SoapRequest::Text(pi, "PD");
  entry.date2Text = SoapRequest::Text(pi, "TD");
  if (int code = TextRules::Check(entry.title, TextRules::kTitle); code != kOk) return code;
  if (int code = TextRules::Check(entry.caption, TextRules::kCaption); code != kOk) return code;
  // Dates are kept as the client wrote them; they must still be dates.
  int64_t unused = 0;
  if (!Timestamp::Parse(entry.dateText, entry.sortTime) || !Timestamp::Parse(entry.date2Text, unused)) {
    return kInvalidDate;
  }
  return kOk;
}

bool EntryOperations::MayChange(OperationContext& ctx, const EntryRecord& entry) {
  return ctx.IsOwner() || (ctx.IsMember() && entry.author == ctx.user.id);
}

void EntryOperations::WriteStored(OperationContext& ctx, const EntryRecord& entry, AnswerWriter& out) {
  out.Number("ID", entry.id);
  out.Text("BY", entry.authorName);
  out.Text("OU", ctx.urls.Photo(PhotoStore::FileName(entry.photoKey)));
}

int EntryOperations::Add(OperationContext& ctx, AnswerWriter& out) {
  if (!ctx.CanWrite()) return kNoAddPicture;
  EntryRecord entry;
  entry.blog = ctx.blog.id;
  entry.author = ctx.user.id;
  entry.authorName = DisplayName(ctx.user.firstName, ctx.user.lastName, ctx.user.email);
  if (int code = ReadFields(ctx, ctx.Payload().child("PI"), entry); code != kOk) return code;
  if (ctx.uploadResult != kOk) return ctx.uploadResult;
  // The blog owner's account pays for every photo in the blog, members' included.
  auto owner = ctx.users.Find(ctx.blog.owner);
  if (!owner) return kStoreFailure;
  if (!owner->pro && ctx.users.CountOwnedPhotos(owner->id) >= owner->quota) return kPictureLimit;
  entry.photoKey = ctx.upload.key;
  entry.width = ctx.upload.width;
  entry.height = ctx.upload.height;
  entry.id = ctx.content.AddEntry(entry, ctx.now);
  if (entry.id == 0) return kStoreFailure;
  WriteStored(ctx, entry, out);
  return kOk;
}

int EntryOperations::Edit(OperationContext& ctx, AnswerWriter& out) {
  if (!ctx.CanWrite()) return kNoEditPicture;
  pugi::xml_node pi = ctx.Payload().child("PI");
  int64_t id = 0;
  if (!SoapRequest::Number(pi, "ID", id)) return kInvalidRequest;
  auto stored = ctx.content.FindEntry(id);
  if (!stored || stored->blog != ctx.blog.id || stored->deleted) return kPictureMissing;
  if (!MayChange(ctx, *stored)) return kNoEditPicture;
  EntryRecord entry = *stored;
  if (int code = ReadFields(ctx, pi, entry); code != kOk) return code;
  if (!ctx.content.UpdateEntry(entry, ctx.now)) return kStoreFailure;
  WriteStored(ctx, entry, out);
  return kOk;
}

int EntryOperations::Delete(OperationContext& ctx, AnswerWriter&) {
  if (!ctx.CanWrite()) return kNoDeletePicture;
  int64_t id = 0;
  if (!SoapRequest::Number(ctx.Payload().child("PI"), "ID", id)) return kInvalidRequest;
  auto entry = ctx.content.FindEntry(id);
  if (!entry || entry->blog != ctx.blog.id) return kPictureMissing;
  if (!MayChange(ctx, *entry)) return kNoDeletePicture;
  if (entry->deleted) return kOk;
  if (!ctx.content.DeleteEntry(id, ctx.now)) return kStoreFailure;
  ctx.removedPhotoKeys.push_back(entry->photoKey);
  return kOk;
}

}  // namespace server
