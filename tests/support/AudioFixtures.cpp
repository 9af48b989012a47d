#include "support/AudioFixtures.h"

#include <cmath>

#include "support/TestSupport.h"

namespace fixtures {

namespace {

int BitRateIndex(int kbps) {
  static const int rates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  for (int i = 1; i < 15; ++i) {
    if (rates[i] == kbps)
      return i;
  }
  return 9;
}

int FrameLength(int kbps) {
  return 144 * kbps * 1000 / 44100;
}

QByteArray Frame(int kbps) {
  return Bytes{0xFF, 0xFB, static_cast<uint8_t>(BitRateIndex(kbps) << 4), 0x00}
      .PadTo(FrameLength(kbps), 0x55)
      .Data();
}

uint32_t Synchsafe(uint32_t size) {
  return (size & 0x7F) | ((size >> 7) & 0x7F) << 8 | ((size >> 14) & 0x7F) << 16 |
         ((size >> 21) & 0x7F) << 24;
}

}  // namespace

QByteArray MpegFrames(int kbps, int frames) {
  QByteArray out;
  for (int i = 0; i < frames; ++i)
    out += Frame(kbps);
  return out;
}

QByteArray MpegXingFrames(int xingFrames, int xingBytes, int frames) {
  Bytes first{0xFF, 0xFB, 0x90, 0x00};
  first.Fill(32).Text("Xing").BE32(3).BE32(static_cast<uint32_t>(xingFrames));
  first.BE32(static_cast<uint32_t>(xingBytes)).PadTo(FrameLength(128), 0);
  return first.Data() + MpegFrames(128, frames);
}

int XingBytesFor(int kbps, int frames) {
  return static_cast<int>(std::lround(kbps * 144000.0 / 44100.0 * frames));
}

QByteArray FlacFile(int sampleRate, int channels, int bits, qint64 samples, int totalSize,
                    const QList<QPair<QByteArray, QByteArray>>& comments) {
  Bytes file;
  file.Text("fLaC").U8(0x00).BE24(34).Fill(10);
  const uint64_t packed = static_cast<uint64_t>(sampleRate) << 44 |
                          static_cast<uint64_t>(channels - 1) << 41 |
                          static_cast<uint64_t>(bits - 1) << 36 | static_cast<uint64_t>(samples);
  file.BE32(static_cast<uint32_t>(packed >> 32)).BE32(static_cast<uint32_t>(packed)).Fill(16);
  if (!comments.isEmpty()) {
    Bytes body;
    body.LE32(5).Text("vendr").LE32(static_cast<uint32_t>(comments.size()));
    for (const auto& [name, value] : comments) {
      const QByteArray entry = name + '=' + value;
      body.LE32(static_cast<uint32_t>(entry.size())).Raw(entry);
    }
    file.U8(0x04).BE24(static_cast<uint32_t>(body.Size())).Raw(body);
  }
  const int padding = std::max(0, totalSize - file.Size() - 4);
  file.U8(0x81).BE24(static_cast<uint32_t>(padding)).Fill(padding);
  return file;
}

QByteArray Id3v1Tag(const QByteArray& title, const QByteArray& artist, const QByteArray& album,
                    const QByteArray& year, uint8_t genre) {
  Bytes tag;
  tag.Text("TAG").Raw(title.left(30)).PadTo(33).Raw(artist.left(30)).PadTo(63);
  tag.Raw(album.left(30)).PadTo(93).Raw(year.left(4)).PadTo(97).PadTo(127).U8(genre);
  return tag;
}

QByteArray Id3v2Tag(const QList<QPair<QByteArray, QByteArray>>& textFrames, uint8_t encoding) {
  Bytes frames;
  for (const auto& [id, text] : textFrames) {
    frames.Raw(id).BE32(static_cast<uint32_t>(text.size() + 1)).BE16(0).U8(encoding).Raw(text);
  }
  frames.Fill(16);  // padding
  Bytes tag;
  tag.Text("ID3").U8(3).U8(0).U8(0).BE32(Synchsafe(static_cast<uint32_t>(frames.Size())));
  return tag.Data() + frames.Data();
}

QByteArray ApeTag(const QList<QPair<QByteArray, QByteArray>>& items) {
  Bytes body;
  for (const auto& [name, value] : items) {
    body.LE32(static_cast<uint32_t>(value.size())).LE32(0).Raw(name).U8(0).Raw(value);
  }
  Bytes footer;
  footer.Text("APETAGEX").LE32(2000).LE32(static_cast<uint32_t>(body.Size() + 32));
  footer.LE32(static_cast<uint32_t>(items.size())).LE32(0).Fill(8);
  return body.Data() + footer.Data();
}

}  // namespace fixtures
