#!/usr/bin/env bash
# Writes the seed corpora of the registry_hive and phone_path fuzz targets.
set -euo pipefail
dir="$(dirname "$0")/corpus"
mkdir -p "$dir/registry_hive" "$dir/phone_path"
hive() { printf '%s' "$2" > "$dir/registry_hive/$1"; }
hive prefs '{"format":1,"keys":[{"path":"Software\\Morvane\\Tessary\\Preferences","values":[{"name":"Download Photo Size","type":4,"data":"09000000"},{"name":"Currently Viewed Blog","type":1,"data":"68006900000000"},{"name":"Main View Font","type":3,"data":"f4ffffff"}]}]}'
hive odd_string '{"format":1,"keys":[{"path":"Software\\Morvane\\Tessary\\Preferences","values":[{"name":"Last Remote Blog","type":1,"data":"410042"},{"name":"Stay In Camera","type":4,"data":"01"}]}]}'
hive bad_hex '{"format":1,"keys":[{"path":"A","values":[{"name":"x","type":4,"data":"0g"}]}]}'
hive wrong_format '{"format":2,"keys":[]}'
hive truncated '{"format":1,"keys":[{"path":"A","val'
hive empty ''
path() { printf "$2" > "$dir/phone_path/$1"; }
path plain '\\My Documents\\My Pictures\\IMG_0001.jpg'
path card '\\storage card\\DCIM\\..\\x'
path card_back '\\Storage Card\\back\\Temp'
path escape_link '\\Temp\\out\\file'
path dangling '\\DANGLING'
path up_link '\\My Documents\\up\\etc'
path mixed_slashes '\\Temp/./x//y'
path unrooted 'Temp\\x'
path bad_utf8 '\\Temp\\\xc3\x28\xed\xa0\x80'
