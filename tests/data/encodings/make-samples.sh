#!/bin/sh
# Makes the encoded samples from the UTF-8 texts in source/ with iconv.
# Each line of the table: source text, iconv encoding, optional byte-order mark (hex).
set -e
cd "$(dirname "$0")"
rm -f samples/*
mkdir -p samples
while read -r text encoding mark; do
    [ -z "$text" ] && continue
    out="samples/$text.$encoding${mark:+-bom}.srt"
    if [ -n "$mark" ]; then printf "$mark" >"$out"; else : >"$out"; fi
    iconv -f UTF-8 -t "$encoding" "source/$text.srt" >>"$out"
done <<'TABLE'
french UTF-8
french UTF-8 \357\273\277
french UTF-16LE \377\376
french UTF-16BE \376\377
french WINDOWS-1252
french ISO-8859-1
german WINDOWS-1252
german ISO-8859-15
polish WINDOWS-1250
polish ISO-8859-2
turkish WINDOWS-1254
turkish ISO-8859-9
russian WINDOWS-1251
russian KOI8-R
russian ISO-8859-5
russian IBM866
russian UTF-16BE \376\377
ukrainian WINDOWS-1251
ukrainian KOI8-U
greek ISO-8859-7
greek WINDOWS-1253
hebrew WINDOWS-1255
hebrew ISO-8859-8
arabic WINDOWS-1256
arabic ISO-8859-6
thai TIS-620
japanese SHIFT_JIS
japanese EUC-JP
japanese ISO-2022-JP
japanese UTF-16LE \377\376
chinese GB18030
chinese GB2312
chinese-traditional BIG5
korean EUC-KR
TABLE
