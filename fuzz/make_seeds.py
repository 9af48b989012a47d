#!/usr/bin/env python3
"""Writes the byte-built seeds of the fuzz corpora and copies the tiny real fixtures beside them.

Each seed is small and reaches one branch of a parser that the real files do not: old and new
header layouts, every tag version, each text encoding, Lyrics3, Xing and VBRI, BOM forms.
Run from anywhere; it rewrites fuzz/corpus/<target>/seed-*. The other files there (named by their
hash) are inputs that long fuzzing runs found, chosen with -merge=1 for the coverage they add.
"""
import pathlib
import shutil
import struct

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"


def be32(v):
    return struct.pack(">I", v)


def le16(v):
    return struct.pack("<H", v)


def le32(v):
    return struct.pack("<I", v)


def syncsafe(v):
    return bytes([(v >> 21) & 0x7F, (v >> 14) & 0x7F, (v >> 7) & 0x7F, v & 0x7F])


def id3v1(title=b"Title", artist=b"Artist", album=b"Album", track=None, genre=17):
    comment = b"Comment".ljust(30, b"\0")
    if track is not None:
        comment = comment[:28] + b"\0" + bytes([track])
    return (b"TAG" + title.ljust(30, b"\0") + artist.ljust(30, b"\0") + album.ljust(30, b"\0") +
            b"1999" + comment + bytes([genre]))


def lyrics3(fields):
    body = b"IND0000210" + b"".join(f + b"%05d" % len(v) + v for f, v in fields)
    block = b"LYRICSBEGIN" + body
    return block + b"%06d" % len(block) + b"LYRICS200"


def id3v2_frames(version, frames):
    out = b""
    for fid, payload in frames:
        if version == 2:
            out += fid[:3] + struct.pack(">I", len(payload))[1:] + payload
        elif version == 3:
            out += fid + be32(len(payload)) + b"\0\0" + payload
        else:
            out += fid + syncsafe(len(payload)) + b"\0\0" + payload
    return out


def id3v2(version, frames, flags=0, padding=16, extended=b""):
    body = extended + id3v2_frames(version, frames) + b"\0" * padding
    return b"ID3" + bytes([version, 0, flags]) + syncsafe(len(body)) + body


TEXT_FRAMES = [
    (b"TIT2", b"\0Title"), (b"TPE1", b"\x01\xff\xfeA\0r\0t\0"), (b"TALB", b"\x03Album \xc5\x82"),
    (b"TRCK", b"\x003/12"), (b"TYER", b"\x001999"), (b"TCON", b"\x00(17)Rock"),
    (b"COMM", b"\x00eng\0A comment"), (b"TCOM", b"\x02\0C\0o"), (b"TENC", b"\0LAME"),
    (b"WXXX", b"\0\0http://x"), (b"TCOP", b"\0(C)"), (b"TLAN", b"\0pol"), (b"TSIZ", b"\x001234"),
]
V22_FRAMES = [(b"TT2", b"\0Title"), (b"TP1", b"\0Artist"), (b"TAL", b"\0Album"),
              (b"TRK", b"\x001"), (b"COM", b"\0eng\0note"), (b"TCO", b"\0(9)")]


def ape_tag(version, items, header=True):
    body = b"".join(le32(len(v)) + le32(0) + k + b"\0" + v for k, v in items)
    size = len(body) + 32
    flags = 0x80000000 if header else 0

    def block(extra):
        return b"APETAGEX" + le32(version) + le32(size) + le32(len(items)) + le32(flags | extra) + b"\0" * 8

    return (block(0x20000000) if header else b"") + body + block(0)


APE_ITEMS = [(b"Title", b"Title"), (b"Artist", b"Artist"), (b"Album", b"Album"), (b"Track", b"2"),
             (b"Year", b"2001"), (b"Genre", b"Rock"), (b"Comment", b"note")]


def mpeg_frame(bitrate_index=9, padding=0, body=b""):
    header = bytes([0xFF, 0xFB, (bitrate_index << 4) | (0 << 2) | (padding << 1), 0x44])
    length = 144 * [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320][bitrate_index] * 1000 // 44100 + padding
    return (header + body).ljust(length, b"\0")


def xing_frame(frames, size):
    return mpeg_frame(9, 0, b"\0" * 32 + b"Xing" + be32(3) + be32(frames) + be32(size) + b"LAME3.99r")


def vbri_frame(frames, size):
    return mpeg_frame(9, 0, b"\0" * 32 + b"VBRI" + b"\0\x01\0\0\0\x50" + be32(size) + be32(frames))


