#include "readers/MusepackSV8.h"

#include "platform/ByteView.h"
#include "platform/FileStream.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr int kMagicLength = 4;  // "MPCK"
constexpr int kKeyLength = 2;
// A size or count takes 7 bits a byte, most significant first, the high bit set on all bytes but
// the last; nine bytes hold 63 bits, and no writer uses more.
constexpr int kMaxNumberBytes = 9;
constexpr int kMaxPacketHeader = kKeyLength + kMaxNumberBytes;
// The packets before the first audio packet are a handful of headers (and perhaps chapters); a
// stream that has none after this many is not worth walking further.
constexpr int kMaxHeaderPackets = 4096;
// A stream header is some 25 bytes; one claiming more is not read for its checksum.
constexpr int64_t kMaxStreamHeaderPayload = 1024;
constexpr int kStreamVersion = 8;
constexpr int kReplayGainVersion = 1;
constexpr int kEncoderInfoLength = 4;
constexpr int kReplayGainLength = 9;
// The stream end packet: its key and a size of 3, the packet having no payload.
constexpr std::array<char, 3> kStreamEnd = {'S', 'E', 3};
// How far before `end` the end packet is looked for: past an APE tag header (32 bytes) and then
// some.
constexpr int64_t kStreamEndWindow = 64;

constexpr std::array<int, 4> kSampleRates = {44100, 48000, 37800, 32000};

struct PacketHeader {
  char key[kKeyLength] = {};
  int64_t position = 0;
  int64_t headerLength = 0;  // key and size bytes
  int64_t size = 0;          // the whole packet, as far as `end`
  bool cut = false;          // the packet claims more bytes than there are before `end`

  bool Is(const char* name) const { return key[0] == name[0] && key[1] == name[1]; }
  int64_t End() const { return position + size; }
};

bool IsCapital(char c) {
  return c >= 'A' && c <= 'Z';
}

// Reads a variable-length number at `offset` and moves `offset` past it; unset when it runs past
// the bytes or takes more than kMaxNumberBytes.
std::optional<int64_t> ReadNumber(QByteArrayView bytes, int64_t& offset) {
  uint64_t value = 0;
  for (int i = 0; i < kMaxNumberBytes; ++i) {
    if (!bytes::Fits(bytes, offset, 1))
      return std::nullopt;
    const uint8_t byte = bytes::U8(bytes, offset++);
    value = value << 7 | (byte & 0x7Fu);
    if ((byte & 0x80) == 0)
      return static_cast<int64_t>(value);
  }
  return std::nullopt;
}

std::optional<PacketHeader> ReadPacketHeader(const FileStream& stream, int64_t position,
                                             int64_t end) {
  const int64_t length = std::min<int64_t>(kMaxPacketHeader, end - position);
  if (length < kKeyLength + 1)
    return std::nullopt;
  QByteArray bytes(length, '\0');
  if (stream.ReadAt(position, bytes.data(), length) != length)
    return std::nullopt;
  PacketHeader packet;
  packet.key[0] = bytes[0];
  packet.key[1] = bytes[1];
  if (!IsCapital(packet.key[0]) || !IsCapital(packet.key[1]))
    return std::nullopt;
  int64_t offset = kKeyLength;
  const std::optional<int64_t> size = ReadNumber(bytes, offset);
  // The size counts the key and its own bytes: a smaller one would never move the walk on.
  if (!size || *size < offset)
    return std::nullopt;
  packet.position = position;
  packet.headerLength = offset;
  // Held at what `end` leaves, so that a hostile 63-bit size never reaches an addition.
  packet.cut = *size > end - position;
  packet.size = packet.cut ? end - position : *size;
  return packet;
}

// The payload as far as `end` and at most `limit` bytes.
QByteArray ReadPayload(const FileStream& stream, const PacketHeader& packet, int64_t end,
                       int64_t limit) {
  const int64_t start = packet.position + packet.headerLength;
  const int64_t length = std::clamp<int64_t>(std::min(packet.End(), end) - start, 0, limit);
  QByteArray payload(length, '\0');
  payload.resize(std::max<int64_t>(0, stream.ReadAt(start, payload.data(), length)));
  return payload;
}

