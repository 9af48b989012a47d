#include "readers/OggFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

namespace {

constexpr uint8_t kContinued = 0x01;
constexpr uint8_t kFirst = 0x02;
constexpr uint8_t kLast = 0x04;
constexpr uint64_t kNoGranule = ~uint64_t{0};
constexpr uint32_t kSerial = 0x1234;

// One page; `lacing` is its segment table, the payload its packets' bytes in order.
QByteArray Page(uint32_t serial, uint32_t sequence, uint64_t granule, uint8_t flags,
                const QByteArray& lacing, const QByteArray& payload) {
  Bytes page;
  page.Text("OggS").U8(0).U8(flags).LE64(granule).LE32(serial).LE32(sequence).LE32(0);
  page.U8(static_cast<uint8_t>(lacing.size())).Raw(lacing).Raw(payload);
  return page;
}

QByteArray LacingOf(qsizetype length) {
  QByteArray lacing(length / 255, '\xFF');
  lacing += static_cast<char>(length % 255);
  return lacing;
}

// A page holding one whole packet of up to 64769 bytes.
QByteArray PacketPage(uint32_t serial, uint32_t sequence, uint64_t granule, uint8_t flags,
                      const QByteArray& packet) {
  return Page(serial, sequence, granule, flags, LacingOf(packet.size()), packet);
}

// A packet of any length over as many pages as it needs, each but the last with granule -1.
QByteArray SpreadPacket(uint32_t serial, uint32_t& sequence, const QByteArray& packet) {
  const QByteArray lacing = LacingOf(packet.size());
  QByteArray pages;
  qsizetype segment = 0;
  qsizetype offset = 0;
  while (segment < lacing.size()) {
    const qsizetype count = std::min<qsizetype>(255, lacing.size() - segment);
    const QByteArray table = lacing.mid(segment, count);
    qsizetype length = 0;
    for (const char lace : table)
      length += static_cast<uint8_t>(lace);
    const bool ends = segment + count == lacing.size();
    pages += Page(serial, sequence++, ends ? 0 : kNoGranule, segment > 0 ? kContinued : 0, table,
                  packet.mid(offset, length));
    segment += count;
    offset += length;
  }
  return pages;
}

QByteArray OpusHead(int channels, uint16_t preSkip, uint32_t inputRate) {
  Bytes head;
  head.Text("OpusHead").U8(1).U8(static_cast<uint8_t>(channels)).LE16(preSkip).LE32(inputRate);
  return head.LE16(0).U8(0);
}

QByteArray Comment(const char* magic, const QByteArray& vendor, const QList<QByteArray>& entries) {
  Bytes comment;
  comment.Text(magic).LE32(static_cast<uint32_t>(vendor.size())).Raw(vendor);
  comment.LE32(static_cast<uint32_t>(entries.size()));
  for (const QByteArray& entry : entries)
    comment.LE32(static_cast<uint32_t>(entry.size())).Raw(entry);
  return comment;
}

QByteArray VorbisId(int channels, uint32_t rate, int32_t nominal) {
  Bytes id;
  id.Text("\x01vorbis").LE32(0).U8(static_cast<uint8_t>(channels)).LE32(rate).LE32(0);
  return id.LE32(static_cast<uint32_t>(nominal)).LE32(0).U8(0xB8).U8(1);
}

// An Opus stream: header pages, then one 1000-byte audio page per granule.
QByteArray OpusStream(const QList<uint64_t>& granules, uint16_t preSkip = 312) {
  QByteArray file = PacketPage(kSerial, 0, 0, kFirst, OpusHead(2, preSkip, 44100));
  file += PacketPage(kSerial, 1, 0, 0,
                     Comment("OpusTags", "test vendor", {"ARTIST=Someone", "TITLE=Song"}));
  uint32_t sequence = 2;
  for (const uint64_t granule : granules)
    file += PacketPage(kSerial, sequence++, granule, 0, QByteArray(1000 - 28, '\x55'));
  return file;
}

QString DataFile(const char* name) {
  return TestDataPath(QStringLiteral("readers/") + QLatin1String(name));
}

class OggFileTest : public ::testing::Test {
 protected:
  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.opus"), bytes));
  }

  TempFolder folder_;
  TOggFile reader_;
};