def musepack_v7(marker=b"MP+\x07", frames=40, byte10=0x92, byte11=0x40, encoder=116):
    header = bytearray(32)
    header[0:4] = marker
    header[4:8] = le32(frames)
    header[10] = byte10
    header[11] = byte11
    header[27] = encoder
    return bytes(header)


def musepack_old(version_code, frames=40, bitrate=192):
    word0 = (bitrate << 23) | (version_code << 11)
    return le32(word0) + le32(frames << 16 if version_code == 4 else frames) + b"\0" * 24


def monkey_new(version=3990):
    descriptor = b"MAC " + le16(version) + le16(0) + le32(52) + le32(24) + b"\0" * 36
    header = (le16(2000) + le16(0) + le32(73728) + le32(100) + le32(3) + le16(16) + le16(2) +
              le32(44100))
    return descriptor + header + b"\0" * 64


def monkey_old(version=3970, level=2000, flags=0):
    return (b"MAC " + le16(version) + le16(level) + le16(flags) + le16(2) + le32(44100) +
            le32(0) + le32(0) + le32(3) + le32(100) + b"\0" * 12 + b"RIFF" + b"\0" * 40)


def flac(blocks):
    out = b"fLaC"
    for i, (kind, body) in enumerate(blocks):
        last = 0x80 if i == len(blocks) - 1 else 0
        out += bytes([last | kind]) + struct.pack(">I", len(body))[1:] + body
    return out


def streaminfo(rate=44100, channels=2, bits=16, samples=44100 * 3):
    packed = (rate << 44) | ((channels - 1) << 41) | ((bits - 1) << 36) | samples
    return be32(4096 << 16 | 4096) + b"\0" * 6 + packed.to_bytes(8, "big") + b"\x11" * 16


def vorbis(vendor, comments):
    out = le32(len(vendor)) + vendor + le32(len(comments))
    for c in comments:
        out += le32(len(c)) + c
    return out


def picture():
    mime, desc, data = b"image/png", b"front", b"\x89PNG\r\n\x1a\n"
    return (be32(3) + be32(len(mime)) + mime + be32(len(desc)) + desc + be32(1) + be32(1) +
            be32(24) + be32(0) + be32(len(data)) + data)


COMMENTS = [b"TITLE=Title", b"ARTIST=Artist", b"ALBUM=Album", b"TRACKNUMBER=1", b"DATE=2001",
            b"GENRE=Rock", b"COMMENT=x", b"OTHER=y"]

