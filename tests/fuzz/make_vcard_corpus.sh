#!/usr/bin/env bash
# Writes the seed corpus of the vcard fuzz target.
set -euo pipefail
dir="$(dirname "$0")/corpus/vcard"
mkdir -p "$dir"
card() { printf "$2" > "$dir/$1"; }
card v3_several 'BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\nitem1.EMAIL;type=INTERNET;type=pref:ann@work.example\r\nEMAIL;type=HOME:ann@home.example\r\nEND:VCARD\r\n'
card v4_folded 'BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Bj\xc3\r\n \xb6rn\r\n\tberg\r\nEMAIL;PREF=1:mailto:bjorn@example.org\r\nEND:VCARD\r\n'
card v21_qp 'BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen;;;\nFN;ENCODING=QUOTED-PRINTABLE;CHARSET=ISO-8859-1:Ren=E9e =\nDupont\nEMAIL;PREF;INTERNET:juergen@example.de\nEND:VCARD\n'
card nested 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Zoe\r\nAGENT:\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nEMAIL:agent@example.com\r\nEND:VCARD\r\nEMAIL:zoe@example.com\r\nX-A;P="a:b";Q=:v\r\nEND:VCARD\r\n'
card no_email 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nobody\r\nTEL:555\r\nEND:VCARD\r\n'
card cut 'BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Cut\r\nEMAIL:cut@example.com\r\nEMAIL;ENCODING=QUOTED-PRINTABLE:=4'
card empty ''