// opusenc 0.2 (libopus 1.3.1), 1.5 s of a 44.1 kHz stereo tone at 16 kbit/s.
TEST_F(OggFileTest, RealOpusMatchesMutagenFfprobeAndMediainfo) {
  ASSERT_TRUE(reader_.ReadFromFile(DataFile("opus-tagged.opus")));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Kind(), TOggFile::StreamKind::Opus);
  EXPECT_EQ(reader_.FileSize(), 3620);  // ffprobe format size
  EXPECT_EQ(reader_.Serial(), 1234u);   // mutagen serial, mediainfo ID
  EXPECT_EQ(reader_.Channels(), 2);     // ffprobe, mutagen
  EXPECT_EQ(reader_.PreSkip(), 312);    // mutagen
  // mediainfo "Sampling rate 44.1 kHz" (the input rate; ffprobe shows the decoding rate).
  EXPECT_EQ(reader_.SampleRate(), 44100);
  // mutagen length 1.5; ffprobe's 1.5065 counts the 312 pre-skip samples.
  EXPECT_NEAR(reader_.Duration(), 1.5, 0.001);
  EXPECT_NEAR(reader_.Duration() + 312.0 / 48000, 1.5065, 0.001);
  // The audio pages: ffprobe's packets sum to 2393 bytes, plus 130 bytes of page headers.
  EXPECT_EQ(reader_.AudioBytes(), 2393 + 130);
  EXPECT_EQ(reader_.BitRate(), 13);  // 2523 * 8 / 1.5 s
  // mediainfo "Writing library: libopus 1.3.1, libopusenc 0.2.1"
  EXPECT_EQ(reader_.Vendor(), QStringLiteral("libopus 1.3.1, libopusenc 0.2.1"));
  EXPECT_EQ(reader_.Comment().title, QString::fromUtf8("Zażółć gęślą jaźń"));  // mutagen tags
  EXPECT_EQ(reader_.Comment().trackNumber, QStringLiteral("3"));

  const StreamFacts facts = reader_.Describe();
  EXPECT_EQ(facts.Codec, QStringLiteral("Opus"));
  EXPECT_EQ(facts.VersionText, QStringLiteral("Ogg Opus"));
  EXPECT_EQ(facts.SampleRateText, QStringLiteral("44100 hz"));
  EXPECT_EQ(facts.ChannelsText, QStringLiteral("Stereo"));
  EXPECT_EQ(facts.EncoderText, QStringLiteral("libopus 1.3.1, libopusenc 0.2.1"));
  EXPECT_EQ(facts.BitRate, 13);
  EXPECT_FALSE(facts.Lossless());
  EXPECT_EQ(facts.QualityLabel, QStringLiteral("Lossy"));
  EXPECT_EQ(facts.OwnTagName, QStringLiteral("VorbisComment"));
  ASSERT_TRUE(facts.OwnTag.has_value());
  EXPECT_EQ(facts.OwnTag->Artist, QStringLiteral("Test Artist"));
  EXPECT_EQ(facts.OwnTag->Title, QString::fromUtf8("Zażółć gęślą jaźń"));
  EXPECT_EQ(facts.OwnTag->Album, QStringLiteral("Fixtures"));
  EXPECT_EQ(facts.OwnTag->Year, QStringLiteral("2024"));
  EXPECT_EQ(facts.OwnTag->Genre, QStringLiteral("Test"));
  EXPECT_EQ(facts.OwnTag->AlbumArtist, QStringLiteral("Various"));
}

// oggenc 1.4.2 -q -1, 1.5 s of a 22.05 kHz mono tone.
TEST_F(OggFileTest, RealVorbisMatchesMutagenFfprobeAndMediainfo) {
  ASSERT_TRUE(reader_.ReadFromFile(DataFile("vorbis-tagged.ogg")));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Kind(), TOggFile::StreamKind::Vorbis);
  EXPECT_EQ(reader_.Serial(), 4321u);
  EXPECT_EQ(reader_.Channels(), 1);
  EXPECT_EQ(reader_.SampleRate(), 22050);
  EXPECT_NEAR(reader_.Duration(), 1.5, 0.001);  // ffprobe and mutagen 1.5
  EXPECT_EQ(reader_.NominalBitrate(), 16000);   // mutagen bitrate, ffprobe stream bit_rate
  EXPECT_EQ(reader_.PreSkip(), 0);
  // ffprobe's packets sum to 1470 bytes, plus 93 bytes of the one audio page's header.
  EXPECT_EQ(reader_.AudioBytes(), 1470 + 93);
  EXPECT_EQ(reader_.BitRate(), 8);
  const StreamFacts facts = reader_.Describe();
  EXPECT_EQ(facts.Codec, QStringLiteral("Vorbis"));
  EXPECT_EQ(facts.VersionText, QStringLiteral("Ogg Vorbis"));
  EXPECT_EQ(facts.SampleRateText, QStringLiteral("22050 hz"));
  EXPECT_EQ(facts.ChannelsText, QStringLiteral("Mono"));
  EXPECT_EQ(facts.EncoderText,
            QStringLiteral("Xiph.Org libVorbis I 20200704 (Reducing Environment)"));
  ASSERT_TRUE(facts.OwnTag.has_value());
  EXPECT_EQ(facts.OwnTag->Artist, QStringLiteral("Test Artist"));
  EXPECT_EQ(facts.OwnTag->Title, QStringLiteral("Vorbis Title"));
  EXPECT_EQ(facts.OwnTag->Album, QStringLiteral("Fixtures"));
  EXPECT_EQ(facts.OwnTag->Year, QStringLiteral("2023"));
  EXPECT_EQ(facts.OwnTag->Genre, QStringLiteral("Rock"));
  EXPECT_EQ(facts.OwnTag->AlbumArtist, QString());
}

