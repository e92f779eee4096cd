#!/usr/bin/env bash
# Writes the seed corpus of the serviceanswer fuzz target: HTTP answers behind a
# first byte whose bit 0 asks for a full download and bit 1 for a group blog.
set -euo pipefail
out="$(dirname "$0")/corpus/serviceanswer"
mkdir -p "$out"
seed() { printf '%b' "$2" > "$out/$1"; }
head='HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n\r\n'
seed changes "\x01${head}<GCResponse><TS>2026-05-06T07:08:09Z</TS><BS><BL><BT>T &amp; J</BT><TP>group</TP><VI>hidden</VI><WA>yes</WA><CM>yes</CM><BO>3</BO></BL></BS><CS><CA D=\"false\"><CI>1</CI><NM>c1</NM><UR>u</UR></CA><CA><CI>9</CI><NM>trips</NM></CA><CA D=\"true\"><CI>2</CI><NM>x</NM></CA></CS><PS><PI><CI>1</CI><UI>4</UI><ID>2</ID><TI>t</TI><CP>c&#xA;</CP><BY>b</BY><OU>http://h/2.jpg</OU><PD>2026-01-01T00:00:00+0100</PD><TD>2026-01-01T00:00:00Z</TD></PI><PI D=\"t\"><ID>4</ID></PI><PI><CI>9</CI><ID>7</ID><TI>beach</TI></PI></PS><OS><OM><OI>1</OI><ID>1</ID><OT>hi</OT></OM><OM><OI>8</OI><ID>2</ID><OD>2026-01-02T00:00:00Z</OD><OT>new</OT></OM></OS></GCResponse>"
seed error   "\x02HTTP/1.1 100 Continue\r\n\r\n${head}<X><MS>Error: Your Picture limit is over</MS></X>"
seed status  "\x00HTTP/1.0 503 Busy\r\n\r\n<MS>"
seed cut     "\x03${head}<PS><PI D=\"t><ID>6</ID><TI>unfinished &am"
seed garbage "\x00not http at all"
