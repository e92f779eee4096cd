#!/bin/sh
# Regenerates the seed corpus of the JPEG fuzz target (tests/fuzz/corpus/jpeg/).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
c++ -std=c++20 -O1 -o "$tmp/make_jpeg_corpus" "$here/make_jpeg_corpus.cpp" -ljpeg
mkdir -p "$here/corpus/jpeg"
"$tmp/make_jpeg_corpus" "$here/corpus/jpeg"
