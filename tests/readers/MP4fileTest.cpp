#include "readers/MP4file.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

namespace {

QByteArray Box(const char* type, const QByteArray& payload) {
  return Bytes().BE32(static_cast<uint32_t>(8 + payload.size())).Text(type).Raw(payload);
}

QByteArray FullBox(const char* type, const QByteArray& payload) {
  return Box(type, Bytes().BE32(0).Raw(payload));
}

QByteArray Descriptor(uint8_t tag, const QByteArray& body) {
  return Bytes().U8(tag).U8(static_cast<uint8_t>(body.size())).Raw(body);
}

QByteArray Esds(const QByteArray& audioSpecificConfig, uint32_t avgBitrate) {
  Bytes decoderConfig;
  decoderConfig.U8(0x40).U8(0x15).BE24(0).BE32(avgBitrate).BE32(avgBitrate);
  decoderConfig.Raw(Descriptor(0x05, audioSpecificConfig));
  const QByteArray es = Bytes().BE16(1).U8(0).Raw(Descriptor(0x04, decoderConfig));
  return FullBox("esds", Descriptor(0x03, es + Descriptor(0x06, "\x02")));
}

QByteArray SampleEntry(const char* type, int channels, uint32_t rate, const QByteArray& codec) {
  Bytes entry;
  entry.Fill(6).BE16(1).Fill(8).BE16(static_cast<uint16_t>(channels)).BE16(16).Fill(4);
  return Box(type, entry.BE32(rate << 16).Raw(codec));
}

QByteArray Item(const char* type, uint32_t dataType, const QByteArray& value) {
  return Box(type, Box("data", Bytes().BE32(dataType).BE32(0).Raw(value)));
}

struct Movie {
  QByteArray sampleEntry;
  uint32_t timescale = 48000;
  uint32_t duration = 96000;
  uint32_t movieDuration = 2000;  // in thousandths
  QByteArray items;
  int mediaBytes = 4000;
  bool quickTimeMeta = false;
};

// ftyp, mdat, then moov with one sound track and an item list.
QByteArray Mp4(const Movie& m) {
  const QByteArray mdhd =
      FullBox("mdhd", Bytes().BE32(0).BE32(0).BE32(m.timescale).BE32(m.duration).BE32(0x55C40000));
  const QByteArray hdlr = FullBox("hdlr", Bytes().BE32(0).Text("soun").Fill(13));
  const QByteArray stsd = FullBox("stsd", Bytes().BE32(1).Raw(m.sampleEntry));
  const QByteArray trak = Box("trak", Box("mdia", mdhd + hdlr + Box("minf", Box("stbl", stsd))));
  const QByteArray mvhd =
      FullBox("mvhd", Bytes().BE32(0).BE32(0).BE32(1000).BE32(m.movieDuration).Fill(80));
  const QByteArray metaChildren =
      FullBox("hdlr", Bytes().BE32(0).Text("mdirappl").Fill(9)) + Box("ilst", m.items);
  const QByteArray meta =
      m.quickTimeMeta ? Box("meta", metaChildren) : FullBox("meta", metaChildren);
  return Box("ftyp", Bytes().Text("M4A ").BE32(0).Text("M4A isom")) +
         Box("mdat", QByteArray(m.mediaBytes, 'm')) + Box("moov", mvhd + trak + Box("udta", meta));
}

Movie MovieOf(const QByteArray& sampleEntry) {
  Movie movie;
  movie.sampleEntry = sampleEntry;
  return movie;
}

QByteArray AacEntry(const QByteArray& audioSpecificConfig, uint32_t avgBitrate = 0) {
  return SampleEntry("mp4a", 2, 44100, Esds(audioSpecificConfig, avgBitrate));
}

QString DataFile(const char* name) {
  return TestDataPath(QStringLiteral("readers/") + QLatin1String(name));
}

QByteArray RealFile(const char* name) {
  QFile file(DataFile(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MP4fileTest : public ::testing::Test {
 protected:
  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.m4a"), bytes));
  }

  TempFolder folder_;
  TMP4file reader_;
};

// ffmpeg 5.1's AAC encoder at 24 kbit/s, 1.5 s of a 44.1 kHz stereo tone.
TEST_F(MP4fileTest, RealAacMatchesFfprobeMutagenAndMediainfo) {
  ASSERT_TRUE(reader_.ReadFromFile(DataFile("aac-lc.m4a")));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Codec(), TMP4file::CodecKind::Aac);
  EXPECT_EQ(reader_.CodecName(), QStringLiteral("AAC LC"));  // mutagen, ffprobe profile LC
  EXPECT_EQ(reader_.FileSize(), 6114);                       // ffprobe format size
  EXPECT_EQ(reader_.SampleRate(), 44100);
  EXPECT_EQ(reader_.Channels(), 2);
  // mutagen 1.5232 and mediainfo "Source duration 1 s 523 ms" from the media header; ffprobe's
  // 1.5 applies the edit list.
  EXPECT_NEAR(reader_.Duration(), 1.523220, 0.0001);
  EXPECT_NEAR(reader_.Duration(), 1.5, 0.05);
  EXPECT_EQ(reader_.AvgBitrate(), 25503u);  // ffprobe stream bit_rate, mutagen bitrate
  EXPECT_EQ(reader_.BitRate(), 26);
  EXPECT_EQ(reader_.MediaDataBytes(), 4864 - 8);
  // ffmpeg signals "no SBR" explicitly after the core's config.
  EXPECT_FALSE(reader_.HasSbr());
  EXPECT_EQ(reader_.AudioObjectType(), 2);

  const StreamFacts facts = reader_.Describe();
  EXPECT_EQ(facts.Codec, QStringLiteral("AAC LC"));
  EXPECT_EQ(facts.VersionText, QStringLiteral("MPEG-4 AAC LC"));
  EXPECT_EQ(facts.SampleRateText, QStringLiteral("44100 hz"));
  EXPECT_EQ(facts.ChannelsText, QStringLiteral("Stereo"));
  EXPECT_EQ(facts.EncoderText, QStringLiteral("Lavf59.27.100"));  // mutagen ©too
  EXPECT_EQ(facts.BitRate, 26);
  EXPECT_FALSE(facts.BitsPerSample.has_value());
  EXPECT_EQ(facts.QualityLabel, QStringLiteral("Lossy"));
  EXPECT_EQ(facts.OwnTagName, QStringLiteral("MP4"));
  // mutagen's tags.
  ASSERT_TRUE(facts.OwnTag.has_value());
  EXPECT_EQ(facts.OwnTag->Artist, QStringLiteral("Test Artist"));
  EXPECT_EQ(facts.OwnTag->Title, QStringLiteral("AAC Title"));
  EXPECT_EQ(facts.OwnTag->Album, QStringLiteral("Fixtures"));
  EXPECT_EQ(facts.OwnTag->Year, QStringLiteral("2022"));
  EXPECT_EQ(facts.OwnTag->Genre, QStringLiteral("Jazz"));
  EXPECT_EQ(facts.OwnTag->AlbumArtist, QStringLiteral("Various"));
}

// ffmpeg 5.1's ALAC encoder, 1.5 s of an 8 kHz mono tone in 16 bits.
TEST_F(MP4fileTest, RealAlacMatchesFfprobeMutagenAndMediainfo) {
  ASSERT_TRUE(reader_.ReadFromFile(DataFile("alac.m4a")));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Codec(), TMP4file::CodecKind::Alac);
  EXPECT_EQ(reader_.SampleRate(), 8000);
  EXPECT_EQ(reader_.Channels(), 1);
  EXPECT_EQ(reader_.BitsPerSample(), 16);  // ffprobe bits_per_raw_sample, mediainfo bit depth
  EXPECT_NEAR(reader_.Duration(), 1.5, 0.0001);
  EXPECT_EQ(reader_.Alac().FrameLength, 4096u);
  EXPECT_EQ(reader_.Alac().AvgBitRate, 128000u);  // mutagen bitrate, mediainfo nominal rate
  EXPECT_EQ(reader_.Alac().MaxFrameBytes, 8196u);
  // The whole file, 5388 bytes, over 1.5 s * 8000 Hz * 2 bytes.
  EXPECT_NEAR(reader_.Ratio(), 5388.0 / 24000 * 100, 1e-9);

  const StreamFacts facts = reader_.Describe();
  EXPECT_EQ(facts.Codec, QStringLiteral("ALAC"));
  EXPECT_EQ(facts.VersionText, QStringLiteral("MPEG-4 ALAC"));
  EXPECT_EQ(facts.SampleRateText, QStringLiteral("8000 HZ / 16 Bit"));
  EXPECT_EQ(facts.ChannelsText, QStringLiteral("Mono"));
  EXPECT_EQ(facts.EncoderText, QStringLiteral("Apple Lossless Audio Codec (ALAC)"));
  EXPECT_EQ(facts.BitsPerSample, 16);
  ASSERT_TRUE(facts.Lossless());
  EXPECT_NEAR(*facts.Ratio, 22.45, 0.005);
  EXPECT_FALSE(facts.BitRate.has_value());
  EXPECT_EQ(facts.QualityLabel, QStringLiteral("Lossless"));
  ASSERT_TRUE(facts.OwnTag.has_value());
  EXPECT_EQ(facts.OwnTag->Title, QStringLiteral("ALAC Title"));
  EXPECT_EQ(facts.OwnTag->Year, QStringLiteral("2021"));
  EXPECT_EQ(facts.OwnTag->Genre, QStringLiteral("Blues"));
  EXPECT_EQ(facts.OwnTag->AlbumArtist, QString());
}

struct SignallingCase {
  const char* name;
  QByteArray audioSpecificConfig;
  const char* codec;
  int sampleRate;
  int channels;
};

void PrintTo(const SignallingCase& c, std::ostream* out) {
  *out << c.name;
}

class AacSignallingTest : public MP4fileTest,
                          public ::testing::WithParamInterface<SignallingCase> {};

// The same configurations put into a copy of aac-lc.m4a: mediainfo names them "AAC LC SBR"
// (HE-AAC) and "AAC LC SBR PS" (HE-AACv2), and ffprobe shows the rate and channels expected here.
TEST_P(AacSignallingTest, NamesTheCodingAndItsOutputRate) {
  const SignallingCase& c = GetParam();
  ASSERT_TRUE(Read(Mp4(MovieOf(AacEntry(c.audioSpecificConfig)))));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.CodecName(), QLatin1String(c.codec));
  EXPECT_EQ(reader_.Describe().VersionText, QStringLiteral("MPEG-4 ") + QLatin1String(c.codec));
  EXPECT_EQ(reader_.SampleRate(), c.sampleRate);
  EXPECT_EQ(reader_.Channels(), c.channels);
  EXPECT_DOUBLE_EQ(reader_.Duration(), 2.0);
  // Without an average in the descriptor: the media data over the duration.
  EXPECT_EQ(reader_.BitRate(), 16);
  EXPECT_EQ(reader_.Describe().EncoderText, QStringLiteral("AAC"));
}

