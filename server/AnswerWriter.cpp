#include "server/AnswerWriter.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <charconv>

#include "server/ServiceMessages.h"

namespace server {

AnswerWriter::AnswerWriter(std::string_view operation, std::string_view host) : operation_(operation) {
  out_.reserve(1024);
  out_ +=
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
      "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">"
      "<soap:Body><";
  out_ += operation_;
  out_ += "Response xmlns=\"http://";
  AppendEscaped(out_, host);
  out_ += "/ws\"><";
  out_ += operation_;
  out_ += "Result>";
}

AnswerWriter& AnswerWriter::Open(std::string_view name) {
  out_ += '<';
  out_ += name;
  out_ += '>';
  return *this;
}

AnswerWriter& AnswerWriter::OpenChild(std::string_view name, bool deleted) {
  out_ += '<';
  out_ += name;
  out_ += deleted ? " D=\"true\">" : " D=\"false\">";
  return *this;
}

AnswerWriter& AnswerWriter::Close(std::string_view name) {
  out_ += "</";
  out_ += name;
  out_ += '>';
  return *this;
}

AnswerWriter& AnswerWriter::Text(std::string_view name, std::string_view text) {
  Open(name);
  AppendEscaped(out_, text);
  return Close(name);
}

AnswerWriter& AnswerWriter::Number(std::string_view name, int64_t value) {
  Open(name);
  char digits[24];
  const auto written = std::to_chars(digits, digits + sizeof digits, value);
  out_.append(digits, written.ptr);
  return Close(name);
}

std::string AnswerWriter::Finish() {
  out_ += "</";
  out_ += operation_;
  out_ += "Result></";
  out_ += operation_;
  out_ += "Response></soap:Body></soap:Envelope>";
  return std::move(out_);
}

std::string AnswerWriter::Error(std::string_view operation, std::string_view host, int code) {
  AnswerWriter writer(operation, host);
  writer.Text("MS", ServiceMessages::Text(code));
  return writer.Finish();
}

namespace {

bool NeedsEntity(char c) { return c == '&' || c == '<' || c == '>' || c == '\r'; }

// Where the next character that needs an entity is, from `from` on (the text's
// size when there is none); 16 characters at a time where SSE2 is there.
size_t NextEntity(std::string_view text, size_t from) {
#ifdef __SSE2__
  const __m128i amp = _mm_set1_epi8('&');
  const __m128i lt = _mm_set1_epi8('<');
  const __m128i gt = _mm_set1_epi8('>');
  const __m128i cr = _mm_set1_epi8('\r');
  for (; from + 16 <= text.size(); from += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from));
    const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, amp), _mm_cmpeq_epi8(v, lt)),
                                     _mm_or_si128(_mm_cmpeq_epi8(v, gt), _mm_cmpeq_epi8(v, cr)));
    const int found = _mm_movemask_epi8(hit);
    if (found != 0) return from + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
  }
#endif
  while (from < text.size() && !NeedsEntity(text[from])) ++from;
  return from;
}

}  // namespace

void AnswerWriter::AppendEscaped(std::string& out, std::string_view text) {
  // Runs of plain characters go in with one append each.
  size_t plain = 0;
  for (size_t at = NextEntity(text, 0); at < text.size(); at = NextEntity(text, plain)) {
    out.append(text.data() + plain, at - plain);
    const char c = text[at];
    out.append(c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&#xD;");
    plain = at + 1;
  }
  out.append(text.data() + plain, text.size() - plain);
}

}  // namespace server
