#include "platform/ContactBook.h"

#include <algorithm>
#include <memory>

#include "platform/DeviceFileSystem.h"
#include "platform/ErrorCodes.h"
#include "platform/TextConversion.h"

namespace platform {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameNoCase(text.substr(0, prefix.size()), prefix);
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (SameNoCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Lower(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// "=XX" sequences; anything else, a broken sequence included, stays as it is.
std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '=' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out.push_back(static_cast<char>(high << 4 | low));
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

bool IsUtf8(std::string_view text) { return Utf16ToUtf8(Utf8ToUtf16(text)) == text; }

std::string Latin1ToUtf8(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char c : text) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return Utf16ToUtf8(wide);
}

// A property line: its name (group removed, upper case), parameters and value.
struct Property {
  std::string name;
  bool quotedPrintable = false;
  bool binary = false;
  bool preferred = false;
  std::string charset;
  std::string_view value;
};

void ReadParameter(std::string_view param, Property& p) {
  const size_t equals = param.find('=');
  const std::string_view key = Trim(equals == std::string_view::npos ? std::string_view() : param.substr(0, equals));
  std::string_view values = equals == std::string_view::npos ? param : param.substr(equals + 1);
  if (SameNoCase(key, "CHARSET")) {
    p.charset = std::string(Trim(values));
    return;
  }
  if (SameNoCase(key, "PREF")) {
    p.preferred = true;
    return;
  }
  // A list of values ("TYPE=INTERNET,PREF"), or one bare value as vCard 2.1 writes them.
  while (!values.empty()) {
    const size_t comma = values.find(',');
    std::string_view value = Trim(values.substr(0, comma));
    if (!value.empty() && value.front() == '"' && value.back() == '"' && value.size() >= 2) {
      value = value.substr(1, value.size() - 2);
    }
    if (SameNoCase(value, "QUOTED-PRINTABLE")) p.quotedPrintable = true;
    if (SameNoCase(value, "B") || SameNoCase(value, "BASE64")) p.binary = true;
    if (SameNoCase(value, "PREF")) p.preferred = true;
    if (comma == std::string_view::npos) break;
    values.remove_prefix(comma + 1);
  }
}

// Splits "group.NAME;param;...:value"; false for a line that is not a property.
bool ReadProperty(std::string_view line, Property& p) {
  size_t colon = std::string_view::npos;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  if (colon == std::string_view::npos) return false;
  std::string_view head = line.substr(0, colon);
  p.value = line.substr(colon + 1);
  const size_t semicolon = head.find(';');
  std::string_view name = Trim(head.substr(0, semicolon));
  if (const size_t dot = name.rfind('.'); dot != std::string_view::npos) name.remove_prefix(dot + 1);
  if (name.empty()) return false;
  p.name.clear();
  for (char c : name) p.name.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
  if (semicolon == std::string_view::npos) return true;
  std::string_view params = head.substr(semicolon + 1);
  while (true) {
    const size_t next = params.find(';');
    ReadParameter(params.substr(0, next), p);
    if (next == std::string_view::npos) break;
    params.remove_prefix(next + 1);
  }
  return true;
}

// The property's value as UTF-8 text, before the text escapes are undone.
std::string RawText(const Property& p) {
  std::string text = p.quotedPrintable ? DecodeQuotedPrintable(p.value) : std::string(p.value);
  const bool latin1 = SameNoCase(p.charset, "ISO-8859-1") || SameNoCase(p.charset, "LATIN1") ||
                      SameNoCase(p.charset, "WINDOWS-1252");
  if (latin1 || !IsUtf8(text)) return Latin1ToUtf8(text);
  return text;
}

// The components of a structured value, split at unescaped ";", each unescaped.
std::vector<std::string> Components(std::string_view text) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      const char next = text[++i];
      parts.back().push_back(next == 'n' || next == 'N' ? ' ' : next);
    } else if (c == ';') {
      parts.emplace_back();
    } else {
      parts.back().push_back(c == ',' ? ' ' : c);
    }
  }
  return parts;
}

// Blanks and control characters become single spaces; the text is trimmed and
// cut to `limit` bytes on a character boundary.
std::string CleanName(std::string_view text) {
  std::string out;
  for (char c : text) {
    const bool blank = static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == ' ';
    if (blank) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (out.size() > ContactBook::kMaxName) {
    size_t cut = ContactBook::kMaxName;
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
    out.resize(cut);
  }
  return out;
}

std::string NameFromN(std::string_view text) {
  const std::vector<std::string> parts = Components(text);
  // Family; Given; Additional; Prefixes; Suffixes.
  static constexpr size_t kOrder[] = {3, 1, 2, 0, 4};
  std::string name;
  for (size_t index : kOrder) {
    if (index >= parts.size()) continue;
    const std::string part = CleanName(parts[index]);
    if (part.empty()) continue;
    if (!name.empty()) name.push_back(' ');
    name += part;
  }
  return name;
}

// An address the service can mail: one "@" inside, no blanks or separators.
bool IsSendable(std::string_view address) {
  if (address.size() < 3 || address.size() > ContactBook::kMaxAddress) return false;
  const size_t at = address.find('@');
  if (at == 0 || at == std::string_view::npos || at + 1 == address.size() ||
      address.find('@', at + 1) != std::string_view::npos) {
    return false;
  }
  for (char c : address) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == ',' || c == ';' || c == '<' || c == '>' ||
        c == '"' || c == '\\') {
      return false;
    }
  }
  return true;
}

