#include <string>

#include "model/LocalBlogStorage.h"
#include "net/HttpResponse.h"
#include "net/ReadOnlyMemoryStream.h"
#include "net/XmlReader.h"
#include "platform/Preferences.h"
#include "service/AnswerScanner.h"
#include "service/MorvaneBlogService.h"
#include "service/VersionCheck.h"

namespace service {

namespace {

constexpr uint32_t kStageCheckVersion = 8;
constexpr uint32_t kStageGetChannels = 10;
constexpr uint32_t kVersionLimit = 15;
constexpr uint32_t kNoteTextLimit = 199;
constexpr uint32_t kNoteExtraLimit = 63;
// A note is far smaller; the rest of a longer one is skipped.
constexpr size_t kNoteBytes = 4096;

// Reads up to and past `ending`, keeping the first kNoteBytes bytes before it.
void ReadUntil(net::Stream& stream, std::string_view ending, std::string& content) {
  content.clear();
  size_t matched = 0;
  uint8_t ch = 0;
  while (stream.ReadByte(ch)) {
    if (content.size() < kNoteBytes) content.push_back(static_cast<char>(ch));
    if (static_cast<char>(ch) == ending[matched]) {
      if (++matched == ending.size()) {
        if (content.size() >= ending.size()) content.resize(content.size() - ending.size());
        return;
      }
    } else {
      matched = static_cast<char>(ch) == ending[0] ? 1 : 0;
    }
  }
}

struct Note {
  uint32_t number = 0;
  std::string text;
  std::string extra;
};

Note ParseNote(const std::string& content) {
  Note note;
  net::ReadOnlyMemoryStream stream(content.data(), static_cast<uint32_t>(content.size()));
  if (net::XmlReader::FindText(stream, "<N>")) note.number = net::XmlReader::ReadNumber(stream);
  const uint32_t afterNumber = stream.GetPosition();
  if (net::XmlReader::FindOpenTag(stream, "M")) {
    net::XmlReader::ReadElementText(stream, note.text, kNoteTextLimit + 1);
  } else {
    stream.Seek(afterNumber);
  }
  if (net::XmlReader::FindOpenTag(stream, "A")) {
    net::XmlReader::ReadElementText(stream, note.extra, kNoteExtraLimit + 1);
  }
  return note;
}

}  // namespace

bool MorvaneBlogService::CheckVersion(bool explicitCheck, bool& newerExists,
                                      net::ProgressCallback callback, void* context) {
  newerExists = false;
  if (storage_ == nullptr || !storage_->ShouldCheckVersion(explicitCheck)) return false;
  SetCallback(callback, context);

  std::string comparison = VersionCheck::ProgramVersion();
  const std::string ignored = platform::ReadLastIgnoredVersion();
  if (!VersionCheck::IsOlder(ignored, comparison)) comparison = ignored;
  const uint32_t lastShown = platform::ReadLastMessageNumber();
  if (explicitCheck) ReportStage(kStageCheckVersion);

  std::unique_ptr<net::HttpResponse> response;
  net::Stream* file = nullptr;
  if (Fetch(settings_.Authority(), VersionCheck::kMessagesPath, response) == 0) {
    file = response->GetBody();
  }
  if (file == nullptr) {
    storage_->SetMessageCheckTime(false);
    return false;
  }

  std::string version;
  if (AnswerScanner::ReadText(*file, "VERS", kVersionLimit, version) &&
      VersionCheck::IsOlder(comparison, version)) {
    newerExists = true;
    if (storage_->OfferNewVersion(version)) return true;
  }
  if (explicitCheck) return true;

  // Notes need not come in number order; the highest one shown is kept, so that
  // none is shown twice.
  uint32_t highest = lastShown;
  std::string content;
  while (net::XmlReader::FindText(*file, "<NOTE>")) {
    ReadUntil(*file, "</NOTE>", content);
    const Note note = ParseNote(content);
    if (note.number <= lastShown) continue;
    storage_->ShowServiceMessage(note.number, note.text, note.extra);
    if (note.number > highest) highest = note.number;
  }
  if (highest != platform::ReadLastMessageNumber()) platform::WriteLastMessageNumber(highest);
  storage_->SetMessageCheckTime(true);
  return false;
}

uint32_t MorvaneBlogService::GetChannels(std::string& channels, size_t size,
                                         net::ProgressCallback callback, void* context) {
  SetCallback(callback, context);
  ReportStage(kStageGetChannels);
  std::unique_ptr<net::HttpResponse> response;
  const uint32_t code = Fetch(settings_.Authority(), VersionCheck::kChannelsPath, response);
  if (code != 0) return code;
  net::Stream* file = response->GetBody();
  std::string text;
  if (file != nullptr && size > 1 &&
      AnswerScanner::ReadText(*file, "CHAN", static_cast<uint32_t>(size - 1), text)) {
    channels = text;
  }
  return 0;
}

}  // namespace service