// Long enough that the header pages lie outside the tail window, with other streams' pages and
// garbage in between: the duration comes from the last page of the followed stream.
TEST_F(OggFileTest, DurationFromTheLastPageOfTheFollowedStream) {
  QByteArray file = PacketPage(0x99, 0, 0, kFirst, "fishead");  // a stream not read
  file += PacketPage(kSerial, 0, 0, kFirst, OpusHead(2, 312, 44100));
  file += "garbage between pages";
  file += PacketPage(kSerial, 1, 0, 0, Comment("OpusTags", "test vendor", {"ARTIST=Someone"}));
  uint32_t sequence = 2;
  for (int i = 1; i <= 200; ++i) {
    file += PacketPage(kSerial, sequence++, 960 * 50 * i, 0, QByteArray(972, '\x55'));
    file += PacketPage(0x99, static_cast<uint32_t>(i), 7777777777ull, 0, "other stream");
  }
  file += PacketPage(kSerial, sequence, 960 * 50 * 201 + 100, kLast, QByteArray(972, '\x55'));
  ASSERT_TRUE(Read(file));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Serial(), kSerial);
  EXPECT_EQ(reader_.LastGranule(), 960 * 50 * 201 + 100);
  EXPECT_DOUBLE_EQ(reader_.Duration(), (960.0 * 50 * 201 + 100 - 312) / 48000);
  EXPECT_EQ(reader_.Comment().artist, QStringLiteral("Someone"));
  EXPECT_EQ(reader_.Vendor(), QStringLiteral("test vendor"));
}

struct TailCase {
  const char* name;
  QList<uint64_t> granules;
  int cutFromEnd;
  bool valid;
  double duration;
};

void PrintTo(const TailCase& c, std::ostream* out) {
  *out << c.name;
}

class OggTailTest : public OggFileTest, public ::testing::WithParamInterface<TailCase> {};

