// Arbitrary address-book text through the vCard reader: whatever it keeps must
// be what a photo mail can carry (addresses it can send to, names of bounded
// length), and reading the same text again must give the same contacts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ContactBook.h"
#include "platform/TextConversion.h"

using platform::Contact;
using platform::ContactBook;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<Contact> contacts = ContactBook::Parse(text);
  for (const Contact& contact : contacts) {
    if (contact.emails.empty() || contact.name.size() > ContactBook::kMaxName) std::abort();
    if (platform::Utf16ToUtf8(platform::Utf8ToUtf16(contact.name)) != contact.name) std::abort();
    for (const std::string& email : contact.emails) {
      if (email.size() > ContactBook::kMaxAddress || email.find('@') == std::string::npos) std::abort();
      if (email.find_first_of(" ,\t\r\n") != std::string::npos) std::abort();
    }
  }
  const std::vector<Contact> again = ContactBook::Parse(text);
  if (again.size() != contacts.size()) std::abort();
  for (size_t i = 0; i < again.size(); ++i) {
    if (again[i].name != contacts[i].name || again[i].emails != contacts[i].emails) std::abort();
  }
  return 0;
}
