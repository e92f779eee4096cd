#include "service/MorvaneBlogService.h"

#include <strings.h>

#include <vector>

#include "image/ImageInformation.h"
#include "model/BlogAlbum.h"
#include "model/BlogComment.h"
#include "model/BlogData.h"
#include "model/BlogEntry.h"
#include "model/BlogUser.h"
#include "model/LocalBlogStorage.h"
#include "model/ModelConstants.h"
#include "model/UserInterface.h"
#include "net/Base64Stream.h"
#include "net/CompoundStream.h"
#include "net/HttpErrors.h"
#include "net/Win32LargeStream.h"
#include "net/Win32SmallStream.h"
#include "net/XmlReader.h"
#include "net/XmlWriter.h"
#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "service/AnswerScanner.h"
#include "service/ChangeList.h"
#include "service/PhotoUrl.h"
#include "service/ServiceErrors.h"
#include "service/SoapEnvelope.h"

namespace service {

using net::XmlWriter;

namespace {

// Stages of the progress callback.
constexpr uint32_t kStageSync = 0;
constexpr uint32_t kStageStoreCategory = 1;
constexpr uint32_t kStageDeleteCategory = 2;
constexpr uint32_t kStageStoreEntry = 3;
constexpr uint32_t kStageDeleteEntry = 4;
constexpr uint32_t kStageGetEntry = 5;
constexpr uint32_t kStageCreateAccount = 6;
constexpr uint32_t kStageStoreBlog = 7;
constexpr uint32_t kStageStoreComment = 11;
constexpr uint32_t kStageDeleteComment = 12;
constexpr uint32_t kStageCreateBlog = 13;
constexpr uint32_t kStageSendEmail = 14;
constexpr uint32_t kStageRemotePost = 15;

constexpr uint16_t kGroupBlog = 1;
constexpr size_t kSubscriptionNameLimit = 127;
constexpr size_t kRemoteBlogNameLimit = 63;
constexpr size_t kRemoteBlogBytes = 1280;
constexpr size_t kRecipientLimit = 63;
constexpr size_t kAlternateLimit = 255;

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// Blog names the service may hand us: letters, digits, "_" and "-".
bool IsValidBlogName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-';
    if (!ok) return false;
  }
  return true;
}

// Finds a list element, or leaves the position where it was.
bool FindList(net::Stream& stream, std::string_view name) {
  const uint32_t start = stream.GetPosition();
  if (net::XmlReader::FindOpenTag(stream, name)) return true;
  stream.Seek(start);
  return false;
}

bool WriteElement(net::Stream& s, std::string_view tag, std::string_view text) {
  return XmlWriter::WriteText(s, "<") && XmlWriter::WriteText(s, tag) && XmlWriter::WriteText(s, ">") &&
         XmlWriter::WriteEscaped(s, text) && XmlWriter::WriteText(s, "</") &&
         XmlWriter::WriteText(s, tag) && XmlWriter::WriteText(s, ">");
}

bool WriteNumberElement(net::Stream& s, std::string_view tag, uint32_t value) {
  return XmlWriter::WriteText(s, "<") && XmlWriter::WriteText(s, tag) && XmlWriter::WriteText(s, ">") &&
         XmlWriter::WriteNumber(s, value) && XmlWriter::WriteText(s, "</") &&
         XmlWriter::WriteText(s, tag) && XmlWriter::WriteText(s, ">");
}

// "<ID>n</ID>", or "<ID />" for no entry.
bool WriteEntryId(net::Stream& s, uint32_t entryId) {
  return entryId == 0 ? XmlWriter::WriteText(s, "<ID />") : WriteNumberElement(s, "ID", entryId);
}

// The recipients of a photo e-mail: split at blanks and commas, empty items skipped.
std::vector<std::string> SplitRecipients(std::string_view text) {
  std::vector<std::string> items;
  std::string item;
  auto flush = [&] {
    if (!item.empty()) items.push_back(item.substr(0, kRecipientLimit));
    item.clear();
  };
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',') {
      flush();
    } else {
      item.push_back(c);
    }
  }
  flush();
  return items;
}

// The last "/"-separated part of an address.
std::string LastSegment(std::string_view url) {
  const size_t slash = url.rfind('/');
  return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

bool IsWholeJpegFile(const std::string& phonePath) {
  std::unique_ptr<platform::File> file;
  return platform::DeviceFileSystem::Current().OpenFile(phonePath, platform::OpenMode::Read, file) == 0 &&
         image::IsWholeJpeg(*file);
}

// A copy of the stream from its position on, in a temporary file of its own.
std::unique_ptr<net::Stream> CopyToTemporaryFile(net::Stream& source) {
  std::unique_ptr<net::Win32LargeStream> copy = net::Win32LargeStream::CreateTemporary();
  if (!copy || !XmlWriter::WriteStream(*copy, source) || !copy->Seek(0)) return nullptr;
  return copy;
}

}  // namespace

