#!/usr/bin/env bash
# Makes the real-file fixtures of the tag reader tests: a fraction of a second of lame-encoded
# silence, tagged by eyeD3 and by mutagen, the taggers most rips of the last twenty years came
# through. Writes next to this script. Needs lame, eyed3 and python3-mutagen (scripts/setup.sh).
# The tests pin the values written here; change both together.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

head -c 4608 /dev/zero |
  lame --silent -r -s 44.1 -m m --bitwidth 16 -b 32 -t - "$work/silence.mp3"

eyed3() { eyeD3 --no-config --quiet "$@" >/dev/null; }

# ID3v1.1: only the 128-byte tag, with a track number.
cp "$work/silence.mp3" id3v11.mp3
eyed3 -1 -a "Artist One" -t "Title One" -A "Album One" -Y 1999 -n 7 -G Rock \
  --add-comment "Short comment" id3v11.mp3

# ID3v2.3 in UTF-16 with byte-order marks, a comment and a user link with descriptions.
cp "$work/silence.mp3" id3v23-utf16.mp3
eyed3 -2 --to-v2.3 --encoding utf16 -a "Zażółć Gęślą" -t "Jaźń ÿ Title" -A "Album Ünïcode" \
  -n 3 -N 12 --recording-date 2004 -G "Progressive Rock" --add-comment "Komentarz żółty:opis:pol" \
  --user-url-frame "home:http://example.org/ä" id3v23-utf16.mp3

# ID3v2.4 in UTF-8 with synchsafe frame sizes: mutagen writes the larger frames last, so the
# copyright frame follows a comment longer than 127 bytes and is itself longer, and a picture
# follows both; the copyright text is only whole when both sizes are read as synchsafe.
cp "$work/silence.mp3" id3v24-utf8.mp3
/usr/bin/python3 - id3v24-utf8.mp3 <<'PY'
import sys
from mutagen.id3 import ID3, APIC, COMM, TALB, TCON, TCOP, TDRC, TENC, TIT2, TPE1, TRCK
tags = ID3()
tags.add(COMM(encoding=3, lang="eng", desc="długi", text="Zażółć " * 15))
tags.add(APIC(encoding=3, mime="image/png", type=3, desc="okładka", data=bytes(range(256)) * 3))
tags.add(TIT2(encoding=3, text="Żółty tytuł"))
tags.add(TPE1(encoding=3, text="Wykonawca Ę"))
tags.add(TALB(encoding=3, text="Album 2004"))
tags.add(TRCK(encoding=3, text="5/10"))
tags.add(TDRC(encoding=3, text="2004-05-01"))
tags.add(TCON(encoding=3, text="Electronic"))
tags.add(TCOP(encoding=3, text="℗ 2004 Wytwórnia Dźwięku " * 10))
tags.add(TENC(encoding=3, text="mutagen"))
tags.save(sys.argv[1], v2_version=4, v1=0, padding=lambda info: 64)
PY

# APEv2 in front of an ID3v1 tag, with a value longer than the 250 bytes the reader keeps.
cp "$work/silence.mp3" apev2-id3v1.mp3
/usr/bin/python3 - apev2-id3v1.mp3 <<'PY'
import sys
from mutagen.apev2 import APEv2
tag = APEv2()
tag["Artist"] = "Zażółć Gęślą"
tag["Title"] = "Jaźń"
tag["Album"] = "APE Album"
tag["Year"] = "2011"
tag["Genre"] = "Jazz"
tag["Notes"] = "a" + "ż" * 150
tag.save(sys.argv[1])
PY
eyed3 -1 -a "ID3v1 Artist" -t "ID3v1 Title" apev2-id3v1.mp3
