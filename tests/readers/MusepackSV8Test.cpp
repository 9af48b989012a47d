#include "readers/MusepackSV8.h"

#include "platform/FileStream.h"
#include "support/TestSupport.h"
#include "tags/APETag.h"

#include <gtest/gtest.h>
#include <QFile>

namespace {

// A size or count as SV8 writes it: 7 bits a byte, most significant first, the high bit set on
// every byte but the last; `minBytes` pads with leading zero groups.
QByteArray Number(uint64_t value, int minBytes = 1) {
  QByteArray groups;
  do {
    groups.prepend(static_cast<char>(value & 0x7F));
    value >>= 7;
  } while (value != 0 || groups.size() < minBytes);
  for (qsizetype i = 0; i + 1 < groups.size(); ++i)
    groups[i] = static_cast<char>(groups[i] | 0x80);
  return groups;
}

// A packet whose size counts its key, its size bytes and the payload.
QByteArray Packet(const char* key, const QByteArray& payload) {
  for (int sizeBytes = 1;; ++sizeBytes) {
    const QByteArray size = Number(2 + sizeBytes + payload.size());
    if (size.size() == sizeBytes)
      return QByteArray(key, 2) + size + payload;
  }
}

uint32_t Crc32(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (const char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit)
      crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

struct StreamHeaderFields {
  uint64_t samples = 441000;
  uint64_t silence = 0;
  uint8_t rateIndex = 1;  // 48000 Hz
  uint8_t bands = 24;     // stored as bands - 1
  uint8_t channels = 2;
  bool midSide = false;
  uint8_t framesLog4 = 3;
  bool damageCrc = false;
};

QByteArray StreamHeader(const StreamHeaderFields& f) {
  QByteArray body = Bytes().U8(8);
  body += Number(f.samples) + Number(f.silence);
  body += static_cast<char>(f.rateIndex << 5 | (f.bands - 1));
  body += static_cast<char>((f.channels - 1) << 4 | (f.midSide ? 0x08 : 0) | f.framesLog4);
  const uint32_t crc = Crc32(body) ^ (f.damageCrc ? 1u : 0u);
  return Packet("SH", Bytes().BE32(crc).Raw(body));
}

QByteArray AudioPacket(int bytes = 200) {
  return Packet("AP", QByteArray(bytes, '\x5A'));
}

class MusepackSV8Test : public ::testing::Test {
 protected:
  // Reads the bytes as a whole file, `start` 0 and `end` its size.
  bool Read(const QByteArray& bytes) {
    const FileStream stream(folder_.Write(QStringLiteral("track.mpc"), bytes));
    return ReadMusepackSV8(stream, 0, stream.Size(), header_);
  }
  static QByteArray Fixture(const char* name) {
    QFile file(TestDataPath(QStringLiteral("readers/") + QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  TempFolder folder_;
  MusepackSV8Header header_;
};

// mpcenc 1.30.1 (make_wavpack_mpc8_fixtures.sh) at its default quality 5, which it writes as
// profile 10. mutagen 1.46: "Musepack SV8, 1.50 seconds, 44100 Hz", 66150 samples, 2 channels;
// ffprobe 5.1 gives no duration for SV8. mutagen and mediainfo take the bit rate over the whole
// file (816 bytes, 4352 b/s); the audio packets are 768 of them: the file less "MPCK" and the
// SH, RG, EI and SO packets (45 bytes) and the SE packet (3 bytes).
TEST_F(MusepackSV8Test, MpcencFilesMatchMutagen) {
  for (const char* name : {"mpc-sv8.mpc", "mpc-sv8-apetag.mpc"}) {
    SCOPED_TRACE(name);
    const FileStream stream(TestDataPath(QStringLiteral("readers/") + QLatin1String(name)));
    TAPETag apeTag;
    ASSERT_TRUE(apeTag.ReadFromStream(stream));
    // The footer's size field leaves out the tag's header: the end packet is found all the same.
    const int64_t end = stream.Size() - apeTag.Size();
    MusepackSV8Header header;
    ASSERT_TRUE(ReadMusepackSV8(stream, 0, end, header));
    ASSERT_TRUE(header.Found);
    EXPECT_EQ(header.StreamVersion, 8);
    EXPECT_EQ(header.SampleCount, 66150);
    EXPECT_EQ(header.BeginningSilence, 0);
    EXPECT_EQ(header.SampleRate, 44100);
    EXPECT_EQ(header.Channels, 2);
    EXPECT_NEAR(header.Duration(), 1.5, 1e-9);
    EXPECT_TRUE(header.MidSideStereo);
    EXPECT_EQ(header.ChannelMode(), QStringLiteral("Joint Stereo"));
    EXPECT_EQ(header.AudioBlockFrames, 64);
    EXPECT_EQ(header.MaxUsedBands, 28);
    EXPECT_EQ(header.EncoderVersion, QStringLiteral("1.30.1"));
    EXPECT_DOUBLE_EQ(header.Profile, 10.0);
    EXPECT_FALSE(header.Pns);
    EXPECT_FALSE(header.HasReplayGain);
    EXPECT_EQ(header.AudioStart, 45);
    EXPECT_EQ(header.AudioBytes, 768);
  }
}

TEST_F(MusepackSV8Test, PacketsGiveTheirFields) {
  StreamHeaderFields fields;
  fields.silence = 1000;
  const QByteArray replayGain = Bytes().U8(1).BE16(0xFC00).BE16(0x1234).BE16(0).BE16(0);
  const QByteArray encoder = Bytes().U8(12 * 16 + 1).U8(1).U8(30).U8(0);  // 12.0, PNS, 1.30.0
  ASSERT_TRUE(Read("MPCK" + StreamHeader(fields) + Packet("RG", replayGain) +
                   Packet("EI", encoder) + AudioPacket() + AudioPacket() + Packet("SE", {})));
  ASSERT_TRUE(header_.Found);
  EXPECT_EQ(header_.SampleRate, 48000);
  EXPECT_EQ(header_.MaxUsedBands, 24);
  EXPECT_EQ(header_.ChannelMode(), QStringLiteral("Stereo"));
  EXPECT_NEAR(header_.Duration(), 440000 / 48000.0, 1e-9);
  EXPECT_TRUE(header_.HasReplayGain);
  EXPECT_EQ(header_.TitleGain, -1024);
  EXPECT_EQ(header_.TitlePeak, 0x1234);
  EXPECT_EQ(header_.EncoderVersion, QStringLiteral("1.30.0"));
  EXPECT_DOUBLE_EQ(header_.Profile, 12.0);
  EXPECT_TRUE(header_.Pns);
  EXPECT_EQ(header_.AudioBytes, 2 * AudioPacket().size());

  fields.channels = 1;
  ASSERT_TRUE(Read("MPCK" + StreamHeader(fields) + AudioPacket()));
  EXPECT_EQ(header_.ChannelMode(), QStringLiteral("Mono"));
  // No end packet: the audio runs to the end.
  EXPECT_EQ(header_.AudioBytes, AudioPacket().size());
  EXPECT_TRUE(header_.EncoderVersion.isEmpty());
}

TEST_F(MusepackSV8Test, HostileStreamsEndTheWalk) {
  StreamHeaderFields fields;
  const QByteArray sh = StreamHeader(fields);

  // Not SV8 at all.
  EXPECT_FALSE(Read(QByteArray("MP+\x07") + QByteArray(40, '\0')));
  EXPECT_FALSE(Read("MPC"));

  // A size in nine bytes is the longest there is; one in ten ends the walk.
  ASSERT_TRUE(Read("MPCK" + QByteArray("XX") + Number(11, 9) + sh));
  EXPECT_TRUE(header_.Found);
  ASSERT_TRUE(Read("MPCK" + QByteArray("XX") + Number(12, 10) + sh));
  EXPECT_FALSE(header_.Found);
  // So do a key that is not two capital letters and a size smaller than the packet's header.
  ASSERT_TRUE(Read("MPCK" + QByteArray("Xx\x03") + sh));
  EXPECT_FALSE(header_.Found);
  ASSERT_TRUE(Read("MPCK" + QByteArray("XX\x02") + sh));
  EXPECT_FALSE(header_.Found);
  // The largest size nine bytes hold (2^63 - 1) ends the walk without overflowing the position.
  ASSERT_TRUE(Read("MPCK" + sh + QByteArray("RG") + QByteArray(8, '\xFF') + '\x7F' + sh));
  EXPECT_TRUE(header_.Found);
  EXPECT_EQ(header_.AudioStart, 0);
  // A stream header whose checksum does not match, or that claims more than the file holds.
  fields.damageCrc = true;
  ASSERT_TRUE(Read("MPCK" + StreamHeader(fields) + AudioPacket()));
  EXPECT_FALSE(header_.Found);
  ASSERT_TRUE(Read("MPCK" + QByteArray("SH") + Number(1u << 30) + sh.mid(3)));
  EXPECT_FALSE(header_.Found);

  // 10^9 samples last long but not forever; more silence than samples lasts nothing; a rate
  // index the format does not define gives no rate.
  fields = StreamHeaderFields();
  fields.samples = 1000000000;
  ASSERT_TRUE(Read("MPCK" + StreamHeader(fields) + AudioPacket()));
  EXPECT_NEAR(header_.Duration(), 1e9 / 48000, 1e-6);
  fields.silence = fields.samples + 1;
  ASSERT_TRUE(Read("MPCK" + StreamHeader(fields) + AudioPacket()));
  EXPECT_EQ(header_.Duration(), 0);
  fields = StreamHeaderFields();
  fields.rateIndex = 5;
  ASSERT_TRUE(Read("MPCK" + StreamHeader(fields) + AudioPacket()));
  EXPECT_EQ(header_.SampleRate, 0);
  EXPECT_EQ(header_.Duration(), 0);
}

TEST_F(MusepackSV8Test, CutFilesAndReuse) {
  const QByteArray whole = Fixture("mpc-sv8.mpc");
  // The stream header ends at byte 18; the first audio packet starts at 45 with a 4-byte header.
  for (qsizetype length = 0; length <= whole.size(); ++length) {
    SCOPED_TRACE(length);
    const bool sv8 = Read(whole.left(length));
    EXPECT_EQ(sv8, length >= 4);
    EXPECT_EQ(header_.Found, length >= 18);
    if (header_.Found) {
      EXPECT_NEAR(header_.Duration(), 1.5, 1e-9);
    }
    EXPECT_GE(header_.AudioBytes, 0);
    EXPECT_LE(header_.AudioStart + header_.AudioBytes, length);
    EXPECT_EQ(header_.AudioStart > 0, length >= 49);
  }

  // The header of the earlier read is gone, whatever the new file holds.
  ASSERT_TRUE(Read(whole));
  ASSERT_FALSE(header_.EncoderVersion.isEmpty());
  EXPECT_FALSE(Read("not SV8"));
  EXPECT_FALSE(header_.Found);
  EXPECT_TRUE(header_.EncoderVersion.isEmpty());
  EXPECT_EQ(header_.AudioBytes, 0);
}

}  // namespace