MorvaneBlogService::MorvaneBlogService(net::Http& http, const ServiceSettings& settings)
    : http_(http), settings_(settings) {}

// ---- session --------------------------------------------------------------------------

void MorvaneBlogService::SetAccount(std::string_view userName, std::string_view password,
                                    uint32_t userId, std::string_view blogName,
                                    std::string_view viewPassword) {
  userName_ = userName;
  password_ = password;
  userId_ = userId;
  blogName_ = blogName;
  viewPassword_ = viewPassword;
}

void MorvaneBlogService::SetPhotoSizes(uint16_t uploadSize, uint16_t downloadSize) {
  uploadSize_ = uploadSize;
  downloadSize_ = downloadSize;
}

uint32_t MorvaneBlogService::SetSyncTimestamp(uint32_t timeValue) {
  requestTimestamp_ = timeValue;
  newTimestamp_ = timeValue;
  return http_.Now();
}

std::string MorvaneBlogService::GetBlogPageUrl() {
  return "http://" + settings_.Authority() + "/" + blogName_;
}

std::string MorvaneBlogService::GetBlogAllCategoriesUrl() {
  return "http://" + settings_.Authority() + "/" + blogName_ + "/?albumid=0";
}

std::string MorvaneBlogService::GetEntryPreviewUrl(uint32_t entryId) {
  return "http://" + settings_.Authority() + "/" + blogName_ + "/?preview=" + std::to_string(entryId);
}

void MorvaneBlogService::ReportStage(uint32_t stage, const std::string* text, uint16_t number,
                                     uint16_t total) {
  if (callback_ == nullptr) return;
  net::ProgressRecord record;
  record.stage = stage;
  record.text = text != nullptr ? text->c_str() : nullptr;
  record.number = number;
  record.total = total;
  callback_(context_, &record);
}

// ---- envelope and exchange ----------------------------------------------------------------

std::unique_ptr<net::Stream> MorvaneBlogService::BeginBody(std::string_view operation, bool temporaryFile) {
  std::unique_ptr<net::Stream> body;
  if (temporaryFile) {
    body = net::Win32LargeStream::CreateTemporary();
  } else {
    body = net::Win32SmallStream::Create();
  }
  if (!body || !SoapEnvelope::Begin(*body, operation, settings_.host)) return nullptr;
  return body;
}

bool MorvaneBlogService::WriteAuthentication(net::Stream& body, bool withBlog) {
  const std::string_view blog = blogName_;
  return SoapEnvelope::WriteAuthentication(body, http_, userName_, password_, withBlog ? &blog : nullptr);
}

bool MorvaneBlogService::CheckAnswerError(net::Stream& answer, uint32_t& code) {
  if (code != 0) return false;
  serverMessage_.clear();
  if (AnswerScanner::ReadText(answer, "MS", kServerMessageLimit, serverMessage_)) {
    code = ServiceErrors::CodeOfServerText(serverMessage_);
    if (code == kErrPictureLimit && IsGroupBlogOfOther()) code = kErrGroupLimit;
  }
  return true;
}

bool MorvaneBlogService::IsGroupBlogOfOther() const {
  if (storage_ == nullptr) return false;
  const model::BlogData* info = storage_->GetBlogInfo();
  return info != nullptr && info->GetGroupType() == kGroupBlog && info->GetOwnerId() != userId_;
}

uint32_t MorvaneBlogService::Exchange(std::string_view operation, std::unique_ptr<net::Stream> body,
                                      bool parse, std::unique_ptr<net::HttpResponse>& response,
                                      bool& answerError) {
  answerError = false;
  if (!body || !SoapEnvelope::End(*body, operation)) return platform::kErrNotEnoughMemory;
  return Post(operation, std::move(body), parse, response, answerError);
}

uint32_t MorvaneBlogService::Post(std::string_view operation, std::unique_ptr<net::Stream> body, bool parse,
                                  std::unique_ptr<net::HttpResponse>& response, bool& answerError) {
  answerError = false;
  net::HttpRequest request;
  request.SetMethod("POST");
  request.SetServer(false, settings_.host,
                    settings_.numericAddress.empty() ? nullptr : settings_.numericAddress.c_str(),
                    settings_.port, "/ws/");
  request.SetContentType("text/xml; charset=utf-8");
  request.AddHeader(http_.MakeUserAgentHeader());
  soapAction_ = "SOAPAction: \"http://" + settings_.host + "/ws/" + std::string(operation) + "\"";
  request.AddHeader(soapAction_);
  request.SetBody(std::move(body));
  request.SetCallback(callback_, context_);

  std::unique_ptr<net::HttpResponse> answer = http_.Send(request);
  if (!answer) return platform::kErrNotEnoughMemory;
  uint32_t code = answer->GetStatus();
  bool fromAnswer = false;
  if (parse && code == 0) {
    net::Stream* answerBody = answer->GetBody();
    if (answerBody != nullptr && CheckAnswerError(*answerBody, code)) {
      fromAnswer = true;
      answerError = code != 0;
    }
  }
  if (!fromAnswer && code != 0 && callback_ != nullptr) {
    net::ProgressRecord record;
    record.code = code;
    record.response = answer.get();
    record.stage = net::kStageTransportFailure;
    callback_(context_, &record);
  }
  if (code == 0) response = std::move(answer);
  return code;
}

