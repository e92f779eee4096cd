#!/usr/bin/env bash
# Writes the seed corpora of the cli_dump and cli_args fuzz targets: a few files of
# the archive corpus (make_archive_corpus.py) and one with a name that is not
# UTF-8; command lines of one argument a line.
set -euo pipefail
dir="$(dirname "$0")/corpus"
mkdir -p "$dir/cli_dump" "$dir/cli_args"
for f in db_full db_truncated user_v1; do cp "$dir/archive/$f" "$dir/cli_dump/$f"; done
# A user file (version 1) whose e-mail is the bytes C3 28.
printf '\x01\x00\x00\x00\x07\x00\x00\x00\x02\xc3\x28\x02pw\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  > "$dir/cli_dump/user_bad_utf8"
args() { printf '%b' "$2" > "$dir/cli_args/$1"; }
args add 'add\ntrips\nphoto.jpg\n--title\nA & B\n--category\nunfiled'
args sync '--yes\nsync\ntrips\n--view-password\nx'
args subscribe 'subscribe\nfriend\n--download\nFull size\n--limit\n25'
args decode 'image\ndecode\nin.jpg\nout.png\n--target\n240x180'
args screen '--screen\n480x640@192\n--os-version\n4\nblogs'
args prefs 'prefs\nset\nMain View Font\n-12 Tahoma'
args bad 'delete\n#0\n--on-web\n--photo\n--nope'
