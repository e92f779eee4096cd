#include "net/HttpErrors.h"

#include <curl/curl.h>

#include "platform/ErrorCodes.h"

namespace net {

namespace {

struct CurlMapping {
  CURLcode curl;
  uint32_t code;
};

// Every libcurl failure the client can meet, in one place.
constexpr CurlMapping kCurlMappings[] = {
    {CURLE_OK, 0},
    // Our addresses are always http or https: this is an answer without a status
    // line, which libcurl refuses as HTTP/0.9.
    {CURLE_UNSUPPORTED_PROTOCOL, kHttpErrInvalidServerResponse},
    {CURLE_URL_MALFORMAT, kHttpErrInvalidUrl},
    {CURLE_COULDNT_RESOLVE_PROXY, kHttpErrNameNotResolved},
    {CURLE_COULDNT_RESOLVE_HOST, kHttpErrNameNotResolved},
    {CURLE_COULDNT_CONNECT, kHttpErrCannotConnect},
    {CURLE_WEIRD_SERVER_REPLY, kHttpErrInvalidServerResponse},
    {CURLE_GOT_NOTHING, kHttpErrInvalidServerResponse},
    {CURLE_PARTIAL_FILE, kHttpErrConnectionAborted},
    {CURLE_SEND_ERROR, kHttpErrConnectionAborted},
    {CURLE_SEND_FAIL_REWIND, kHttpErrConnectionAborted},
    {CURLE_RECV_ERROR, kHttpErrConnectionReset},
    {CURLE_OPERATION_TIMEDOUT, kHttpErrTimeout},
    {CURLE_OUT_OF_MEMORY, platform::kErrNotEnoughMemory},
    {CURLE_WRITE_ERROR, platform::kErrOutOfMemory},
    {CURLE_ABORTED_BY_CALLBACK, platform::kErrCancelled},
    {CURLE_SSL_CONNECT_ERROR, kHttpErrSecureChannel},
    {CURLE_PEER_FAILED_VERIFICATION, kHttpErrInvalidCa},
    {CURLE_SSL_CACERT_BADFILE, kHttpErrInvalidCa},
    {CURLE_AGAIN, kHttpErrTimeout},
};

}  // namespace

uint32_t HttpErrorFromCurl(int curlCode) {
  for (const CurlMapping& m : kCurlMappings) {
    if (static_cast<int>(m.curl) == curlCode) return m.code;
  }
  return kHttpErrInternal;
}

}  // namespace net