uint32_t MorvaneBlogService::ReportError(uint32_t code) {
  std::string text = ServiceErrors::GetErrorText(code);
  if (text.empty()) text = serverMessage_;
  // Texts that already end a sentence get no second full stop.
  const bool addFullStop = text.empty() || text.back() != '.';
  const std::string_view shown = text;
  if (storage_ != nullptr) {
    storage_->ReportError(code, &shown, addFullStop);
  } else {
    model::UserInterface::Current().ShowMessage(addFullStop ? text + "." : text,
                                                model::MessageIcon::Exclamation);
  }
  return kResultAlreadyReported;
}

uint32_t MorvaneBlogService::Call(std::string_view operation, std::unique_ptr<net::Stream> body,
                                  std::unique_ptr<net::HttpResponse>* response) {
  std::unique_ptr<net::HttpResponse> answer;
  bool answerError = false;
  const uint32_t code = Exchange(operation, std::move(body), true, answer, answerError);
  if (answerError) return ReportError(code);
  if (response != nullptr) *response = std::move(answer);
  return code;
}

void MorvaneBlogService::ForgetTimestamps() {
  requestTimestamp_ = 0;
  newTimestamp_ = 0;
}

// ---- account --------------------------------------------------------------------------

uint32_t MorvaneBlogService::CheckAccount(net::ProgressCallback callback, void* context) {
  SetCallback(callback, context);
  if (user_ == nullptr || user_->GetEmail().empty() || user_->GetPassword().empty()) return 0;
  SetAccount(user_->GetEmail(), user_->GetPassword(), user_->GetUserId(), {}, {});
  ReportStage(kStageSync);

  std::unique_ptr<net::Stream> body = BeginBody("GU", false);
  if (!body || !WriteAuthentication(*body, false)) return platform::kErrNotEnoughMemory;
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  uint32_t code = Exchange("GU", std::move(body), true, response, answerError);
  if (answerError) return ReportError(code);
  if (code != 0) return code;

  net::Stream& answer = *response->GetBody();
  uint32_t number = 0;
  std::string text;
  if (AnswerScanner::ReadNumber(answer, "UI", number)) {
    user_->SetUserId(number);
    userId_ = number;
  }
  if (AnswerScanner::ReadText(answer, "AT", 31, text)) user_->SetProAccount(EqualNoCase(text, "free") ? 0 : 1);
  if (AnswerScanner::ReadNumber(answer, "QT", number)) user_->SetQuota(number);

  user_->MarkAllBlogs();
  bool sendList = false;
  if (FindList(answer, "SL")) {
    std::string name;
    while (net::XmlReader::FindOpenTag(answer, "SU", "SL")) {
      net::XmlReader::ReadElementText(answer, name, kSubscriptionNameLimit + 1);
      if (!IsValidBlogName(name)) continue;
      const int16_t index = user_->FindBlogIndex(name);
      if (index >= 0) {
        user_->UnmarkBlog(static_cast<size_t>(index));
      } else if (user_->IsAgreedBlog(name) || !user_->Subscribe(name)) {
        sendList = true;
      }
    }
  }
  if (FindList(answer, "RR")) {
    std::vector<std::string> remote;
    size_t bytes = 0;
    std::string name;
    while (net::XmlReader::FindOpenTag(answer, "RB", "RR")) {
      net::XmlReader::ReadElementText(answer, name, kRemoteBlogNameLimit + 1);
      AnswerScanner::TrimCutSequence(name);
      if (bytes + name.size() + 1 > kRemoteBlogBytes) break;
      bytes += name.size() + 1;
      remote.push_back(name);
    }
    user_->SetRemoteBlogs(remote);
  }

  size_t position = 0;
  while (const std::string* marked = user_->NextMarkedBlog(position)) {
    const std::string name = *marked;
    if (!user_->IsAgreedBlog(name)) {
      sendList = true;
    } else if (user_->Unsubscribe(name)) {
      const std::string* now = user_->GetBlogNameAt(position);
      if (now != nullptr && *now == name) ++position;
      continue;
    } else {
      sendList = true;
    }
    ++position;
  }
  user_->RebuildBlogNames();
  return sendList ? SendSubscriptions() : 0;
}

