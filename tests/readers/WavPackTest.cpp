#include "readers/WavPack.h"

#include "TagFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>
#include <ostream>
#include <string>

namespace {

constexpr uint32_t kUnknown = 0xFFFFFFFF;
constexpr uint32_t kStereo16At44k = 1u | 9u << 23;  // two bytes a sample, rate index 9
constexpr uint32_t kMono = 1u << 2;
constexpr uint32_t kHybrid = 1u << 3;
constexpr uint32_t kInitial = 1u << 11;
constexpr uint32_t kFinal = 1u << 12;
constexpr uint32_t kCustomRate = 15u << 23;
constexpr uint32_t kDsd = 1u << 31;

// One metadata sub-block, padded to whole words; large ones take a 3-byte word count.
QByteArray SubBlock(uint8_t id, const QByteArray& data, bool large = false) {
  const int words = static_cast<int>((data.size() + 1) / 2);
  Bytes block;
  block.U8(static_cast<uint8_t>(id | (data.size() % 2 ? 0x40 : 0) | (large ? 0x80 : 0)));
  if (large)
    block.U8(words & 0xFF).U8((words >> 8) & 0xFF).U8((words >> 16) & 0xFF);
  else
    block.U8(static_cast<uint8_t>(words));
  return block.Raw(data).PadTo(block.Size() + (data.size() % 2));
}

// A block of stream version 0x410 whose ckSize covers its sub-blocks.
QByteArray Block(uint32_t totalSamples, uint32_t blockIndex, uint32_t blockSamples, uint32_t flags,
                 const QByteArray& subBlocks = SubBlock(0x0A, QByteArray(16, '\x55')),
                 uint8_t totalHigh = 0) {
  return Bytes()
      .Text("wvpk")
      .LE32(static_cast<uint32_t>(24 + subBlocks.size()))
      .LE16(0x410)
      .U8(0)
      .U8(totalHigh)
      .LE32(totalSamples)
      .LE32(blockIndex)
      .LE32(blockSamples)
      .LE32(flags)
      .LE32(0)
      .Raw(subBlocks);
}

class WavPackTest : public ::testing::Test {
 protected:
  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.wv"), bytes));
  }
  static QByteArray Fixture(const char* name) {
    QFile file(TestDataPath(QStringLiteral("readers/") + QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  TempFolder folder_;
  TWavPack reader_;
};

// Files made by make_wavpack_mpc8_fixtures.sh. Rate, channels, bits and duration are wvunpack -s
// and ffprobe's; the ratio is 100 minus wvunpack's "compression", which divides the whole file
// by the PCM data just as Ratio does. Two exceptions: for the 20-bit file wvunpack divides by the
// 3-byte container (98.36%), so the ratio here is the file over 20-bit PCM; and the file of
// unknown length has its figures from wvunpack alone, as ffprobe 5.1 gives no duration and
// mutagen 1.46 (which counts every block as two channels' samples) says 4 s of stereo.
struct WavPackCase {
  const char* file;
  int sampleRate;
  int channels;
  int bits;
  double duration;
  bool hybrid;
  double ratio;  // lossless only
  int bitRate;   // hybrid only: wvunpack's "ave bitrate", ffprobe's 19061 b/s
  bool lengthCounted;
};

void PrintTo(const WavPackCase& c, std::ostream* out) {
  *out << c.file;
}

class WavPackFileTest : public ::testing::TestWithParam<WavPackCase> {};

TEST_P(WavPackFileTest, MatchesWvunpackAndFfprobe) {
  const WavPackCase& c = GetParam();
  TWavPack reader;
  ASSERT_TRUE(
      reader.ReadFromFile(TestDataPath(QStringLiteral("readers/") + QLatin1String(c.file))));
  ASSERT_TRUE(reader.Valid());
  EXPECT_EQ(reader.SampleRate(), c.sampleRate);
  EXPECT_EQ(reader.Channels(), c.channels);
  EXPECT_EQ(reader.BitsPerSample(), c.bits);
  EXPECT_NEAR(reader.Duration(), c.duration, 1e-9);
  EXPECT_EQ(reader.Hybrid(), c.hybrid);
  EXPECT_EQ(reader.LengthCounted(), c.lengthCounted);
  // wvunpack: "encoder version: 5"; WavPack 5.6 writes stream version 0x410.
  EXPECT_EQ(reader.Version(), 0x410);
  const StreamFacts facts = reader.Describe();
  EXPECT_EQ(facts.VersionText, QStringLiteral("WavPack 5.0"));
  EXPECT_EQ(facts.SampleRateText, QStringLiteral("%1 HZ / %2 Bit").arg(c.sampleRate).arg(c.bits));
  if (c.hybrid) {
    EXPECT_EQ(facts.BitRate, c.bitRate);
    EXPECT_FALSE(facts.Ratio.has_value());
  } else {
    ASSERT_TRUE(facts.Ratio.has_value());
    EXPECT_NEAR(*facts.Ratio, c.ratio, 0.01);
    EXPECT_FALSE(facts.BitRate.has_value());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, WavPackFileTest,
    ::testing::Values(WavPackCase{"wavpack-16.wv", 44100, 2, 16, 1.5, false, 0.75, 0, false},
                      WavPackCase{"wavpack-24.wv", 48000, 2, 24, 1.2, false, 1.35, 0, false},
                      WavPackCase{"wavpack-20bit.wv", 44100, 2, 20, 1.0, false, 1.97, 0, false},
                      WavPackCase{"wavpack-mono.wv", 22050, 1, 16, 2.5, false, 0.93, 0, false},
                      WavPackCase{"wavpack-44056.wv", 44056, 1, 16, 1.0, false, 2.01, 0, false},
                      WavPackCase{"wavpack-apetag.wv", 44100, 2, 16, 1.5, false, 0.80, 0, false},
                      WavPackCase{"wavpack-hybrid.wv", 44100, 2, 16, 1.5, true, 0, 19, false},
                      WavPackCase{"wavpack-unknown-length.wv", 8000, 6, 16, 1.0, false, 1.08, 0,
                                  true}),
    [](const auto& info) {
      std::string name = info.param.file;
      name = name.substr(0, name.find('.'));
      std::erase(name, '-');
      return name;
    });

TEST_F(WavPackTest, DescribesHybridAndLosslessStreams) {
  ASSERT_TRUE(reader_.ReadFromFile(TestDataPath(QStringLiteral("readers/wavpack-hybrid.wv"))));
  StreamFacts facts = reader_.Describe();
  EXPECT_EQ(facts.Codec, QStringLiteral("WavPack hybrid"));
  EXPECT_EQ(facts.QualityLabel, QStringLiteral("Lossy (hybrid)"));
  EXPECT_EQ(facts.Quality, StreamFacts::QualityRule::Fixed);
  EXPECT_EQ(facts.EncoderText, QStringLiteral("WavPack (WV)"));
  EXPECT_EQ(facts.ChannelsText, QStringLiteral("Stereo"));
  EXPECT_EQ(facts.BitsPerSample, 16);
  EXPECT_TRUE(facts.OwnTagName.isEmpty());
  EXPECT_FALSE(facts.OwnTag.has_value());

  // The APE tag (mediainfo's stream size: 1996 of 2113 bytes) is not audio.
  ASSERT_TRUE(reader_.ReadFromFile(TestDataPath(QStringLiteral("readers/wavpack-apetag.wv"))));
  EXPECT_EQ(reader_.AudioBytes(), 1996);
  EXPECT_EQ(reader_.FileSize(), 2113);
  facts = reader_.Describe();
  EXPECT_EQ(facts.Codec, QStringLiteral("WavPack"));
  EXPECT_EQ(facts.QualityLabel, QStringLiteral("Lossless"));
  EXPECT_TRUE(facts.Lossless());

  ASSERT_TRUE(
      reader_.ReadFromFile(TestDataPath(QStringLiteral("readers/wavpack-unknown-length.wv"))));
  EXPECT_FALSE(reader_.Describe().ChannelsText.has_value());
}

// The walk over a stream of unknown length must end where the tags begin: this APE tag holds a
// block header claiming a million samples, and an ID3v1 tag follows it.
TEST_F(WavPackTest, CountingStopsAtTheTagsAtTheEnd) {
  const QByteArray stream = Fixture("wavpack-unknown-length.wv");
  const QByteArray decoy = Block(kUnknown, 8000, 1000000, kStereo16At44k | kInitial | kFinal);
  ASSERT_TRUE(Read(stream + fixtures::APETag("Decoy", decoy) + fixtures::ID3v1Tag()));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_TRUE(reader_.LengthCounted());
  EXPECT_EQ(reader_.TotalSamples(), 8000);
  EXPECT_EQ(reader_.AudioBytes(), stream.size());

  // Without the tag around it the same block is counted: the test above can fail.
  ASSERT_TRUE(Read(stream + decoy));
  EXPECT_EQ(reader_.TotalSamples(), 1008000);
}

TEST_F(WavPackTest, CountingSkipsDamageAndCountsOnlyInitialBlocks) {
  const uint32_t flags = kStereo16At44k | kInitial | kFinal;
  // A stereo pair and a mono block make one group of samples: only the first counts.
  const QByteArray group = Block(kUnknown, 0, 22050, kStereo16At44k | kInitial) +
                           Block(kUnknown, 0, 22050, kStereo16At44k | kMono | kFinal);
  QByteArray damaged = Block(kUnknown, 22050, 22050, flags);
  damaged[0] = 'x';
  ASSERT_TRUE(Read(group + damaged + Block(kUnknown, 22050, 11025, flags)));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.TotalSamples(), 22050 + 11025);
  EXPECT_NEAR(reader_.Duration(), 0.75, 1e-9);

  // No block follows the first: its own samples are the length.
  ASSERT_TRUE(Read(Block(kUnknown, 0, 22050, flags)));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.TotalSamples(), 22050);

  // A stream cut out of a longer one does not start at sample 0: its stated length is not its own.
  ASSERT_TRUE(Read(Block(441000, 88200, 22050, flags) + Block(441000, 110250, 22050, flags)));
  EXPECT_TRUE(reader_.LengthCounted());
  EXPECT_EQ(reader_.TotalSamples(), 44100);
}

TEST_F(WavPackTest, MetadataSubBlocksGiveRateAndChannels) {
  // A large padding sub-block first, then an odd-sized channel info (three channels and a 4-byte
  // speaker mask) and a rate outside the table in four bytes.
  const QByteArray subBlocks = SubBlock(0x00, QByteArray(600, '\0'), true) +
                               SubBlock(0x0D, QByteArray("\x03\x07\x00\x00\x00", 5)) +
                               SubBlock(0x27, QByteArray("\x00\x77\x01\x00", 4)) +
                               SubBlock(0x0A, QByteArray(8, '\x11'));
  ASSERT_TRUE(Read(Block(96000, 0, 96000, 1u | kCustomRate | kInitial, subBlocks)));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Channels(), 3);
  EXPECT_EQ(reader_.SampleRate(), 96000);
  EXPECT_NEAR(reader_.Duration(), 1.0, 1e-9);

  // Since 5.0 six bytes carry up to 4096 channels: count - 1 in twelve bits.
  ASSERT_TRUE(Read(Block(96000, 0, 96000, 1u | 13u << 23 | kInitial,
                         SubBlock(0x0D, QByteArray("\xFF\x07\x00\x00\x00\x00", 6)))));
  EXPECT_EQ(reader_.Channels(), 256);

  // A custom rate without its sub-block leaves the stream without a rate.
  ASSERT_TRUE(Read(Block(96000, 0, 96000, 1u | kCustomRate | kInitial)));
  EXPECT_EQ(reader_.SampleRate(), 0);
  EXPECT_FALSE(reader_.Valid());
}

TEST_F(WavPackTest, HostileCountsStayBounded) {
  const uint32_t flags = kStereo16At44k | kInitial | kFinal;
  // 10^9 declared samples: a long but finite playing time.
  ASSERT_TRUE(Read(Block(1000000000, 0, 22050, flags)));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_NEAR(reader_.Duration(), 1e9 / 44100, 1e-6);
  // The 40-bit length skips the codes whose low 32 bits are all set.
  ASSERT_TRUE(Read(Block(5, 0, 22050, flags, SubBlock(0x0A, "xx"), 1)));
  EXPECT_EQ(reader_.TotalSamples(), (int64_t{1} << 32) + 5 - 1);
  // All ones in the low bits mean "unknown" whatever the high byte says.
  ASSERT_TRUE(Read(Block(kUnknown, 0, 22050, flags, SubBlock(0x0A, "xx"), 7)));
  EXPECT_EQ(reader_.TotalSamples(), 22050);

  // A block claiming more than 1 MiB is no block.
  QByteArray huge = Block(44100, 0, 44100, flags);
  huge[4] = '\x00';
  huge[5] = '\x00';
  huge[6] = '\x20';  // ckSize 0x200000
  EXPECT_FALSE(Read(huge + QByteArray(4096, '\0')));
  EXPECT_FALSE(reader_.Valid());

  // Blocks without samples before any audio: probed, but no stream.
  QByteArray empty;
  for (int i = 0; i < 200; ++i)
    empty += Block(kUnknown, 0, 0, flags);
  EXPECT_TRUE(Read(empty));
  EXPECT_FALSE(reader_.Valid());
  // And after the first audio block they add nothing.
  ASSERT_TRUE(Read(Block(kUnknown, 0, 22050, flags) + empty));
  EXPECT_EQ(reader_.TotalSamples(), 22050);

  // DSD is not described.
  ASSERT_TRUE(Read(Block(44100, 0, 44100, flags | kDsd)));
  EXPECT_FALSE(reader_.Valid());
  // A shift larger than the sample leaves no bits.
  ASSERT_TRUE(Read(Block(44100, 0, 44100, flags | 31u << 13)));
  EXPECT_FALSE(reader_.Valid());
  // A stream version that cannot be decoded.
  QByteArray future = Block(44100, 0, 44100, flags);
  future[9] = '\x05';  // 0x510
  EXPECT_FALSE(Read(future));
  EXPECT_FALSE(reader_.Valid());
}

TEST_F(WavPackTest, CutFilesKeepWhatTheirHeadersSay) {
  const QByteArray whole = Fixture("wavpack-16.wv");
  for (const int length : {0, 10, 31}) {
    EXPECT_FALSE(Read(whole.left(length))) << length;
    EXPECT_FALSE(reader_.Valid()) << length;
  }
  // The first block's header states the length; the audio after the cut is simply missing.
  ASSERT_TRUE(Read(whole.left(100)));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_NEAR(reader_.Duration(), 1.5, 1e-9);
  // A stream of unknown length counts only the blocks the file holds whole: the cut falls into
  // the initial block of the second group of samples (bytes 762 to 833).
  ASSERT_TRUE(Read(Fixture("wavpack-unknown-length.wv").left(800)));
  EXPECT_EQ(reader_.TotalSamples(), 4000);
}

TEST_F(WavPackTest, ReusedReaderShowsOnlyTheSecondFile) {
  ASSERT_TRUE(reader_.ReadFromFile(TestDataPath(QStringLiteral("readers/wavpack-hybrid.wv"))));
  ASSERT_TRUE(reader_.Hybrid());
  ASSERT_TRUE(reader_.ReadFromFile(TestDataPath(QStringLiteral("readers/wavpack-mono.wv"))));
  EXPECT_FALSE(reader_.Hybrid());
  EXPECT_EQ(reader_.Channels(), 1);
  EXPECT_EQ(reader_.SampleRate(), 22050);
  EXPECT_EQ(reader_.FileSize(), 1030);
  EXPECT_EQ(reader_.AudioBytes(), 1030);

  EXPECT_FALSE(Read(QByteArray(64, 'x')));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.Channels(), 0);
  EXPECT_EQ(reader_.TotalSamples(), 0);
  EXPECT_EQ(reader_.FileSize(), 64);
  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.wv"))));
  EXPECT_EQ(reader_.FileSize(), 0);
}

}  // namespace
