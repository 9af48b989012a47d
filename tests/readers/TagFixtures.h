#pragma once

#include <QByteArray>

// Tags that surround the audio data in MPEG, Musepack and Monkey's Audio files, built from
// bytes so that a test can put them in front of or behind a stream.
namespace fixtures {

// An ID3v2.3 tag of exactly totalSize bytes (header included) holding one title frame.
QByteArray ID3v2Tag(int totalSize);
// An ID3v2 header whose synchsafe size claims more bytes than the test file holds.
QByteArray ID3v2HeaderClaiming(int bodySize);
// A 128-byte ID3v1.1 tag.
QByteArray ID3v1Tag();
// A Lyrics3 v2 block with one lyrics field; it takes lyrics.size() + 39 bytes of the file.
QByteArray Lyrics3Block(const QByteArray& lyrics);
// An APE tag of version 2000 with one item, footer only; its size field counts items and
// footer.
QByteArray APETag(const QByteArray& name, const QByteArray& value);

}  // namespace fixtures