uint32_t MorvaneBlogService::SendSubscriptions() {
  std::unique_ptr<net::Stream> body = BeginBody("EU", false);
  bool ok = body && WriteAuthentication(*body, false) && XmlWriter::WriteText(*body, "<EU><SL>");
  for (size_t i = 0; ok; ++i) {
    const std::string* name = user_->GetBlogNameAt(i);
    if (name == nullptr) break;
    ok = WriteElement(*body, "SU", *name);
  }
  ok = ok && XmlWriter::WriteText(*body, "</SL></EU>");
  if (!ok) return platform::kErrNotEnoughMemory;
  return Call("EU", std::move(body));
}

uint32_t MorvaneBlogService::CreationOutcome(net::HttpResponse& response, std::string_view usedText,
                                             uint32_t usedCode,
                                             std::array<std::string, kAlternates>* alternates) {
  net::Stream* answer = response.GetBody();
  std::string message;
  if (answer == nullptr || !AnswerScanner::ReadText(*answer, "MS", kServerMessageLimit, message)) return 0;
  if (EqualNoCase(message, usedText)) {
    if (alternates != nullptr) {
      for (std::string& a : *alternates) a.clear();
      if (net::XmlReader::FindText(*answer, "<Alternates")) {
        for (std::string& a : *alternates) {
          if (!AnswerScanner::ReadText(*answer, "Alternate", kAlternateLimit, a)) break;
        }
      }
    }
    return usedCode;
  }
  const std::string_view shown = message;
  if (storage_ != nullptr) {
    storage_->ReportError(kCreateFailed, &shown, false);
  } else {
    model::UserInterface::Current().ShowMessage(message, model::MessageIcon::Exclamation);
  }
  return kCreateFailed;
}

uint32_t MorvaneBlogService::CreateAccount(std::string_view email, std::string_view password,
                                           std::string_view firstName, std::string_view lastName,
                                           net::ProgressCallback callback, void* context) {
  SetCallback(callback, context);
  const std::string detail(email);
  ReportStage(kStageCreateAccount, &detail);
  std::unique_ptr<net::Stream> body = BeginBody("CreateAccount", false);
  if (!body || !WriteElement(*body, "EMail", email) || !WriteElement(*body, "Password", password) ||
      !WriteElement(*body, "FirstName", firstName) || !WriteElement(*body, "LastName", lastName)) {
    return platform::kErrNotEnoughMemory;
  }
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  const uint32_t code = Exchange("CreateAccount", std::move(body), false, response, answerError);
  if (code != 0) return code;
  return CreationOutcome(*response, "Error: Email already used", kCreateEmailUsed, nullptr);
}

uint32_t MorvaneBlogService::CreateBlog(std::string_view urlName, std::string_view title,
                                        std::string_view subtitle, bool isPublic,
                                        std::array<std::string, kAlternates>& alternates,
                                        net::ProgressCallback callback, void* context) {
  SetCallback(callback, context);
  const std::string detail(urlName);
  ReportStage(kStageCreateBlog, &detail);
  std::unique_ptr<net::Stream> body = BeginBody("CreateBlog", false);
  if (!body || !WriteAuthentication(*body, false) || !WriteElement(*body, "BlogURL", urlName) ||
      !WriteElement(*body, "Title", title) || !WriteElement(*body, "Subtitle", subtitle) ||
      !WriteElement(*body, "Visibility", isPublic ? "normal" : "hidden")) {
    return platform::kErrNotEnoughMemory;
  }
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  const uint32_t code = Exchange("CreateBlog", std::move(body), false, response, answerError);
  if (code != 0) return code;
  return CreationOutcome(*response, "Error: BlogURL already used", kCreateBlogUrlUsed, &alternates);
}

// ---- blog, categories, entries, comments ----------------------------------------------------

uint32_t MorvaneBlogService::StoreBlogInfo() {
  model::BlogData* info = storage_->GetBlogInfo();
  ReportStage(kStageStoreBlog);
  std::unique_ptr<net::Stream> body = BeginBody("EB", false);
  if (!body || !WriteAuthentication(*body, true) || !XmlWriter::WriteText(*body, "<BL>") ||
      !WriteElement(*body, "BT", info->GetTitle()) || !WriteElement(*body, "ST", info->GetSubtitle()) ||
      !WriteElement(*body, "VI", info->GetHidden() != 0 ? "hidden" : "normal") ||
      !XmlWriter::WriteText(*body, "</BL>")) {
    return platform::kErrNotEnoughMemory;
  }
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  const uint32_t code = Exchange("EB", std::move(body), true, response, answerError);
  if (code != 0) return code;
  net::Stream& answer = *response->GetBody();
  std::string text;
  if (AnswerScanner::ReadText(answer, "BT", 99, text)) info->SetTitle(text);
  if (AnswerScanner::ReadText(answer, "ST", 99, text)) info->SetSubtitle(text);
  if (AnswerScanner::ReadText(answer, "VI", 99, text)) info->SetHidden(text == "normal" ? 0 : 1);
  info->SetModified(false);
  return 0;
}

