#include "net/Win32Http.h"

#include <curl/curl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>
#include <string_view>

#include "TessaryVersion.h"
#include "net/HttpErrors.h"
#include "net/Win32LargeStream.h"
#include "net/Win32SmallStream.h"
#include "net/XmlWriter.h"
#include "platform/ErrorCodes.h"

namespace net {

namespace {

// Name and version go into the User-Agent only below this length.
constexpr size_t kAgentPartLimit = 31;

// What the libcurl callbacks of one transfer share.
struct TransferState {
  const HttpRequest* request = nullptr;
  Stream* answer = nullptr;
  Stream* text = nullptr;  // the request text, at the body
  uint32_t bodyStart = 0;
  size_t bodySize = 0;
  size_t bodySent = 0;
  bool cancelled = false;
  bool writeFailed = false;
  bool readFailed = false;  // the body stream ended or failed short of its size
  bool answered = false;    // some of the answer has arrived

  bool Ask() {
    if (!cancelled && !request->Ask()) cancelled = true;
    return !cancelled;
  }
};

// Fills libcurl's upload buffer straight from the body stream and asks after every
// 2048-byte piece of it, so the ask points stay those of a 2048-byte transfer while the
// socket sees large writes.
size_t ReadBody(char* buffer, size_t size, size_t count, void* userdata) {
  auto* state = static_cast<TransferState*>(userdata);
  if (state->cancelled) return CURL_READFUNC_ABORT;
  size_t room = size * count;
  if (room > state->bodySize - state->bodySent) room = state->bodySize - state->bodySent;
  if (room == 0) return 0;
  uint32_t got = 0;
  if (!state->text->ReadBytes(buffer, static_cast<uint32_t>(room), got)) {
    state->readFailed = true;
    return CURL_READFUNC_ABORT;
  }
  size_t given = 0;
  while (given < got) {
    size_t piece = got - given;
    if (piece > Win32Http::kPieceSize) piece = Win32Http::kPieceSize;
    given += piece;
    state->bodySent += piece;
    if (!state->Ask()) break;
  }
  return given;
}

// A kept connection that the server closed meanwhile is only found out when the
// request goes out; libcurl then sends it again on a new connection from the start.
int SeekBody(void* userdata, curl_off_t offset, int origin) {
  auto* state = static_cast<TransferState*>(userdata);
  if (origin != SEEK_SET || offset < 0 || static_cast<uint64_t>(offset) > state->bodySize ||
      !state->text->Seek(state->bodyStart + static_cast<uint32_t>(offset))) {
    return CURL_SEEKFUNC_FAIL;
  }
  state->bodySent = static_cast<size_t>(offset);
  return CURL_SEEKFUNC_OK;
}

// Header lines arrive one by one, interim blocks included; they are stored with
// CR LF line ends whatever the server used.
size_t WriteHeaderLine(char* data, size_t size, size_t count, void* userdata) {
  auto* state = static_cast<TransferState*>(userdata);
  state->answered = true;
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (!XmlWriter::WriteText(*state->answer, line) ||
      !XmlWriter::WriteText(*state->answer, "\r\n")) {
    state->writeFailed = true;
    return 0;
  }
  return size * count;
}

size_t WriteBodyPiece(char* data, size_t size, size_t count, void* userdata) {
  auto* state = static_cast<TransferState*>(userdata);
  state->answered = true;
  if (!state->Ask()) return 0;
  if (!state->answer->Write(data, static_cast<uint32_t>(size * count))) {
    state->writeFailed = true;
    return 0;
  }
  return size * count;
}

// Keeps Cancel working while the server is silent.
int OnCurlProgress(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* state = static_cast<TransferState*>(userdata);
  return state->Ask() ? 0 : 1;
}

// Runs the transfer in slices so that the progress callback is asked often even
// while the server says nothing; libcurl's own progress callback asks as well.
CURLcode Perform(CURLM* multi, CURL* handle, TransferState& state) {
  CURLcode code = CURLE_OUT_OF_MEMORY;
  if (curl_multi_add_handle(multi, handle) != CURLM_OK) return code;
  bool done = false;
  while (!done) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) break;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == handle) {
        code = message->data.result;
        done = true;
      }
    }
    if (done || running == 0 || !state.Ask()) break;
    curl_multi_poll(multi, nullptr, 0, Win32Http::kAskIntervalMs, nullptr);
  }
  curl_multi_remove_handle(multi, handle);
  return code;
}

// The system's proxy settings apply, but never to the machine itself: a service on
// loopback is reached directly.
std::string NoProxyList() {
  std::string list = "localhost,127.0.0.1,::1";
  for (const char* name : {"no_proxy", "NO_PROXY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      list = std::string(value) + "," + list;
      break;
    }
  }
  return list;
}

