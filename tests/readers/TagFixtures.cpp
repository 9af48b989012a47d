#include "TagFixtures.h"

#include "support/TestSupport.h"

namespace fixtures {
namespace {

Bytes& SynchsafeSize(Bytes& bytes, int size) {
  return bytes.U8(static_cast<uint8_t>((size >> 21) & 0x7F))
      .U8(static_cast<uint8_t>((size >> 14) & 0x7F))
      .U8(static_cast<uint8_t>((size >> 7) & 0x7F))
      .U8(static_cast<uint8_t>(size & 0x7F));
}

}  // namespace

QByteArray ID3v2Tag(int totalSize) {
  Bytes tag;
  tag.Text("ID3").U8(3).U8(0).U8(0);
  SynchsafeSize(tag, totalSize - 10);
  tag.Text("TIT2").BE32(6).BE16(0).U8(0).Text("Title");
  return tag.PadTo(totalSize);
}

QByteArray ID3v2HeaderClaiming(int bodySize) {
  Bytes tag;
  tag.Text("ID3").U8(3).U8(0).U8(0);
  return SynchsafeSize(tag, bodySize);
}

QByteArray ID3v1Tag() {
  Bytes tag;
  tag.Text("TAG").Text("Title").PadTo(33).Text("Artist").PadTo(63).Text("Album").PadTo(93);
  return tag.Text("2004").PadTo(126).U8(3).U8(17);
}

QByteArray Lyrics3Block(const QByteArray& lyrics) {
  const QByteArray block = "LYRICSBEGIN" + QByteArray("LYR") +
                           QByteArray::number(lyrics.size()).rightJustified(5, '0') + lyrics;
  return block + QByteArray::number(block.size()).rightJustified(6, '0') + "LYRICS200";
}

QByteArray APETag(const QByteArray& name, const QByteArray& value) {
  Bytes items;
  items.LE32(static_cast<uint32_t>(value.size())).LE32(0).Raw(name).U8(0).Raw(value);
  Bytes footer;
  footer.Text("APETAGEX").LE32(2000).LE32(static_cast<uint32_t>(items.Size() + 32)).LE32(1);
  footer.LE32(0).Fill(8);
  return items.Data() + footer.Data();
}

}  // namespace fixtures