INSTANTIATE_TEST_SUITE_P(
    Configs, AacSignallingTest,
    ::testing::Values(
        SignallingCase{"ImplicitSbr", QByteArray::fromHex("2b118800"), "HE-AAC", 48000, 2},
        SignallingCase{"ImplicitPs", QByteArray::fromHex("eb098800"), "HE-AACv2", 48000, 2},
        SignallingCase{"ExplicitSbr", QByteArray::fromHex("131056e598"), "HE-AAC", 48000, 2},
        SignallingCase{"ExplicitPs", QByteArray::fromHex("130856e59d4880"), "HE-AACv2", 48000, 2},
        SignallingCase{"ExplicitNoSbr", QByteArray::fromHex("121056e500"), "AAC LC", 44100, 2},
        SignallingCase{"ExplicitRate", QByteArray::fromHex("1780562210"), "AAC LC", 44100, 2},
        // Object type 31 escapes to 32 + 10 (USAC), rate 48000, mono.
        SignallingCase{"EscapedObjectType", QByteArray::fromHex("f94620"), "AAC", 48000, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MP4fileTest, ItemsOfAQuickTimeMetaAndAGenreNumber) {
  const QByteArray longTitle(10000, 'T');
  Movie movie = MovieOf(AacEntry(QByteArray::fromHex("1210"), 128000));
  movie.items = Item(
                    "\xA9"
                    "ART",
                    1, "Artist") +
                Item("gnre", 0, Bytes().BE16(18)) + Item("\xA9nam", 1, longTitle) +
                Item(
                    "\xA9"
                    "alb",
                    2, "not UTF-8") +
                Item("\xA9too", 1, "iTunes 12");
  movie.quickTimeMeta = true;
  ASSERT_TRUE(Read(Mp4(movie)));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Genre(), QStringLiteral("Rock"));  // ID3v1 genre 17
  EXPECT_EQ(reader_.Title(), QString(4096, u'T'));
  EXPECT_EQ(reader_.Album(), QString());
  EXPECT_EQ(reader_.BitRate(), 128);
  const StreamFacts facts = reader_.Describe();
  EXPECT_EQ(facts.EncoderText, QStringLiteral("iTunes 12"));
  ASSERT_TRUE(facts.OwnTag.has_value());
  EXPECT_EQ(facts.OwnTag->Artist, QStringLiteral("Artist"));
}

TEST_F(MP4fileTest, HostileBoxesEndTheWalkSafely) {
  const QByteArray file = Mp4(MovieOf(AacEntry(QByteArray::fromHex("1210"))));
  const qsizetype moov = file.indexOf("moov") - 4;

  // A moov whose size runs past the end of the file is read up to there.
  QByteArray pastEnd = file;
  pastEnd.replace(moov, 4, QByteArray(Bytes().BE32(0x7FFFFFF0)));
  ASSERT_TRUE(Read(pastEnd));
  EXPECT_TRUE(reader_.Valid());

  // A box of size 0 inside moov reaches to moov's end; a box smaller than its header, or one
  // whose largesize is 0, ends the walk.
  for (const QByteArray& bad :
       {QByteArray(Bytes().BE32(0).Text("free")), QByteArray(Bytes().BE32(4).Text("free")),
        QByteArray(Bytes().BE32(1).Text("free").BE32(0).BE32(0))}) {
    QByteArray broken = file;
    broken.insert(moov + 8, bad);
    broken.replace(
        moov, 4, QByteArray(Bytes().BE32(static_cast<uint32_t>(file.size() - moov + bad.size()))));
    ASSERT_TRUE(Read(broken));
    EXPECT_FALSE(reader_.Valid());
  }

  // An mdat of a declared 2^62 bytes is cut at the end of the file, which also ends the walk.
  QByteArray huge = file;
  const qsizetype mdat = huge.indexOf("mdat") - 4;
  huge.replace(mdat, 8, QByteArray(Bytes().BE32(1).Text("mdat").BE32(0x40000000).BE32(0)));
  ASSERT_TRUE(Read(huge));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.MediaDataBytes(), huge.size() - mdat - 16);

  // Two hundred thousand empty boxes before moov: the walk gives up instead of reading them all.
  QByteArray manyBoxes;
  for (int i = 0; i < 200000; ++i)
    manyBoxes += Box("free", {});
  ASSERT_TRUE(Read(manyBoxes + file));
  EXPECT_FALSE(reader_.Valid());

  EXPECT_FALSE(Read(QByteArray("\x00\x00\x00\x08\x01\x02\x03\x04", 8)));
  EXPECT_FALSE(Read(QByteArray()));
}