std::string ProgramName() {
  std::string name = program_invocation_short_name;
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name.size() < kAgentPartLimit ? name : std::string(TESSARY_PROGRAM_NAME);
}

// Splits the header lines (CR LF separated) into libcurl's list; null when memory is short.
curl_slist* MakeHeaderList(const std::string& lines) {
  curl_slist* list = nullptr;
  size_t start = 0;
  while (start < lines.size()) {
    size_t end = lines.find("\r\n", start);
    if (end == std::string::npos) end = lines.size();
    if (end > start) {
      curl_slist* grown = curl_slist_append(list, lines.substr(start, end - start).c_str());
      if (grown == nullptr) {
        curl_slist_free_all(list);
        return nullptr;
      }
      list = grown;
    }
    start = end + 2;
  }
  // Only our own header lines go out: no Accept or Expect of libcurl's.
  for (const char* suppressed : {"Accept:", "Expect:"}) {
    curl_slist* grown = curl_slist_append(list, suppressed);
    if (grown == nullptr) {
      curl_slist_free_all(list);
      return nullptr;
    }
    list = grown;
  }
  return list;
}

}  // namespace

Win32Http::~Win32Http() { Close(); }

bool Win32Http::Open() {
  static std::once_flag initialised;
  static CURLcode initResult = CURLE_OK;
  std::call_once(initialised, [] { initResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
  if (initResult != CURLE_OK) {
    lastResult_ = HttpErrorFromCurl(initResult);
    return false;
  }
  if (session_ != nullptr) return true;
  CURLSH* share = curl_share_init();
  if (share == nullptr) {
    lastResult_ = platform::kErrNotEnoughMemory;
    return false;
  }
  curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  session_ = share;
  return true;
}

void Win32Http::Close() {
  for (Connection& c : cache_) CloseConnection(c);
  if (session_ != nullptr) {
    curl_share_cleanup(static_cast<CURLSH*>(session_));
    session_ = nullptr;
  }
}

bool Win32Http::CachedConnection(int slot, std::string& host, uint16_t& port) const {
  if (slot < 0 || slot >= kConnectionSlots || cache_[slot].handle == nullptr) return false;
  host = cache_[slot].host;
  port = cache_[slot].port;
  return true;
}

void Win32Http::CloseConnection(Connection& connection) {
  if (connection.multi != nullptr) curl_multi_cleanup(static_cast<CURLM*>(connection.multi));
  if (connection.handle != nullptr) curl_easy_cleanup(static_cast<CURL*>(connection.handle));
  connection = Connection{};
}

Win32Http::Connection* Win32Http::GetConnection(const std::string& host, uint16_t port) {
  for (Connection& c : cache_) {
    if (c.handle != nullptr && c.port == port && c.host == host) return &c;
  }
  Connection* slot = nullptr;
  for (Connection& c : cache_) {
    if (c.handle == nullptr) {
      slot = &c;
      break;
    }
  }
  if (slot == nullptr) {
    slot = &cache_[kConnectionSlots - 1];
    CloseConnection(*slot);
  }
  slot->handle = curl_easy_init();
  slot->multi = curl_multi_init();
  if (slot->handle == nullptr || slot->multi == nullptr) {
    CloseConnection(*slot);
    return nullptr;
  }
  slot->host = host;
  slot->port = port;
  return slot;
}

std::unique_ptr<HttpResponse> Win32Http::Send(HttpRequest& request) {
  lastResult_ = 0;
  std::unique_ptr<HttpResponse> response(new (std::nothrow) HttpResponse);
  if (!response) {
    lastResult_ = platform::kErrNotEnoughMemory;
    return nullptr;
  }
  const uint32_t result = Transfer(request, *response);
  response->SetResult(result);
  if (result != 0) lastResult_ = result;
  return response;
}

uint32_t Win32Http::Transfer(HttpRequest& request, HttpResponse& response) {
  if (session_ == nullptr) return platform::kErrInvalidHandle;
  Connection* connection = GetConnection(request.Host(), request.Port());
  if (connection == nullptr) return platform::kErrNotEnoughMemory;
  CURL* handle = static_cast<CURL*>(connection->handle);
  CURLM* multi = static_cast<CURLM*>(connection->multi);

  if (!request.Ask()) return platform::kErrCancelled;
  std::unique_ptr<Stream> text = request.BuildRequestText();
  if (!text) return platform::kErrNotEnoughMemory;

  // The request line is libcurl's to write; the header lines after it are copied
  // byte by byte, asking after each one, up to the empty line that ends them.
  uint8_t ch = 0;
  uint8_t previous = 0;
  while (text->ReadByte(ch)) {
    if (previous == '\r' && ch == '\n') break;
    previous = ch;
  }
  std::string headerLines;
  while (text->ReadByte(ch)) {
    headerLines.push_back(static_cast<char>(ch));
    if (!request.Ask()) return platform::kErrCancelled;
    const size_t n = headerLines.size();
    if (n >= 2 && headerLines.compare(n - 2, 2, "\r\n") == 0 &&
        (n == 2 || (n >= 4 && headerLines.compare(n - 4, 4, "\r\n\r\n") == 0))) {
      headerLines.resize(n - 2);
      break;
    }
  }

  if (!request.Ask()) return platform::kErrCancelled;
  // The body is read straight from its stream while it is sent, never held whole.
  const uint32_t bodyStart = text->GetPosition();
  const uint32_t bodySize = text->GetSize() - bodyStart;

  std::unique_ptr<Stream> answer = Win32LargeStream::CreateTemporary();
  if (!answer) return platform::kErrNotEnoughMemory;
  curl_slist* headers = MakeHeaderList(headerLines);
  if (headers == nullptr) return platform::kErrNotEnoughMemory;

  TransferState state;
  state.request = &request;
  state.answer = answer.get();
  state.text = text.get();
  state.bodyStart = bodyStart;
  state.bodySize = bodySize;

  std::string path = request.Path();
  if (path.front() != '/') path.insert(path.begin(), '/');
  const std::string url = std::string(request.Secure() ? "https://" : "http://") + request.Host() +
                          ":" + std::to_string(request.Port()) + path;
  const std::string method = request.Method();
  const std::string noProxy = NoProxyList();

  curl_easy_reset(handle);
  curl_easy_setopt(handle, CURLOPT_SHARE, static_cast<CURLSH*>(session_));
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_NOPROXY, noProxy.c_str());
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, static_cast<long>(kPieceSize));
  curl_easy_setopt(handle, CURLOPT_UPLOAD_BUFFERSIZE, static_cast<long>(kUploadBufferSize));
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, connectTimeout_);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, stallTimeout_);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, WriteHeaderLine);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &state);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteBodyPiece);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &state);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, OnCurlProgress);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &state);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  if (method == "GET") {
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(handle, CURLOPT_POST, 1L);
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bodySize));
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, ReadBody);
    curl_easy_setopt(handle, CURLOPT_READDATA, &state);
    curl_easy_setopt(handle, CURLOPT_SEEKFUNCTION, SeekBody);
    curl_easy_setopt(handle, CURLOPT_SEEKDATA, &state);
    if (method != "POST") curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, method.c_str());
  }

  CURLcode code = Perform(multi, handle, state);
  // A kept connection that the server had already closed fails the send before
  // any answer came, and a body under way is not sent again by libcurl: such a
  // request goes out once more, on a new connection.
  long connects = 0;
  if (code == CURLE_SEND_ERROR && !state.cancelled && !state.readFailed && !state.writeFailed &&
      !state.answered && curl_easy_getinfo(handle, CURLINFO_NUM_CONNECTS, &connects) == CURLE_OK &&
      connects == 0 && text->Seek(bodyStart)) {
    state.bodySent = 0;
    curl_easy_setopt(handle, CURLOPT_FRESH_CONNECT, 1L);
    code = Perform(multi, handle, state);
  }
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, nullptr);
  curl_slist_free_all(headers);

  uint32_t result = 0;
  if (state.cancelled) {
    result = platform::kErrCancelled;
  } else if (state.readFailed) {
    result = platform::kErrNotEnoughMemory;
  } else if (state.writeFailed) {
    result = platform::kErrOutOfMemory;
  } else {
    result = HttpErrorFromCurl(code);
  }
  // The last read, the one that finds the answer's end, is asked about too.
  if (result == 0 && !state.Ask()) result = platform::kErrCancelled;
  if (result == 0) response.SetAnswer(std::move(answer));
  return result;
}

std::unique_ptr<Stream> Win32Http::MakeUserAgentHeader() {
  std::unique_ptr<Win32SmallStream> header = Win32SmallStream::Create();
  if (!header) return nullptr;
  std::string version = TESSARY_VERSION;
  if (version.size() >= kAgentPartLimit) version.clear();
  if (!XmlWriter::WriteText(*header, "User-Agent: WinCE-Smartphone " + ProgramName() + " " + version)) {
    return nullptr;
  }
  header->Seek(0);
  return header;
}

}  // namespace net