uint32_t MorvaneBlogService::StoreCategory(model::BlogAlbum& category) {
  const bool isNew = !category.HasServiceId();
  const std::string name = category.GetName();
  ReportStage(kStageStoreCategory, &name);
  uint32_t code = 0;
  uint32_t refused = 0;
  std::unique_ptr<net::HttpResponse> response;
  if (storage_->IsEntryReadOnly(nullptr)) {
    refused = kErrNoEditCategory;
  } else {
    std::unique_ptr<net::Stream> body = BeginBody(isNew ? "AC" : "EC", false);
    bool ok = body && WriteAuthentication(*body, true) && XmlWriter::WriteText(*body, "<CA>");
    if (ok && !isNew) ok = WriteNumberElement(*body, "CI", category.GetId());
    ok = ok && WriteElement(*body, "NM", name) && XmlWriter::WriteText(*body, "</CA>");
    if (!ok) return platform::kErrNotEnoughMemory;
    bool answerError = false;
    code = Exchange(isNew ? "AC" : "EC", std::move(body), true, response, answerError);
    if (answerError) {
      if (code != kErrNoEditCategory && code != kErrNoAddCategory) return ReportError(code);
      refused = code;
    } else if (code != 0) {
      return code;
    }
  }
  if (refused != 0) {
    ReportError(refused);
    ForgetTimestamps();
  } else if (isNew) {
    uint32_t id = 0;
    if (AnswerScanner::ReadNumber(*response->GetBody(), "CI", id) && id != 0 && id != category.GetId()) {
      const uint32_t oldId = category.GetId();
      category.SetId(id);
      storage_->MoveCategoryEntries(oldId, id);
    }
  }
  category.SetModified(false);
  return storage_->AddCategory(category);
}

uint32_t MorvaneBlogService::SendDeletion(std::string_view operation, std::string_view listTag,
                                          std::string_view idTag, uint32_t id, bool readOnly,
                                          uint32_t noEditCode, uint32_t noDeleteCode,
                                          std::initializer_list<uint32_t> goneCodes) {
  if (readOnly) {
    ReportError(noEditCode);
    ForgetTimestamps();
    return 0;
  }
  std::unique_ptr<net::Stream> body = BeginBody(operation, false);
  std::string open("<");
  open.append(listTag).append(">");
  std::string close("</");
  close.append(listTag).append(">");
  if (!body || !WriteAuthentication(*body, true) || !XmlWriter::WriteText(*body, open) ||
      !WriteNumberElement(*body, idTag, id) || !XmlWriter::WriteText(*body, close)) {
    return platform::kErrNotEnoughMemory;
  }
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  const uint32_t code = Exchange(operation, std::move(body), true, response, answerError);
  if (answerError) {
    for (uint32_t gone : goneCodes) {
      if (code == gone) return 0;
    }
    if (code != noEditCode && code != noDeleteCode) return ReportError(code);
    ReportError(code);
    ForgetTimestamps();
    return 0;
  }
  return code;
}

uint32_t MorvaneBlogService::DeleteCategory(model::BlogAlbum& category) {
  ReportStage(kStageDeleteCategory);
  const uint32_t code = SendDeletion("DC", "CA", "CI", category.GetId(),
                                     storage_->IsEntryReadOnly(nullptr), kErrNoEditCategory, kErrNoDeleteCategory,
                                     {kErrThisCategoryDeleted, kErrCategoryDeleted});
  if (code != 0) return code;
  storage_->RemoveCategory(category, true);
  return 0;
}

