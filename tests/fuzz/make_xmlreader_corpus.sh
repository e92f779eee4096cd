#!/usr/bin/env bash
# Writes the seed corpus of the xmlreader fuzz target: answer fragments behind a
# first byte that selects the walk (0 list walk, 1 attributes, 2 list items, 3 round trip).
set -euo pipefail
out="$(dirname "$0")/corpus/xmlreader"
mkdir -p "$out"
seed() { printf "$2" > "$out/$1"; }
seed list      '\x00<PS><PI><TI>A &amp;lt; title</TI><ID>12</ID></PI><PI ><TI/></PI></PS>'
seed list_cut  '\x3c<PS><PI><TI>unfinished &am'
seed empty     '\x00<PS></PS><PI><TI>x</TI></PI>'
seed attrs     '\x01<BY name="J&amp;K" x="2" y="'
seed items     '\x02a@x.org, b@y.org,,c@z.org\td@w.org ,'
seed escape    '\x03tab\there <&>"'"'"' caf\xc3\xa9 &amp;lt; \r\n'
