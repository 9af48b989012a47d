#include "readers/Monkey.h"

#include "TagFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

namespace {

struct NewLayout {
  uint16_t version = 3990;
  uint32_t descriptorLength = 52;
  uint32_t headerLength = 24;
  uint16_t compressionLevel = 2000;
  uint16_t formatFlags = 0;
  uint32_t blocksPerFrame = 73728;
  uint32_t finalFrameBlocks = 1000;
  uint32_t totalFrames = 100;
  uint16_t bitsPerSample = 16;
  uint16_t channels = 2;
  uint32_t sampleRate = 44100;

  // The 52-byte descriptor (padded with 0xEE up to its stated length) and the 24-byte header.
  QByteArray Bytes() const {
    ::Bytes file;
    file.Text("MAC ").LE16(version).LE16(0).LE32(descriptorLength).LE32(headerLength);
    file.Fill(20, 0x11).Fill(16, 0x22).PadTo(static_cast<int>(descriptorLength), 0xEE);
    file.LE16(compressionLevel).LE16(formatFlags).LE32(blocksPerFrame).LE32(finalFrameBlocks);
    file.LE32(totalFrames).LE16(bitsPerSample).LE16(channels).LE32(sampleRate);
    return file;
  }
};

struct OldLayout {
  uint16_t version = 3930;
  uint16_t compressionLevel = 2000;
  uint16_t formatFlags = 0;
  uint16_t channels = 2;
  uint32_t sampleRate = 44100;
  uint32_t totalFrames = 10;
  uint32_t finalFrameBlocks = 500;

  QByteArray Bytes() const {
    return ::Bytes()
        .Text("MAC ")
        .LE16(version)
        .LE16(compressionLevel)
        .LE16(formatFlags)
        .LE16(channels)
        .LE32(sampleRate)
        .LE32(44)
        .LE32(0)
        .LE32(totalFrames)
        .LE32(finalFrameBlocks)
        .LE32(0);
  }
};

const QByteArray kAudio(2000, '\x5A');

class MonkeyTest : public ::testing::Test {
 protected:
  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.ape"), bytes));
  }

  TempFolder folder_;
  TMonkey reader_;
};

// 99 full frames of 73728 blocks and a last one of 1000: 7300072 samples, 165.5345 s.
TEST_F(MonkeyTest, DescriptorLayoutStreamFacts) {
  ASSERT_TRUE(Read(NewLayout().Bytes() + kAudio));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.Version(), 3990);
  EXPECT_EQ(reader_.VersionString(), QStringLiteral("3.99"));
  EXPECT_EQ(reader_.TotalSamples(), 7300072);
  EXPECT_NEAR(reader_.Duration(), 165.5345, 0.0001);
  EXPECT_EQ(reader_.SampleRate(), 44100);
  EXPECT_EQ(reader_.Channels(), 2);
  EXPECT_EQ(reader_.BitsPerSample(), 16);
  EXPECT_EQ(reader_.CompressionLevel(), 2000);
  EXPECT_EQ(reader_.CompressionLevelText(), QStringLiteral("Normal"));
}

TEST_F(MonkeyTest, LongerDescriptorIsSkipped) {
  NewLayout layout;
  layout.descriptorLength = 60;
  layout.sampleRate = 48000;
  layout.formatFlags = 0x0020;
  ASSERT_TRUE(Read(layout.Bytes() + kAudio));
  EXPECT_EQ(reader_.SampleRate(), 48000);
  EXPECT_EQ(reader_.FormatFlags(), 0x0020);
  EXPECT_TRUE(reader_.Valid());
}

TEST_F(MonkeyTest, ShortHeaderLengthLeavesMissingFieldsZero) {
  NewLayout layout;
  layout.headerLength = 20;
  EXPECT_FALSE(Read(layout.Bytes() + kAudio));
  EXPECT_EQ(reader_.SampleRate(), 0);
  EXPECT_EQ(reader_.Channels(), 2);
  EXPECT_FALSE(reader_.Valid());
}

TEST_F(MonkeyTest, HeaderLengthAbove24ReadsOnly24) {
  NewLayout layout;
  layout.headerLength = 1000;
  EXPECT_TRUE(Read(layout.Bytes() + kAudio));
}

struct PastEndCase {
  const char* name;
  uint32_t descriptorLength;
  int keptBytes;  // of the fixture without audio; -1 keeps everything
};

class MonkeyPastEndTest : public MonkeyTest, public ::testing::WithParamInterface<PastEndCase> {};