uint32_t MorvaneBlogService::StoreEntry(model::BlogEntry& entry, net::ProgressCallback callback,
                                        void* context, uint16_t blogType, uint16_t number,
                                        uint16_t total) {
  SetCallback(callback, context);
  const bool isNew = !entry.HasId();
  const std::string title = entry.GetTitle();
  ReportStage(kStageStoreEntry, &title, number, total);
  if (storage_->IsEntryReadOnly(&entry)) {
    ReportError(kErrNoEditPicture);
    ForgetTimestamps();
    entry.SetModified(false);
    return storage_->AddEntry(entry);
  }
  std::unique_ptr<net::Stream> photo;
  if (isNew) {
    photo = entry.OpenPhoto();
    if (!photo) return kResultPhotoMissing;
    if (!entry.HasJpegPhoto()) return kResultInvalidJpeg;
  }
  // A new entry's body is the envelope up to "<JP>" in memory, the photo's base64
  // text made while the request goes out, and the rest in memory.
  std::unique_ptr<net::Stream> body = BeginBody(isNew ? "AP" : "EP", !isNew);
  bool ok = body && WriteAuthentication(*body, true) && XmlWriter::WriteText(*body, "<PI>");
  if (ok && !isNew) ok = WriteNumberElement(*body, "ID", entry.GetId());
  ok = ok && WriteNumberElement(*body, "CI", entry.GetCategoryId()) && WriteElement(*body, "TI", title) &&
       WriteElement(*body, "CP", entry.GetCaption()) &&
       WriteElement(*body, "PD", http_.FormatTimestamp(entry.GetDate(), false)) &&
       WriteElement(*body, "TD", http_.FormatTimestamp(entry.GetDate2(), false));
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  uint32_t code = 0;
  if (isNew) {
    std::unique_ptr<net::Stream> rest = net::Win32SmallStream::Create();
    ok = ok && rest && XmlWriter::WriteText(*body, "<JP>") && XmlWriter::WriteText(*rest, "</JP></PI>") &&
         SoapEnvelope::End(*rest, "AP");
    std::unique_ptr<net::Stream> text = ok ? net::Base64Stream::Create(std::move(photo)) : nullptr;
    if (!text) return platform::kErrNotEnoughMemory;
    body = std::make_unique<net::CompoundStream>(
        std::move(body), std::make_unique<net::CompoundStream>(std::move(text), std::move(rest)));
    code = Post("AP", std::move(body), true, response, answerError);
  } else {
    if (!ok || !XmlWriter::WriteText(*body, "</PI>")) return platform::kErrNotEnoughMemory;
    code = Exchange("EP", std::move(body), true, response, answerError);
  }
  if (answerError) {
    // A text the program does not know refuses this entry alone (its photo, its
    // fields): it stays pending and the rest of the queue goes on.
    if (isNew && code == kErrUnknownServerMessage) return kResultPhotoRefused;
    if (code != kErrNoEditPicture && code != kErrNoAddPicture) return ReportError(code);
    ReportError(code);
    ForgetTimestamps();
    entry.SetModified(false);
    return storage_->AddEntry(entry);
  }
  if (code != 0) return code;
  if (isNew) {
    net::Stream& answer = *response->GetBody();
    uint32_t id = 0;
    std::string text;
    if (AnswerScanner::ReadNumber(answer, "ID", id)) entry.SetId(id);
    if (blogType == kGroupBlog) {
      if (AnswerScanner::ReadText(answer, "BY", 63, text)) entry.SetAuthorName(text);
      entry.SetAuthorId(userId_);
    }
    if (AnswerScanner::ReadText(answer, "OU", 127, text)) entry.SetFullSizeUrl(text);
  }
  if (storage_->GetDeleteAfterUpload()) entry.DeletePhotoFile(true);
  entry.SetUploadSize(static_cast<uint8_t>(uploadSize_));
  entry.SetModified(false);
  return storage_->AddEntry(entry);
}

uint32_t MorvaneBlogService::DeleteEntry(model::BlogEntry& entry) {
  ReportStage(kStageDeleteEntry);
  const uint32_t code = SendDeletion("DP", "PI", "ID", entry.GetId(),
                                     storage_->IsEntryReadOnly(&entry), kErrNoEditPicture, kErrNoDeletePicture,
                                     {kErrPictureDeleted});
  if (code != 0) return code;
  storage_->RemoveEntry(entry, true, false);
  return 0;
}

uint32_t MorvaneBlogService::StoreComment(model::BlogComment& comment, net::ProgressCallback callback,
                                          void* context) {
  SetCallback(callback, context);
  const bool isNew = !comment.HasId();
  const std::string text = comment.GetText();
  ReportStage(kStageStoreComment, &text);
  uint32_t refused = 0;
  std::unique_ptr<net::HttpResponse> response;
  if (storage_->IsCommentLocked(&comment)) {
    refused = kErrNoEditComment;
  } else {
    std::unique_ptr<net::Stream> body = BeginBody(isNew ? "AO" : "EO", true);
    bool ok = body && WriteAuthentication(*body, true) && XmlWriter::WriteText(*body, "<OM>");
    if (ok && !isNew) ok = WriteNumberElement(*body, "OI", comment.GetId());
    ok = ok && WriteNumberElement(*body, "ID", comment.GetEntryId()) &&
         WriteElement(*body, "OD", http_.FormatTimestamp(comment.GetDate(), true)) &&
         WriteElement(*body, "OT", text) && XmlWriter::WriteText(*body, "</OM>");
    if (!ok) return platform::kErrNotEnoughMemory;
    bool answerError = false;
    const uint32_t code = Exchange(isNew ? "AO" : "EO", std::move(body), true, response, answerError);
    if (answerError) {
      if (code != kErrNoEditComment && code != kErrNoPostComment) return ReportError(code);
      refused = code;
    } else if (code != 0) {
      return code;
    }
  }
  if (refused != 0) {
    ReportError(refused);
    ForgetTimestamps();
  } else if (isNew) {
    net::Stream& answer = *response->GetBody();
    uint32_t id = 0;
    std::string author;
    if (AnswerScanner::ReadNumber(answer, "OI", id)) comment.SetId(id);
    if (AnswerScanner::ReadText(answer, "BY", 63, author)) comment.SetAuthorName(author);
    comment.SetAuthorId(userId_);
  }
  comment.SetModified(false);
  return storage_->AddComment(comment);
}

