#include "server/AnswerWriter.h"

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
  out_ += std::to_string(value);
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

void AnswerWriter::AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '\r': out += "&#xD;"; break;
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
}

}  // namespace server
