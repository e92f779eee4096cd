#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace server {

// Builds one SOAP 1.1 answer: the envelope with <OPResponse><OPResult> around the
// elements the operation adds, in the order it adds them. Clients scan answers
// forward, so the writer adds nothing of its own inside the result.
class AnswerWriter {
 public:
  AnswerWriter(std::string_view operation, std::string_view host);

  AnswerWriter& Open(std::string_view name);
  // A list child carrying its deletion mark: <name D="true"> or <name D="false">.
  AnswerWriter& OpenChild(std::string_view name, bool deleted);
  AnswerWriter& Close(std::string_view name);
  AnswerWriter& Text(std::string_view name, std::string_view text);
  AnswerWriter& Number(std::string_view name, int64_t value);
  // Closes the result and the envelope and answers the whole text.
  std::string Finish();

  // A complete answer carrying the message of a code in <MS>.
  static std::string Error(std::string_view operation, std::string_view host, int code);
  // Appends text with "&", "<", ">" and CR as entities. Nothing else is escaped:
  // clients keep a fixed number of raw bytes per element, so every entity costs room.
  static void AppendEscaped(std::string& out, std::string_view text);

 private:
  std::string operation_;
  std::string out_;
};

}  // namespace server