TEST_F(MP4fileTest, BillionDeclaredSamplesGiveSaneValues) {
  // Frame length 4096, 24 bits, 2 channels, 1 Hz.
  const QByteArray cookie =
      QByteArray::fromHex("00001000 0018280a0e02 00ff 00000000 00000000 00000001");
  Movie movie = MovieOf(SampleEntry("alac", 2, 44100, FullBox("alac", cookie)));
  movie.timescale = 1;
  movie.duration = 1000000000;
  ASSERT_TRUE(Read(Mp4(movie)));
  ASSERT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.SampleRate(), 1);
  EXPECT_EQ(reader_.BitsPerSample(), 24);
  EXPECT_DOUBLE_EQ(reader_.Duration(), 1e9);
  EXPECT_GT(reader_.Ratio(), 0);
  EXPECT_LT(reader_.Ratio(), 1);

  // Without a track duration the movie's stands; without either, nothing is divided by it.
  movie.duration = 0;
  movie.movieDuration = 50;
  ASSERT_TRUE(Read(Mp4(movie)));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_DOUBLE_EQ(reader_.Duration(), 0.05);
  movie.movieDuration = 0;
  ASSERT_TRUE(Read(Mp4(movie)));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.Ratio(), 0);
  EXPECT_EQ(reader_.BitRate(), 0);
}

