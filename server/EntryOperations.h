#pragma once

#include "server/AnswerWriter.h"
#include "server/OperationContext.h"
#include "server/PhotoStore.h"
#include "server/SoapRequest.h"

namespace server {

// "AP", "EP" and "DP". Owners may do everything; members of a group blog add
// entries and edit or delete their own.
class EntryOperations {
 public:
  // Decodes and stores the photo of an "AP" request; run before the request's
  // transaction so that the heavy work does not hold the store.
  static int PreparePhoto(const SoapRequest& request, PhotoStore& photos, PhotoStore::Stored& stored);

  static int Add(OperationContext& ctx, AnswerWriter& out);
  static int Edit(OperationContext& ctx, AnswerWriter& out);
  static int Delete(OperationContext& ctx, AnswerWriter& out);

 private:
  // Category, title, caption and the two dates of a <PI>.
  static int ReadFields(OperationContext& ctx, pugi::xml_node pi, EntryRecord& entry);
  static bool MayChange(OperationContext& ctx, const EntryRecord& entry);
  static void WriteStored(OperationContext& ctx, const EntryRecord& entry, AnswerWriter& out);
};

}  // namespace server
