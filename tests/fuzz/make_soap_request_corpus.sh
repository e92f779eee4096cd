#!/usr/bin/env bash
# Writes the seed corpus of the soap_request fuzz target: a SOAPAction line, then a
# request body for each operation ("%AU%" becomes a valid authentication block,
# "%JP%" a small JPEG in base64).
set -euo pipefail
out="$(dirname "$0")/corpus/soap_request"
mkdir -p "$out"
env_open='<?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body>'
env_close='</soap:Body></soap:Envelope>'
seed() {  # name op inner
  printf '"http://fuzz.example/ws/%s"\n%s<%s xmlns="http://fuzz.example/ws"><RQ><%s><RQ><V>3</V>%s</RQ></%s></RQ></%s>%s\r\n' \
    "$2" "$env_open" "$2" "$2" "$3" "$2" "$2" "$env_close" > "$out/$1"
}
seed gu       GU '%AU%'
seed eu       EU '%AU%<EU><SL><SU>blog</SU><SU>hidden</SU><SU>none</SU></SL></EU>'
seed gc_full  GC '%AU%<BI>blog</BI><TS /><VP /><MX>25</MX>'
seed gc_ts    GC '%AU%<BI>blog</BI><TS>2020-01-01T00:00:00Z</TS><VP /><MX />'
seed gc_vp    GC '%AU%<BI>hidden</BI><TS /><VP><DI>AAAA</DI><CR>2020-01-01T00:00:00Z</CR><NO>x</NO></VP><MX />'
seed eb       EB '%AU%<BI>blog</BI><BL><BT>T &amp; t</BT><ST>s</ST><VI>normal</VI></BL>'
seed ac       AC '%AU%<BI>blog</BI><CA><NM>Cat</NM></CA>'
seed ec       EC '%AU%<BI>blog</BI><CA><CI>1</CI><NM>Cat2</NM></CA>'
seed dc       DC '%AU%<BI>blog</BI><CA><CI>1</CI></CA>'
seed ap       AP "%AU%<BI>blog</BI><PI><CI>0</CI><TI>t</TI><CP>c</CP><PD>2026-03-01T10:00:00+0100</PD><TD>2026-03-01T10:00:00+0100</TD><JP>%JP%</JP></PI>"
seed ep       EP '%AU%<BI>blog</BI><PI><ID>1</ID><CI>0</CI><TI>t2</TI><CP>c</CP><PD>2026-03-01T10:00:00Z</PD><TD>2026-03-01T10:00:00Z</TD></PI>'
seed dp       DP '%AU%<BI>blog</BI><PI><ID>1</ID></PI>'
seed ao       AO '%AU%<BI>blog</BI><OM><ID>1</ID><OD>2026-03-02T08:00:00Z</OD><OT>hi</OT></OM>'
seed eo       EO '%AU%<BI>blog</BI><OM><OI>1</OI><ID>1</ID><OD>2026-03-02T08:00:00Z</OD><OT>hi2</OT></OM>'
seed dco      DCO '%AU%<BI>blog</BI><OM><OI>1</OI></OM>'
seed mail     PhotoEMail '%AU%<BI>blog</BI><CI>0</CI><ID /><RS><RP>a@example.org</RP></RS><MG>m</MG>'
seed remote   RemoteBlog '%AU%<BI>blog</BI><CI>0</CI><ID /><RB>r</RB><TI>t</TI><CP>c</CP>'
seed account  CreateAccount '<EMail>a@example.org</EMail><Password>p</Password><FirstName>a</FirstName><LastName>b</LastName>'
seed newblog  CreateBlog '%AU%<BlogURL>blog</BlogURL><Title>t</Title><Subtitle>s</Subtitle><Visibility>hidden</Visibility>'
printf 'http://x/ws/GU\n<Envelope><Body><GU><RQ><GU><RQ><V>2</V></RQ></GU></RQ></GU></Body></Envelope>' > "$out/version"
printf '"http://x/ws/GU"\n<?xml version="1.0"?><!DOCTYPE a [<!ENTITY e "x">]><a>&e;</a>' > "$out/doctype"
