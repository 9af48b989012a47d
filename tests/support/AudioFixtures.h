#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

// Whole audio files built from bytes, just real enough for the readers: MPEG 1 layer III frames
// (44100 Hz, stereo), a Xing VBR frame, FLAC metadata with a Vorbis comment, and the three tags.
namespace fixtures {

// CBR frames at a table bit rate (kbit/s, one of the MPEG 1 layer III rates).
QByteArray MpegFrames(int kbps, int frames);
// A first frame carrying a Xing header with the given counts, followed by plain frames.
QByteArray MpegXingFrames(int xingFrames, int xingBytes, int frames = 4);
// The byte count a Xing header needs to average the given bit rate over `frames` frames.
int XingBytesFor(int kbps, int frames);

// "fLaC", STREAMINFO, an optional Vorbis comment, then padding up to totalSize bytes.
QByteArray FlacFile(int sampleRate, int channels, int bits, qint64 samples, int totalSize,
                    const QList<QPair<QByteArray, QByteArray>>& comments = {});

QByteArray Id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, uint8_t genre = 255);
// A version 3 tag with text frames (identifier, encoding byte, text bytes).
QByteArray Id3v2Tag(const QList<QPair<QByteArray, QByteArray>>& textFrames, uint8_t encoding = 0);
// An APE tag version 2000 (items and footer).
QByteArray ApeTag(const QList<QPair<QByteArray, QByteArray>>& items);

}  // namespace fixtures