uint32_t MorvaneBlogService::DeleteComment(model::BlogComment& comment) {
  ReportStage(kStageDeleteComment);
  const uint32_t code = SendDeletion("DCO", "OM", "OI", comment.GetId(),
                                     storage_->IsEntryReadOnly(nullptr), kErrNoEditComment, kErrNoDeleteComment,
                                     {kErrCommentDeleted});
  if (code != 0) return code;
  storage_->RemoveComment(comment, true);
  return 0;
}

// ---- e-mail and remote post -----------------------------------------------------------------

uint32_t MorvaneBlogService::SendPhotoEmail(uint32_t categoryId, uint32_t entryId,
                                            std::string_view recipients, std::string_view message,
                                            net::ProgressCallback callback, void* context) {
  SetCallback(callback, context);
  const std::string detail(message);
  ReportStage(kStageSendEmail, &detail);
  if (userId_ == 0) return ReportError(kErrInvalidAuthentication);
  std::unique_ptr<net::Stream> body = BeginBody("PhotoEMail", false);
  bool ok = body && WriteAuthentication(*body, true) && WriteNumberElement(*body, "CI", categoryId) &&
            WriteEntryId(*body, entryId) && XmlWriter::WriteText(*body, "<RS>");
  for (const std::string& address : SplitRecipients(recipients)) {
    ok = ok && WriteElement(*body, "RP", address);
  }
  ok = ok && XmlWriter::WriteText(*body, "</RS>") && WriteElement(*body, "MG", message);
  if (!ok) return platform::kErrNotEnoughMemory;
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  const uint32_t code = Exchange("PhotoEMail", std::move(body), true, response, answerError);
  return answerError ? ReportError(code) : code;
}

uint32_t MorvaneBlogService::PostToRemoteBlog(uint32_t categoryId, uint32_t entryId,
                                              std::string_view remoteBlog, std::string_view title,
                                              std::string_view caption, net::ProgressCallback callback,
                                              void* context) {
  SetCallback(callback, context);
  const std::string detail(title);
  ReportStage(kStageRemotePost, &detail);
  if (userId_ == 0) return ReportError(kErrInvalidAuthentication);
  std::unique_ptr<net::Stream> body = BeginBody("RemoteBlog", false);
  if (!body || !WriteAuthentication(*body, true) || !WriteNumberElement(*body, "CI", categoryId) ||
      !WriteEntryId(*body, entryId) || !WriteElement(*body, "RB", remoteBlog) ||
      !WriteElement(*body, "TI", title) || !WriteElement(*body, "CP", caption)) {
    return platform::kErrNotEnoughMemory;
  }
  std::unique_ptr<net::HttpResponse> response;
  bool answerError = false;
  const uint32_t code = Exchange("RemoteBlog", std::move(body), true, response, answerError);
  return answerError ? ReportError(code) : code;
}

// ---- change list ------------------------------------------------------------------------------

uint32_t MorvaneBlogService::RequestChanges(std::unique_ptr<net::HttpResponse>& response) {
  std::unique_ptr<net::Stream> body = BeginBody("GC", false);
  bool ok = body && WriteAuthentication(*body, true);
  if (ok) {
    ok = requestTimestamp_ != 0
             ? WriteElement(*body, "TS", http_.FormatTimestamp(requestTimestamp_, true))
             : XmlWriter::WriteText(*body, "<TS />");
  }
  ok = ok && SoapEnvelope::WriteViewPassword(*body, http_, viewPassword_);
  if (ok) {
    const uint16_t limit = storage_->GetEntryLimit();
    ok = requestTimestamp_ == 0 && limit != model::kNoEntryLimit ? WriteNumberElement(*body, "MX", limit)
                                                                 : XmlWriter::WriteText(*body, "<MX />");
  }
  if (!ok) return platform::kErrNotEnoughMemory;
  bool answerError = false;
  const uint32_t code = Exchange("GC", std::move(body), true, response, answerError);
  if (!answerError) return code;
  if (code == kErrPasswordProtected || code == kErrWrongViewPassword) return code;
  if (code == kErrInvalidTimestamp) newTimestamp_ = 0;
  return ReportError(code);
}

uint32_t MorvaneBlogService::ApplyChanges(net::Stream& answer) {
  ChangeList changes(*storage_, http_, callback_, context_, requestTimestamp_ == 0);
  const uint32_t code = changes.Apply(answer);
  if (code == 0 && changes.HasTimestamp()) newTimestamp_ = changes.Timestamp();
  return code;
}

// ---- photos -----------------------------------------------------------------------------------

