#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A person of the address book and the e-mail addresses on their card.
struct Contact {
  std::string name;  // UTF-8; empty when the card has none
  std::vector<std::string> emails;
};

// The phone's contacts: a vCard file in the device as address books export them
// (vCard 2.1, 3.0 and 4.0). A small strict reader: a card counts only between
// BEGIN:VCARD and END:VCARD with a VERSION it knows; of a card it reads the name
// (FN, else N) and the e-mail addresses (EMAIL), folded lines, quoted-printable
// values, CHARSET and the text escapes included; everything else is ignored.
// Only addresses the service can send to are kept (preferred ones first), and
// only people with one.
class ContactBook {
 public:
  // Bigger files are refused (they are not address books).
  static constexpr uint64_t kMaxFileBytes = 8u << 20;
  // The longest recipient address a photo mail carries.
  static constexpr size_t kMaxAddress = 63;
  static constexpr size_t kMaxName = 255;

  // "\My Documents\Contacts.vcf".
  static std::string DefaultPath();
  // Reads the contacts of the file at a phone path, sorted by name: 0, or the
  // system code (2 when there is no such file, 13 when it is too big).
  static uint32_t Read(std::string_view phonePath, std::vector<Contact>& out);
  // The contacts of vCard text, sorted by name.
  static std::vector<Contact> Parse(std::string_view text);
  // The contact named `name` (letter case ignored), or null.
  static const Contact* Find(const std::vector<Contact>& contacts, std::string_view name);
};

}  // namespace platform
