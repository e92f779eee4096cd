#include <gtest/gtest.h>

#include <fstream>

#include "platform/ContactBook.h"
#include "platform/ErrorCodes.h"
#include "tests/support/TempDeviceRoot.h"

using platform::Contact;
using platform::ContactBook;

namespace {

using Emails = std::vector<std::string>;

}  // namespace

TEST(ContactBook, ReadsTheCardsAddressBooksExport) {
  const std::string text =
      // vCard 3.0 with several addresses, a group prefix and the preferred one last.
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\n"
      "EMAIL;type=INTERNET;type=HOME:ann@home.example\r\n"
      "item1.EMAIL;type=INTERNET;type=pref:ann@work.example\r\n"
      "TEL;type=CELL:555 0100\r\nEND:VCARD\r\n"
      // vCard 4.0: a name folded inside a UTF-8 character, a mailto address.
      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Bj\xC3\r\n \xB6rn \xC3\x85\r\n\tberg\r\n"
      "EMAIL;PREF=1:mailto:bjorn@example.org\r\nEND:VCARD\r\n"
      // vCard 2.1: quoted-printable UTF-8 in N, bare parameters, LF line ends.
      "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\n"
      "EMAIL;INTERNET:juergen@example.de\nEND:VCARD\n"
      // A quoted-printable Latin-1 name over a soft line break, an escaped comma.
      "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Ren=E9e =\r\nDupont\\, Jr.\r\n"
      "EMAIL;PREF;INTERNET:renee@example.fr\r\nEND:VCARD\r\n";
  const std::vector<Contact> contacts = ContactBook::Parse(text);
  ASSERT_EQ(contacts.size(), 4u);
  EXPECT_EQ(contacts[0].name, "Ann Lee");
  EXPECT_EQ(contacts[0].emails, (Emails{"ann@work.example", "ann@home.example"}));
  EXPECT_EQ(contacts[1].name, "Bj\xC3\xB6rn \xC3\x85"
                              "berg");
  EXPECT_EQ(contacts[1].emails, Emails{"bjorn@example.org"});
  EXPECT_EQ(contacts[2].name, "J\xC3\xBCrgen M\xC3\xBCller");
  EXPECT_EQ(contacts[2].emails, Emails{"juergen@example.de"});
  EXPECT_EQ(contacts[3].name, "Ren\xC3\xA9" "e Dupont, Jr.");
  EXPECT_EQ(contacts[3].emails, Emails{"renee@example.fr"});
}

TEST(ContactBook, LeavesOutWhatItCannotUse) {
  const std::string text =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:No Mail\r\nTEL:555\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nFN:No Version\r\nEMAIL:nov@example.com\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:9.9\r\nFN:Future\r\nEMAIL:future@example.com\r\nEND:VCARD\r\n"
      // Unusable addresses and a repeat are dropped; an agent's card is not a contact.
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zoe\r\nEMAIL:no-at-sign\r\nEMAIL:two words@example.com\r\n"
      "EMAIL:a,b@example.com\r\nEMAIL:" +
      std::string(60, 'x') +
      "@long.example\r\nEMAIL;ENCODING=b:em9lQGV4YW1wbGUuY29t\r\n"
      "AGENT:\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Agent\r\nEMAIL:agent@example.com\r\nEND:VCARD\r\n"
      "EMAIL: zoe@example.com \r\nEMAIL:ZOE@example.com\r\nunknown line without colon\r\n"
      "X-CUSTOM;X-PARAM=\"a:b\":value\r\nEND:VCARD\r\n"
      // Nameless: listed by its address. The last card never ends.
      "BEGIN:VCARD\r\nVERSION:4.0\r\nEMAIL:anon@example.com\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Cut\r\nEMAIL:cut@example.com\r\n";
  const std::vector<Contact> contacts = ContactBook::Parse(text);
  ASSERT_EQ(contacts.size(), 2u);
  EXPECT_EQ(contacts[0].name, "");
  EXPECT_EQ(contacts[0].emails, Emails{"anon@example.com"});
  EXPECT_EQ(contacts[1].name, "Zoe");
  EXPECT_EQ(contacts[1].emails, Emails{"zoe@example.com"});
  EXPECT_TRUE(ContactBook::Parse("").empty());
  EXPECT_TRUE(ContactBook::Parse("END:VCARD\r\nBEGIN:VCARD").empty());
}

TEST(ContactBook, ReadsTheDevicesFileAndFindsPeopleByName) {
  testsupport::TempDeviceRoot root;
  std::vector<Contact> contacts{{"stale", {}}};
  EXPECT_EQ(ContactBook::Read(ContactBook::DefaultPath(), contacts), platform::kErrFileNotFound);
  EXPECT_TRUE(contacts.empty());
  std::ofstream(root.Host("\\My Documents\\Contacts.vcf"), std::ios::binary)
      << "BEGIN:VCARD\nVERSION:3.0\nFN:Ann Lee\nEMAIL:ann@example.com\nEMAIL:lee@example.com\nEND:VCARD\n";
  ASSERT_EQ(ContactBook::Read("\\my documents\\contacts.VCF", contacts), 0u);
  ASSERT_EQ(contacts.size(), 1u);
  const Contact* ann = ContactBook::Find(contacts, "ann LEE");
  ASSERT_NE(ann, nullptr);
  EXPECT_EQ(ann->emails.front(), "ann@example.com");
  EXPECT_EQ(ContactBook::Find(contacts, "Ann"), nullptr);
}