uint32_t MorvaneBlogService::Fetch(std::string_view host, std::string_view path,
                                   std::unique_ptr<net::HttpResponse>& response) {
  std::string name(host);
  uint16_t port = net::HttpRequest::kDefaultPort;
  const size_t colon = name.rfind(':');
  if (colon != std::string::npos) {
    const uint32_t value = AnswerScanner::ParseNumber(std::string_view(name).substr(colon + 1));
    if (value == 0 || value > 65535) return net::kHttpErrInvalidUrl;
    port = static_cast<uint16_t>(value);
    name.resize(colon);
  }
  const bool ours = EqualNoCase(name, settings_.host) && !settings_.numericAddress.empty();
  net::HttpRequest request;
  request.SetMethod("GET");
  request.SetServer(false, name, ours ? settings_.numericAddress.c_str() : nullptr, port, path);
  request.AddHeader(http_.MakeUserAgentHeader());
  request.SetCallback(callback_, context_);
  std::unique_ptr<net::HttpResponse> answer = http_.Send(request);
  if (!answer) return platform::kErrNotEnoughMemory;
  const uint32_t code = answer->GetStatus();
  if (code != 0) {
    if (callback_ != nullptr) {
      net::ProgressRecord record;
      record.code = code;
      record.response = answer.get();
      record.stage = net::kStageTransportFailure;
      callback_(context_, &record);
    }
    return code;
  }
  response = std::move(answer);
  return 0;
}

uint32_t MorvaneBlogService::FetchEntryPhoto(model::BlogEntry& entry, uint8_t sizeCode) {
  const std::string url = PhotoUrl::Choose(entry, sizeCode);
  std::string host;
  std::string path;
  if (!PhotoUrl::Split(url, host, path)) return 0;
  std::unique_ptr<net::HttpResponse> response;
  uint32_t code = Fetch(host, path, response);
  if (code != 0) return code;
  std::unique_ptr<net::Stream> photo = CopyToTemporaryFile(*response->GetBody());
  response.reset();
  if (!photo) return platform::kErrNotEnoughMemory;
  const bool isFile = storage_->IsPhotoSizeCode(sizeCode);
  const std::string name = LastSegment(entry.GetFullSizeUrl());
  if (isFile && !platform::IsPlainFileName(name)) return platform::kErrInvalidName;
  // Nothing of the entry changes until the photo is known to be whole: a cut or
  // broken download leaves it its photo and size.
  if (!IsWholeJpegFile(static_cast<net::Win32LargeStream&>(*photo).Path())) return kResultInvalidJpeg;

  const std::string oldPath = entry.GetPhotoPath();
  if (isFile && (code = storage_->WriteDownloadedFile(name, photo)) != 0) return code;
  const uint32_t bytes = entry.GetPhotoBytes();
  uint16_t width = 0, height = 0;
  entry.GetPhotoDimensions(width, height);
  entry.SetPhotoBytes(0);
  entry.SetPhotoDimensions(0, 0);
  code = entry.AttachPhoto(static_cast<net::Win32LargeStream*>(photo.get()), sizeCode);
  if (code != 0) {
    entry.SetPhotoBytes(bytes);
    entry.SetPhotoDimensions(width, height);
    return code;
  }
  // The photo it had under another name goes once the database names the new one.
  if (entry.HasId()) storage_->DeleteReplacedPhotoAtSave(entry, oldPath);
  return 0;
}

std::string MorvaneBlogService::UnsentPhotoItem(const model::BlogEntry& entry, uint32_t code) const {
  std::string name(platform::PhoneFileName(entry.GetPhotoPath()));
  if (name.empty()) name = entry.GetTitle();
  const std::string why = code == kResultPhotoRefused ? serverMessage_ : ServiceErrors::GetErrorText(code);
  return "\"" + name + "\" (" + why + ")";
}

void MorvaneBlogService::ReportUnsentPhotos(const std::vector<std::string>& items) {
  if (items.empty()) return;
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : ", ") + item;
  const std::string text = platform::FormatText(platform::strings::kUnsentPhotos, {list});
  const std::string_view shown = text;
  if (storage_ != nullptr) {
    storage_->ReportError(kResultPhotoRefused, &shown, false);
  } else {
    model::UserInterface::Current().ShowMessage(text, model::MessageIcon::Exclamation);
  }
}

uint32_t MorvaneBlogService::DownloadEntryPhoto(model::BlogEntry& entry, uint8_t sizeCode,
                                                net::ProgressCallback callback, void* context) {
  SetCallback(callback, context);
  const std::string title = entry.GetTitle();
  ReportStage(kStageGetEntry, &title);
  const bool wasModified = entry.IsModified();
  const uint32_t code = FetchEntryPhoto(entry, sizeCode);
  if (code != 0) return code;
  entry.SetModified(wasModified);
  return storage_->AddEntry(entry);
}

}  // namespace service