uint32_t Crc32(QByteArrayView bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (const char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// The checksum, the stream version, two counts, then sixteen bits: rate index (3), bands - 1 (5),
// channels - 1 (4), mid-side (1) and log4 of the frames per audio packet (3).
void ReadStreamHeader(QByteArrayView payload, MusepackSV8Header& header) {
  if (payload.size() < 5 || Crc32(payload.sliced(4)) != bytes::BE32(payload, 0))
    return;
  int64_t offset = 4;
  const int version = bytes::U8(payload, offset++);
  const std::optional<int64_t> sampleCount = ReadNumber(payload, offset);
  const std::optional<int64_t> silence = ReadNumber(payload, offset);
  if (version != kStreamVersion || !sampleCount || !silence || !bytes::Fits(payload, offset, 2))
    return;
  const uint8_t rateAndBands = bytes::U8(payload, offset);
  const uint8_t channelsAndFrames = bytes::U8(payload, offset + 1);
  const unsigned rateIndex = rateAndBands >> 5;
  header.Found = true;
  header.StreamVersion = version;
  header.SampleCount = *sampleCount;
  header.BeginningSilence = *silence;
  header.SampleRate = rateIndex < kSampleRates.size() ? kSampleRates[rateIndex] : 0;
  header.MaxUsedBands = (rateAndBands & 0x1F) + 1;
  header.Channels = (channelsAndFrames >> 4) + 1;
  header.MidSideStereo = (channelsAndFrames & 0x08) != 0;
  header.AudioBlockFrames = 1 << (2 * (channelsAndFrames & 0x07));
}

void ReadReplayGain(QByteArrayView payload, MusepackSV8Header& header) {
  if (payload.size() < kReplayGainLength || bytes::U8(payload, 0) != kReplayGainVersion)
    return;
  header.TitleGain = static_cast<int16_t>(bytes::BE16(payload, 1));
  header.TitlePeak = bytes::BE16(payload, 3);
  header.AlbumGain = static_cast<int16_t>(bytes::BE16(payload, 5));
  header.AlbumPeak = bytes::BE16(payload, 7);
  header.HasReplayGain = header.TitleGain != 0 || header.TitlePeak != 0 || header.AlbumGain != 0 ||
                         header.AlbumPeak != 0;
}

// Seven bits of quality in eighths, the PNS flag, then major, minor and build of the encoder.
void ReadEncoderInfo(QByteArrayView payload, MusepackSV8Header& header) {
  if (payload.size() < kEncoderInfoLength)
    return;
  const uint8_t profile = bytes::U8(payload, 0);
  header.Profile = (profile >> 1) / 8.0;
  header.Pns = (profile & 1) != 0;
  header.EncoderVersion = QStringLiteral("%1.%2.%3")
                              .arg(bytes::U8(payload, 1))
                              .arg(bytes::U8(payload, 2))
                              .arg(bytes::U8(payload, 3));
}

// The audio packets run from the first one to the stream end packet, the last of the stream.
// Taking the span saves a read for every packet of a long file. The end packet is looked for in
// the last bytes before `end`, which also passes over the 32-byte header of an APE tag that a
// caller counting only the footer's size field leaves in; a stream without it (cut short) counts
// up to `end`.
int64_t AudioSpan(const FileStream& stream, int64_t audioStart, int64_t end) {
  const int64_t tailLength = std::min(kStreamEndWindow, end - audioStart);
  QByteArray tail(tailLength, '\0');
  if (stream.ReadAt(end - tailLength, tail.data(), tailLength) == tailLength) {
    const qsizetype at = tail.lastIndexOf(QByteArrayView(kStreamEnd.data(), kStreamEnd.size()));
    if (at >= 0)
      return end - tailLength + at - audioStart;
  }
  return end - audioStart;
}

}  // namespace

double MusepackSV8Header::Duration() const {
  if (SampleRate <= 0)
    return 0;
  return static_cast<double>(std::max<int64_t>(SampleCount - BeginningSilence, 0)) / SampleRate;
}

QString MusepackSV8Header::ChannelMode() const {
  if (Channels == 1)
    return QStringLiteral("Mono");
  if (Channels == 2)
    return MidSideStereo ? QStringLiteral("Joint Stereo") : QStringLiteral("Stereo");
  return QStringLiteral("Unknown");
}

bool ReadMusepackSV8(const FileStream& stream, int64_t start, int64_t end,
                     MusepackSV8Header& header) {
  header = MusepackSV8Header();
  end = std::min(end, stream.Size());
  if (start < 0 || end - start < kMagicLength)
    return false;
  char magic[kMagicLength] = {};
  if (stream.ReadAt(start, magic, kMagicLength) != kMagicLength ||
      !bytes::Matches(QByteArrayView(magic, kMagicLength), 0, "MPCK")) {
    return false;
  }

  int64_t position = start + kMagicLength;
  for (int packets = 0; packets < kMaxHeaderPackets; ++packets) {
    const std::optional<PacketHeader> packet = ReadPacketHeader(stream, position, end);
    if (!packet)
      break;
    if (packet->Is("AP")) {
      header.AudioStart = position;
      header.AudioBytes = AudioSpan(stream, position, end);
      break;
    }
    if (packet->Is("SE"))
      break;
    // A stream header cut short by `end` is not read: its checksum could only cover what is there.
    if (packet->Is("SH") && !header.Found && !packet->cut) {
      ReadStreamHeader(ReadPayload(stream, *packet, end, kMaxStreamHeaderPayload), header);
    } else if (packet->Is("RG")) {
      ReadReplayGain(ReadPayload(stream, *packet, end, kReplayGainLength), header);
    } else if (packet->Is("EI")) {
      ReadEncoderInfo(ReadPayload(stream, *packet, end, kEncoderInfoLength), header);
    }
    if (packet->cut || packet->End() >= end)
      break;
    position = packet->End();
  }
  return true;
}