TEST_F(MP4fileTest, EveryCutOfARealFileReadsSafely) {
  const QByteArray whole = RealFile("aac-lc.m4a");
  ASSERT_FALSE(whole.isEmpty());
  for (qsizetype length = 0; length < whole.size(); length += 41) {
    Read(whole.left(length));
    // moov comes after the media data; the stream is known once the decoder configuration in
    // the sample description (5382 to 5411) is there.
    if (length < 5380) {
      EXPECT_FALSE(reader_.Valid()) << length;
    } else if (length >= 5411) {
      EXPECT_TRUE(reader_.Valid()) << length;
    }
    if (reader_.Valid()) {
      EXPECT_NEAR(reader_.Duration(), 1.5232, 0.001);
    }
  }
}

TEST_F(MP4fileTest, ReusedReaderShowsOnlyTheSecondFile) {
  ASSERT_TRUE(reader_.ReadFromFile(DataFile("alac.m4a")));
  ASSERT_TRUE(Read(Mp4(MovieOf(AacEntry(QByteArray::fromHex("2b118800"))))));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Codec(), TMP4file::CodecKind::Aac);
  EXPECT_EQ(reader_.Artist(), QString());
  EXPECT_EQ(reader_.Encoder(), QString());
  EXPECT_EQ(reader_.Alac().FrameLength, 0u);
  EXPECT_FALSE(reader_.Describe().OwnTag.has_value());

  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.m4a"))));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.FileSize(), 0);
}

TEST_F(MP4fileTest, ID3v2TagBeforeTheBoxesIsSkipped) {
  const QByteArray tag = Bytes().Text("ID3").U8(4).U8(0).U8(0).Fill(3).U8(10).Fill(10);
  ASSERT_TRUE(Read(tag + RealFile("alac.m4a")));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Title(), QStringLiteral("ALAC Title"));
}

}  // namespace