TEST_P(OggTailTest, TrustsOnlyGranulesThatMakeSense) {
  const TailCase& c = GetParam();
  QByteArray file = OpusStream(c.granules);
  file.chop(c.cutFromEnd);
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.Valid(), c.valid);
  EXPECT_NEAR(reader_.Duration(), c.duration, 1e-9);
  EXPECT_GE(reader_.BitRate(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Granules, OggTailTest,
    ::testing::Values(TailCase{"InOrder", {48312, 96312}, 0, true, 2.0},
                      TailCase{"BackwardsOnLastPage", {48312, 96312, 312}, 0, true, 2.0},
                      TailCase{"NoGranuleOnLastPage", {48312, 96312, kNoGranule}, 0, true, 2.0},
                      TailCase{"SignBitSet", {48312, 0x8000000000000000ull}, 0, true, 1.0},
                      TailCase{"LastPageCutShort", {48312, 96312}, 10, true, 1.0},
                      TailCase{"PreSkipLongerThanStream", {100}, 0, false, 0},
                      TailCase{"NoAudioPage", {}, 0, false, 0},
                      // 10^9 declared samples.
                      TailCase{"BillionSamples", {1000000312}, 0, true, 1e9 / 48000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OggFileTest, VorbisOfOneSamplePerSecondGivesAFiniteDuration) {
  QByteArray file = PacketPage(kSerial, 0, 0, kFirst, VorbisId(1, 1, -1));
  uint32_t sequence = 1;
  file += SpreadPacket(kSerial, sequence, Comment("\x03vorbis", "v", {}) + '\x01');
  file += SpreadPacket(kSerial, sequence, "\x05vorbis setup");
  file += PacketPage(kSerial, sequence, 1000000000, kLast, QByteArray(100, 'a'));
  ASSERT_TRUE(Read(file));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_DOUBLE_EQ(reader_.Duration(), 1e9);
  EXPECT_EQ(reader_.BitRate(), 0);
  EXPECT_EQ(reader_.NominalBitrate(), -1);
}

// A cover of 3 MiB in METADATA_BLOCK_PICTURE, spread over fifty pages, before the artist.
TEST_F(OggFileTest, LargePictureInTheCommentIsPassedOver) {
  QByteArray picture("METADATA_BLOCK_PICTURE=");
  picture += QByteArray(3 * 1024 * 1024, 'Q');
  QByteArray file = PacketPage(kSerial, 0, 0, kFirst, OpusHead(1, 0, 0));
  uint32_t sequence = 1;
  file += SpreadPacket(kSerial, sequence,
                       Comment("OpusTags", "vendor", {"TITLE=T", picture, "ARTIST=After"}));
  const qsizetype audioStart = file.size();
  file += PacketPage(kSerial, sequence, 48000, kLast, QByteArray(4000 - 28, 'a'));
  ASSERT_TRUE(Read(file));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.AudioStart(), audioStart);
  EXPECT_EQ(reader_.Comment().title, QStringLiteral("T"));
  EXPECT_EQ(reader_.Comment().artist, QStringLiteral("After"));
  EXPECT_EQ(reader_.Comment().otherFields, QString());
  EXPECT_EQ(reader_.SampleRate(), 48000);  // no input rate given
  EXPECT_EQ(reader_.Channels(), 1);
  EXPECT_EQ(reader_.Describe().ChannelsText, QStringLiteral("Mono"));
  EXPECT_EQ(reader_.BitRate(), 32);
}

TEST_F(OggFileTest, HostileHeadersAreNotValid) {
  // A comment packet whose pages never end it, a segment table past the end, and a stream whose
  // first page claims 255 segments but the file ends inside them.
  QByteArray endless = PacketPage(kSerial, 0, 0, kFirst, OpusHead(2, 0, 48000));
  for (uint32_t i = 1; i < 20; ++i)
    endless += Page(kSerial, i, kNoGranule, i > 1 ? kContinued : 0, QByteArray(1, '\xFF'),
                    QByteArray(255, 'x'));
  const QByteArray cutTable = Bytes().Text("OggS").U8(0).U8(kFirst).Fill(20).U8(255).Fill(10);
  for (const QByteArray& file : {endless, cutTable, QByteArray("OggS"), QByteArray()}) {
    Read(file);
    EXPECT_FALSE(reader_.Valid());
    EXPECT_EQ(reader_.Duration(), 0);
  }
}

TEST_F(OggFileTest, EveryCutOfARealFileReadsSafely) {
  QFile real(DataFile("opus-tagged.opus"));
  ASSERT_TRUE(real.open(QIODevice::ReadOnly));
  const QByteArray whole = real.readAll();
  for (qsizetype length = 0; length < whole.size(); length += 37) {
    Read(whole.left(length));
    // No audio page is complete before 2771 bytes.
    EXPECT_EQ(reader_.Valid(), length >= 2771) << length;
    EXPECT_LE(reader_.Duration(), 1.5);
  }
}

TEST_F(OggFileTest, ID3v2TagBeforeTheStreamIsSkipped) {
  QFile real(DataFile("vorbis-tagged.ogg"));
  ASSERT_TRUE(real.open(QIODevice::ReadOnly));
  const QByteArray tag = Bytes().Text("ID3").U8(3).U8(0).U8(0).Fill(3).U8(20).Fill(20);
  ASSERT_TRUE(Read(tag + real.readAll()));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.AudioBytes(), 1563);
}

TEST_F(OggFileTest, ReusedReaderShowsOnlyTheSecondFile) {
  ASSERT_TRUE(reader_.ReadFromFile(DataFile("opus-tagged.opus")));
  ASSERT_TRUE(Read(OpusStream({48312}, 312).replace("ARTIST=Someone", "COMMENT=Nobody")));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Comment().artist, QString());
  EXPECT_EQ(reader_.Comment().title, QStringLiteral("Song"));
  EXPECT_EQ(reader_.Comment().albumArtist, QString());
  EXPECT_FALSE(reader_.Describe().OwnTag.has_value());
  EXPECT_EQ(reader_.Serial(), kSerial);

  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.opus"))));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.FileSize(), 0);
  EXPECT_EQ(reader_.Vendor(), QString());
}

}  // namespace