SEEDS = {
    "fuzz_id3v1": {
        "v10": b"\0" * 64 + id3v1(),
        "v11": b"\0" * 64 + id3v1(track=7, genre=200),
        "lyrics3": b"\0" * 32 + lyrics3([(b"LYR", b"la la\r\nla"), (b"AUT", b"Someone"),
                                         (b"EAL", b"Album"), (b"IMG", b"x.jpg||")]) + id3v1(),
    },
    "fuzz_id3v2": {
        "v22": id3v2(2, V22_FRAMES),
        "v23": id3v2(3, TEXT_FRAMES),
        "v23-extended": id3v2(3, TEXT_FRAMES[:3], flags=0x40, extended=be32(6) + b"\0" * 6),
        "v24-footer": id3v2(4, TEXT_FRAMES[:4], flags=0x10, padding=0) + b"3DI\x04\0\x10" + b"\0" * 4,
        "v24-unsync": id3v2(4, [(b"TIT2", b"\0\xff\0Ti")], flags=0x80),
    },
    "fuzz_apetag": {
        "v2000": b"\0" * 32 + ape_tag(2000, APE_ITEMS),
        "v1000": b"\0" * 32 + ape_tag(1000, APE_ITEMS[:3], header=False),
        "v2000-id3v1": b"\0" * 32 + ape_tag(2000, APE_ITEMS[:2]) + id3v1(),
    },
    "fuzz_mpegaudio": {
        "cbr": b"".join(mpeg_frame(9, i % 2) for i in range(6)),
        "xing": xing_frame(100, 41800) + b"".join(mpeg_frame(9) for _ in range(3)),
        "vbri": vbri_frame(100, 41800) + b"".join(mpeg_frame(9) for _ in range(3)),
        "id3-ape-tagged": id3v2(3, TEXT_FRAMES[:2]) + b"".join(mpeg_frame(9) for _ in range(3)) +
        ape_tag(2000, APE_ITEMS[:2]) + id3v1(),
    },
    "fuzz_musepack": {
        "sv7": musepack_v7() + b"\0" * 64,
        "sv71-id3v2": id3v2(3, TEXT_FRAMES[:1]) + musepack_v7(b"MP+\x17", byte10=0x51) + b"\0" * 64,
        "sv4": musepack_old(3) + b"\0" * 64,
        "sv5-ape": musepack_old(7) + b"\0" * 64 + ape_tag(2000, APE_ITEMS[:2]),
        "sv6-id3v1": musepack_old(11, bitrate=0) + b"\0" * 64 + id3v1(),
    },
    "fuzz_monkey": {
        "v3990": monkey_new(),
        "v3970": monkey_old(),
        "v3800-extra-high": monkey_old(3800, 4000, 8),
        "tagged": id3v2(3, TEXT_FRAMES[:1]) + monkey_new() + ape_tag(2000, APE_ITEMS[:2]) + id3v1(),
    },
    "fuzz_flac": {
        "streaminfo": flac([(0, streaminfo())]) + b"\xff\xf8" + b"\0" * 30,
        "vorbis-picture": flac([(0, streaminfo(48000, 1, 24, 1000)),
                                (4, vorbis(b"reference libFLAC", COMMENTS)), (6, picture()),
                                (1, b"\0" * 16)]),
        "seektable": flac([(0, streaminfo()), (3, b"\0" * 18), (2, b"abcd")]),
    },
    "fuzz_ini": {
        "settings-edited": b"; comment\r\n[Velmora]\r\nautocrc = 0\r\nwidth=-5\r\nheight=99999999999\r\n"
        b"cd/dvd=PLEXTOR\r\nVA=Various\r\n[velmora]\r\nripper=EAC\r\n",
        "language": b"[TEXTS]\r\n9001=Saved\r\n9007=Mixed\r\n[LABELS]\r\n6028=Note:\r\n",
        "utf8-bom": b"\xef\xbb\xbf[Velmora]\ngroup=alt.binaries.\xc5\x82\n",
    },
    "fuzz_textfile": {
        "utf16le": b"\xff\xfe" + "Line one\r\nDruga \u0142\r\n".encode("utf-16-le"),
        "utf16be": b"\xfe\xff" + "A\rB\n".encode("utf-16-be"),
        "utf8": b"\xef\xbb\xbfZa\xc5\xbc\xc3\xb3\xc5\x82\xc4\x87\r\n\r\n",
        "cp1252": b"caf\xe9\nna\xefve\r\r\n",
    },
    "fuzz_analysis": {
        "mp3-tagged": id3v2(3, TEXT_FRAMES) + b"".join(mpeg_frame(9) for _ in range(4)) + id3v1(track=1),
        "mpc": musepack_v7() + b"\0" * 64 + ape_tag(2000, APE_ITEMS),
        "ape": monkey_new() + ape_tag(2000, APE_ITEMS),
        "flac": flac([(0, streaminfo()), (4, vorbis(b"ref", COMMENTS))]),
    },
}

REAL_FILES = {
    "fuzz_id3v1": ["tags/id3v11.mp3", "tags/apev2-id3v1.mp3"],
    "fuzz_id3v2": ["tags/id3v23-utf16.mp3", "tags/id3v24-utf8.mp3"],
    "fuzz_apetag": ["tags/apev2-id3v1.mp3"],
    "fuzz_mpegaudio": ["readers/lame-cbr.mp3", "readers/lame-vbr.mp3", "readers/mpeg2-mono.mp3",
                       "readers/ffmpeg-layer2.mp3"],
    "fuzz_flac": ["readers/tagged.flac"],
    "fuzz_analysis": ["readers/lame-vbr.mp3", "readers/tagged.flac"],
}

SHIPPED_FILES = {
    "fuzz_ini": ["nfo.ini", "lang/english.lng"],
    "fuzz_textfile": ["note.txt", "groups.ini"],
}


def main():
    for target, seeds in SEEDS.items():
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in seeds.items():
            (folder / f"seed-{name}").write_bytes(data)
        for relative in REAL_FILES.get(target, []):
            shutil.copyfile(ROOT / "tests" / "data" / relative,
                            folder / ("seed-" + relative.replace("/", "-")))
        for relative in SHIPPED_FILES.get(target, []):
            shutil.copyfile(ROOT / "data" / relative, folder / ("seed-" + relative.replace("/", "-")))


if __name__ == "__main__":
    main()