class CardReader {
 public:
  void Line(std::string_view line) {
    Property p;
    if (!ReadProperty(line, p)) return;
    if (p.name == "BEGIN") {
      if (SameNoCase(Trim(p.value), "VCARD") && depth_++ == 0) card_ = Card{};
      return;
    }
    if (depth_ == 0) return;
    if (p.name == "END") {
      if (SameNoCase(Trim(p.value), "VCARD") && --depth_ == 0) Finish();
      return;
    }
    // Cards inside a card (an agent's) are not contacts of their own.
    if (depth_ != 1 || p.binary) return;
    if (p.name == "VERSION") {
      const std::string_view version = Trim(p.value);
      card_.known = version == "2.1" || version == "3.0" || version == "4.0";
    } else if (p.name == "FN") {
      card_.formatted = CleanName(Components(RawText(p)).front());
    } else if (p.name == "N") {
      card_.structured = NameFromN(RawText(p));
    } else if (p.name == "EMAIL") {
      std::string address(Trim(RawText(p)));
      if (StartsNoCase(address, "mailto:")) address.erase(0, 7);
      if (!IsSendable(address)) return;
      for (const std::string& known : card_.emails) {
        if (SameNoCase(known, address)) return;
      }
      card_.emails.insert(p.preferred ? card_.emails.begin() + static_cast<long>(card_.preferred++)
                                      : card_.emails.end(),
                          std::move(address));
    }
  }

  std::vector<Contact> Take() { return std::move(contacts_); }

 private:
  struct Card {
    bool known = false;
    std::string formatted;
    std::string structured;
    std::vector<std::string> emails;
    size_t preferred = 0;
  };

  void Finish() {
    if (!card_.known || card_.emails.empty()) return;
    Contact contact;
    contact.name = !card_.formatted.empty() ? std::move(card_.formatted) : std::move(card_.structured);
    contact.emails = std::move(card_.emails);
    contacts_.push_back(std::move(contact));
  }

  int depth_ = 0;
  Card card_;
  std::vector<Contact> contacts_;
};

std::string SortKey(const Contact& c) {
  std::string key = c.name.empty() ? c.emails.front() : c.name;
  std::transform(key.begin(), key.end(), key.begin(), Lower);
  return key;
}

}  // namespace

std::string ContactBook::DefaultPath() { return JoinPhonePath(DeviceFileSystem::MyDocuments(), "Contacts.vcf"); }

uint32_t ContactBook::Read(std::string_view phonePath, std::vector<Contact>& out) {
  out.clear();
  std::unique_ptr<File> file;
  if (uint32_t rc = DeviceFileSystem::Current().OpenFile(phonePath, OpenMode::Read, file); rc != kSuccess) return rc;
  uint64_t size = 0;
  if (uint32_t rc = file->Size(size); rc != kSuccess) return rc;
  if (size > kMaxFileBytes) return kErrInvalidData;
  std::string text(static_cast<size_t>(size), '\0');
  uint32_t got = 0;
  if (uint32_t rc = file->Read(text.data(), static_cast<uint32_t>(text.size()), got); rc != kSuccess) return rc;
  text.resize(got);
  out = Parse(text);
  return kSuccess;
}

std::vector<Contact> ContactBook::Parse(std::string_view text) {
  CardReader reader;
  // One property line at a time, its folded continuations joined to it.
  std::string logical;
  size_t colon = std::string::npos;
  bool quotedPrintable = false;
  bool open = false;
  auto append = [&](std::string_view part) {
    const size_t from = logical.size();
    logical += part;
    if (colon != std::string::npos) return;
    colon = logical.find(':', from);
    if (colon != std::string::npos) {
      quotedPrintable = ContainsNoCase(std::string_view(logical).substr(0, colon), "QUOTED-PRINTABLE");
    }
  };
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // A quoted-printable value ending in "=" goes on at the start of the next line.
    const bool softBreak = open && quotedPrintable && logical.size() > colon + 1 && logical.back() == '=';
    if (softBreak) {
      logical.pop_back();
      append(line);
    } else if (open && !line.empty() && (line.front() == ' ' || line.front() == '\t')) {
      append(line.substr(1));
    } else {
      if (open) reader.Line(logical);
      logical.clear();
      colon = std::string::npos;
      quotedPrintable = false;
      append(line);
      open = !line.empty();
    }
  }
  if (open) reader.Line(logical);
  std::vector<Contact> contacts = reader.Take();
  std::stable_sort(contacts.begin(), contacts.end(),
                   [](const Contact& a, const Contact& b) { return SortKey(a) < SortKey(b); });
  return contacts;
}

const Contact* ContactBook::Find(const std::vector<Contact>& contacts, std::string_view name) {
  for (const Contact& contact : contacts) {
    if (!contact.name.empty() && SameNoCase(contact.name, name)) return &contact;
  }
  return nullptr;
}

}  // namespace platform
