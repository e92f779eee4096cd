#pragma once

#include <cstdint>

// The phone HTTP library's result numbers, which the program's code space uses for
// transport failures, and the translation of libcurl's results into them.
namespace net {

inline constexpr uint32_t kHttpErrOutOfHandles = 12001;
inline constexpr uint32_t kHttpErrTimeout = 12002;
inline constexpr uint32_t kHttpErrInternal = 12004;
inline constexpr uint32_t kHttpErrInvalidUrl = 12005;
inline constexpr uint32_t kHttpErrNameNotResolved = 12007;
inline constexpr uint32_t kHttpErrCannotConnect = 12029;
inline constexpr uint32_t kHttpErrConnectionAborted = 12030;
inline constexpr uint32_t kHttpErrConnectionReset = 12031;
inline constexpr uint32_t kHttpErrInvalidCa = 12045;
inline constexpr uint32_t kHttpErrInvalidServerResponse = 12152;
inline constexpr uint32_t kHttpErrSecureChannel = 12157;

// The result of an answer that has no answer stream.
inline constexpr uint32_t kResultNoAnswer = 65535;

// A code of the HTTP library's own range: the service could not be reached or
// the transfer broke off (not a cancel, not a local failure).
inline bool IsHttpLibraryError(uint32_t code) { return code > 12000 && code < 13000; }

// Translates a libcurl result (CURLcode) into the numbers above; 0 stays 0.
uint32_t HttpErrorFromCurl(int curlCode);

}  // namespace net