TEST_P(MonkeyPastEndTest, LengthPointingPastEndIsNotValid) {
  NewLayout layout;
  layout.descriptorLength = GetParam().descriptorLength;
  QByteArray file = layout.Bytes();
  if (GetParam().keptBytes >= 0)
    file = file.left(GetParam().keptBytes);
  EXPECT_FALSE(Read(file));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.Ratio(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lengths, MonkeyPastEndTest,
                         ::testing::Values(PastEndCase{"DescriptorLengthHuge", 0xFFFFFFF0u, 52},
                                           PastEndCase{"DescriptorLengthPastEnd", 200, 120},
                                           PastEndCase{"HeaderCutShort", 52, 52 + 23},
                                           PastEndCase{"DescriptorCutShort", 52, 40}),
                         [](const auto& info) { return std::string(info.param.name); });

struct OldLayoutCase {
  uint16_t version;
  uint16_t level;
  int64_t blocksPerFrame;
};

class MonkeyOldLayoutTest : public MonkeyTest,
                            public ::testing::WithParamInterface<OldLayoutCase> {};

TEST_P(MonkeyOldLayoutTest, BlocksPerFrameByVersionAndLevel) {
  OldLayout layout;
  layout.version = GetParam().version;
  layout.compressionLevel = GetParam().level;
  ASSERT_TRUE(Read(layout.Bytes() + kAudio));
  EXPECT_EQ(reader_.TotalSamples(), 9 * GetParam().blocksPerFrame + 500);
  EXPECT_EQ(reader_.BitsPerSample(), 16);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, MonkeyOldLayoutTest,
    ::testing::Values(OldLayoutCase{3979, 2000, 294912}, OldLayoutCase{3950, 1000, 294912},
                      OldLayoutCase{3949, 1000, 73728}, OldLayoutCase{3930, 2000, 73728},
                      OldLayoutCase{3900, 2000, 73728}, OldLayoutCase{3899, 2000, 9216},
                      OldLayoutCase{3800, 4000, 73728}, OldLayoutCase{3800, 3000, 9216},
                      OldLayoutCase{3700, 4000, 9216}));

class MonkeyBitsTest : public MonkeyTest,
                       public ::testing::WithParamInterface<std::pair<uint16_t, int>> {};

TEST_P(MonkeyBitsTest, OldLayoutBitsFromFlags) {
  OldLayout layout;
  layout.formatFlags = GetParam().first;
  ASSERT_TRUE(Read(layout.Bytes() + kAudio));
  EXPECT_EQ(reader_.BitsPerSample(), GetParam().second);
  EXPECT_EQ(reader_.FormatFlags(), GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(Flags, MonkeyBitsTest,
                         ::testing::Values(std::pair<uint16_t, int>{0, 16},
                                           std::pair<uint16_t, int>{1, 8},
                                           std::pair<uint16_t, int>{8, 24},
                                           std::pair<uint16_t, int>{9, 24},
                                           std::pair<uint16_t, int>{2, 16}));

class MonkeyLevelTest : public MonkeyTest,
                        public ::testing::WithParamInterface<std::pair<uint16_t, const char*>> {};

TEST_P(MonkeyLevelTest, LevelText) {
  NewLayout layout;
  layout.compressionLevel = GetParam().first;
  ASSERT_TRUE(Read(layout.Bytes() + kAudio));
  EXPECT_EQ(reader_.CompressionLevelText(), QLatin1String(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Names, MonkeyLevelTest,
                         ::testing::Values(std::pair<uint16_t, const char*>{0, "Unknown"},
                                           std::pair<uint16_t, const char*>{1000, "Fast"},
                                           std::pair<uint16_t, const char*>{2000, "Normal"},
                                           std::pair<uint16_t, const char*>{3000, "High"},
                                           std::pair<uint16_t, const char*>{4000, "Extra High"},
                                           std::pair<uint16_t, const char*>{5000, "Insane"},
                                           std::pair<uint16_t, const char*>{6000, "BrainDead"},
                                           std::pair<uint16_t, const char*>{2500, "2500"},
                                           std::pair<uint16_t, const char*>{7000, "7000"}));

struct InvalidFieldCase {
  const char* name;
  NewLayout layout;
};

class MonkeyZeroFieldTest : public MonkeyTest,
                            public ::testing::WithParamInterface<InvalidFieldCase> {};

TEST_P(MonkeyZeroFieldTest, ZeroFieldIsNotValid) {
  EXPECT_FALSE(Read(GetParam().layout.Bytes() + kAudio));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.Version(), 3990);
}

INSTANTIATE_TEST_SUITE_P(Fields, MonkeyZeroFieldTest,
                         ::testing::Values(InvalidFieldCase{"Channels", NewLayout{.channels = 0}},
                                           InvalidFieldCase{"SampleRate",
                                                            NewLayout{.sampleRate = 0}},
                                           InvalidFieldCase{"Bits", NewLayout{.bitsPerSample = 0}},
                                           InvalidFieldCase{"Frames", NewLayout{.totalFrames = 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

// 10000000 stereo 16-bit samples are 40000044 bytes as WAV; 30000000 bytes are 74.9999 % of it.
TEST_F(MonkeyTest, RatioAgainstWavSize) {
  NewLayout layout;
  layout.blocksPerFrame = 1000000;
  layout.totalFrames = 10;
  layout.finalFrameBlocks = 1000000;
  const QString path = folder_.Write(QStringLiteral("ratio.ape"), layout.Bytes());
  {
    QFile file(path);
    ASSERT_TRUE(file.resize(30'000'000));
  }
  ASSERT_TRUE(reader_.ReadFromFile(path));
  EXPECT_EQ(reader_.TotalSamples(), 10'000'000);
  EXPECT_NEAR(reader_.Ratio(), 74.9999, 0.0001);
}

TEST_F(MonkeyTest, ID3v2TagInFrontIsSkipped) {
  const QByteArray tag = fixtures::ID3v2Tag(300);
  ASSERT_TRUE(Read(tag + NewLayout().Bytes() + kAudio + fixtures::APETag("Artist", "A") +
                   fixtures::ID3v1Tag()));
  EXPECT_TRUE(reader_.ID3v2().Exists());
  EXPECT_TRUE(reader_.APEtag().Exists());
  EXPECT_TRUE(reader_.ID3v1().Exists());
  EXPECT_EQ(reader_.TotalSamples(), 7300072);
}

TEST_F(MonkeyTest, UnrecognisedID3v2LeavesSearchAtStart) {
  EXPECT_FALSE(Read(fixtures::ID3v2HeaderClaiming(1000000) + NewLayout().Bytes() + kAudio));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.Version(), 0);
}

TEST_F(MonkeyTest, NotMonkeyShortEmptyOrMissingGivesFalse) {
  EXPECT_FALSE(Read(QByteArray("mac ") + NewLayout().Bytes().mid(4) + kAudio));
  EXPECT_FALSE(Read(QByteArray("MAC ")));
  EXPECT_FALSE(Read(OldLayout().Bytes().left(35)));
  EXPECT_FALSE(Read(QByteArray()));
  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.ape"))));
}

TEST_F(MonkeyTest, LargestCountsDoNotOverflow) {
  NewLayout layout;
  layout.totalFrames = 0xFFFFFFFF;
  layout.blocksPerFrame = 0xFFFFFFFF;
  layout.finalFrameBlocks = 0xFFFFFFFF;
  ASSERT_TRUE(Read(layout.Bytes() + kAudio));
  EXPECT_EQ(reader_.TotalSamples(), std::numeric_limits<int64_t>::max());
}

TEST_F(MonkeyTest, RandomBytesAfterMarkerReadWithoutCrashing) {
  uint32_t state = 4242;
  for (int round = 0; round < 50; ++round) {
    QByteArray file = Bytes().Text("MAC ").LE16(round % 2 ? 3990 : 3900);
    for (int i = 0; i < 200; ++i) {
      state = state * 1103515245u + 12345u;
      file += static_cast<char>(state >> 16);
    }
    const bool result = Read(file);
    EXPECT_EQ(result, reader_.Valid()) << round;
  }
}

// Sizes are 64-bit: a 3 GB file (sparse, so it costs no disk) keeps its size and ratio.
TEST_F(MonkeyTest, FileAboveTwoGibibytesKeepsSizeAndRatio) {
  NewLayout layout;
  layout.blocksPerFrame = 100'000'000;
  layout.totalFrames = 10;
  layout.finalFrameBlocks = 100'000'000;
  const QString path = folder_.Write(QStringLiteral("big.ape"), layout.Bytes());
  {
    QFile file(path);
    ASSERT_TRUE(file.resize(3'000'000'000));
  }
  ASSERT_TRUE(reader_.ReadFromFile(path));
  EXPECT_EQ(reader_.FileSize(), 3'000'000'000);
  EXPECT_NEAR(reader_.Ratio(), 75.0, 0.0001);
}

}  // namespace
