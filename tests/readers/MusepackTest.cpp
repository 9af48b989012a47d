#include "readers/Musepack.h"

#include "TagFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>
#include <limits>

namespace {

// A stream version 7 (or 7.1) header: "MP+", the version byte, the frame count, the profile in
// the high and the sample-rate index in the low bits of byte 10, the mid-side flag in byte 11
// and the encoder version in byte 27.
QByteArray Version7Header(uint32_t frames, uint8_t profileNibble = 10, uint8_t rateIndex = 0,
                          bool jointStereo = true, uint8_t encoder = 116,
                          uint8_t versionByte = 0x07) {
  return Bytes()
      .Text("MP+")
      .U8(versionByte)
      .LE32(frames)
      .Fill(2)
      .U8(static_cast<uint8_t>(profileNibble << 4 | rateIndex))
      .U8(jointStereo ? 0x40 : 0x00)
      .PadTo(27)
      .U8(encoder)
      .PadTo(32);
}

// Versions 4 to 6 pack the bit rate into the top 9 bits of the first word, the version into
// byte 1 and the mid-side flag into the low bits of byte 2; byte 10 is audio data.
QByteArray OldHeader(uint8_t versionByte, uint32_t bitRate, uint32_t secondWord,
                     bool jointStereo = false, uint8_t byte10 = 0) {
  const uint32_t firstWord =
      bitRate << 23 | (jointStereo ? 0x01u : 0u) << 16 | static_cast<uint32_t>(versionByte) << 8;
  QByteArray header = Bytes().LE32(firstWord).LE32(secondWord).PadTo(32, 0x33);
  header[10] = static_cast<char>(byte10);
  return header;
}

class MusepackTest : public ::testing::Test {
 protected:
  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.mpc"), bytes));
  }

  TempFolder folder_;
  TMPEGplus reader_;
};

TEST_F(MusepackTest, Version7StreamFacts) {
  ASSERT_TRUE(Read(Version7Header(10000) + QByteArray(1000, '\x44')));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.StreamVersion(), 7);
  EXPECT_EQ(reader_.SampleRate(), 44100);
  EXPECT_EQ(reader_.FrameCount(), 10000);
  EXPECT_EQ(reader_.ChannelModeID(), 2);
  EXPECT_EQ(reader_.ChannelMode(), QStringLiteral("Joint Stereo"));
  EXPECT_EQ(reader_.Profile(), QStringLiteral("Standard"));
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("1.16 Beta"));
  EXPECT_NEAR(reader_.Duration(), 261.2245, 0.0001);
}

TEST_F(MusepackTest, Version71FromMarkerByte) {
  ASSERT_TRUE(Read(Version7Header(100, 10, 0, false, 0, 0x17) + QByteArray(100, '\x44')));
  EXPECT_EQ(reader_.StreamVersion(), 71);
  EXPECT_EQ(reader_.ChannelMode(), QStringLiteral("Stereo"));
  EXPECT_TRUE(reader_.Encoder().isEmpty());
}

struct ProfileCase {
  uint8_t nibble;
  int profileID;
  const char* name;
};

class MusepackProfileTest : public MusepackTest,
                            public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(MusepackProfileTest, HighNibbleOfByte10) {
  ASSERT_TRUE(Read(Version7Header(100, GetParam().nibble) + QByteArray(100, '\x44')));
  EXPECT_EQ(reader_.ProfileID(), GetParam().profileID);
  EXPECT_EQ(reader_.Profile(), QLatin1String(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Table, MusepackProfileTest,
    ::testing::Values(ProfileCase{0, 0, "Unknown"}, ProfileCase{1, 12, "Experimental"},
                      ProfileCase{3, 0, "Unknown"}, ProfileCase{5, 9, "--quality 0"},
                      ProfileCase{6, 10, "--quality 1"}, ProfileCase{7, 11, "Telephone"},
                      ProfileCase{8, 1, "Thumb"}, ProfileCase{9, 2, "Radio"},
                      ProfileCase{10, 3, "Standard"}, ProfileCase{11, 4, "Xtreme"},
                      ProfileCase{12, 5, "Insane"}, ProfileCase{13, 6, "BrainDead"},
                      ProfileCase{14, 7, "--quality 9"}, ProfileCase{15, 8, "--quality 10"}));

struct EncoderCase {
  uint8_t code;
  const char* text;
};

class MusepackEncoderTest : public MusepackTest,
                            public ::testing::WithParamInterface<EncoderCase> {};

TEST_P(MusepackEncoderTest, Byte27GivesVersionText) {
  ASSERT_TRUE(Read(Version7Header(100, 10, 0, true, GetParam().code) + QByteArray(100, '\x44')));
  EXPECT_EQ(reader_.Encoder(), QLatin1String(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MusepackEncoderTest,
    ::testing::Values(EncoderCase{0, ""}, EncoderCase{100, "1.0 Release"},
                      EncoderCase{110, "1.1 Release"}, EncoderCase{116, "1.16 Beta"},
                      EncoderCase{115, "1.15 --Alpha--"}, EncoderCase{7, "0.07 --Alpha--"},
                      EncoderCase{254, "2.54 Beta"}, EncoderCase{255, "2.55 --Alpha--"}));

class MusepackSampleRateTest : public MusepackTest,
                               public ::testing::WithParamInterface<std::pair<uint8_t, int>> {};

TEST_P(MusepackSampleRateTest, Version7LowBitsOfByte10) {
  ASSERT_TRUE(Read(Version7Header(100, 10, GetParam().first) + QByteArray(100, '\x44')));
  EXPECT_EQ(reader_.SampleRate(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Table, MusepackSampleRateTest,
                         ::testing::Values(std::pair<uint8_t, int>{0, 44100},
                                           std::pair<uint8_t, int>{1, 48000},
                                           std::pair<uint8_t, int>{2, 37800},
                                           std::pair<uint8_t, int>{3, 32000}));

struct OldVersionCase {
  uint8_t versionByte;
  int streamVersion;
};

class MusepackOldVersionTest : public MusepackTest,
                               public ::testing::WithParamInterface<OldVersionCase> {};

// Byte 10 of these versions is audio data: whatever it holds, the rate is 44100 Hz.
TEST_P(MusepackOldVersionTest, NoSampleRateFieldMeansCdRate) {
  ASSERT_TRUE(
      Read(OldHeader(GetParam().versionByte, 0, 10000, true, 0x03) + QByteArray(5000, '\x44')));
  EXPECT_EQ(reader_.StreamVersion(), GetParam().streamVersion);
  EXPECT_EQ(reader_.SampleRate(), 44100);
  EXPECT_EQ(reader_.ChannelMode(), QStringLiteral("Joint Stereo"));
  EXPECT_EQ(reader_.ProfileID(), 0);
}

INSTANTIATE_TEST_SUITE_P(Versions, MusepackOldVersionTest,
                         ::testing::Values(OldVersionCase{6, 4}, OldVersionCase{7, 4},
                                           OldVersionCase{14, 5}, OldVersionCase{15, 5},
                                           OldVersionCase{22, 6}, OldVersionCase{23, 6},
                                           OldVersionCase{38, 4}));

TEST_F(MusepackTest, Version4TakesStoredBitRateAndHighHalfFrameCount) {
  ASSERT_TRUE(Read(OldHeader(6, 128, 2500u << 16 | 0xFFFF) + QByteArray(777, '\x44')));
  EXPECT_EQ(reader_.StreamVersion(), 4);
  EXPECT_EQ(reader_.BitRate(), 128);
  EXPECT_EQ(reader_.FrameCount(), 2500);
  EXPECT_EQ(reader_.ChannelMode(), QStringLiteral("Stereo"));
}

TEST_F(MusepackTest, Version6ComputesBitRateLikeVersion7) {
  ASSERT_TRUE(Read(OldHeader(22, 128, 10000) + QByteArray(5000000 - 32, '\x44')));
  EXPECT_EQ(reader_.FrameCount(), 10000);
  EXPECT_EQ(reader_.BitRate(), 153);
}

// 5000000 audio bytes in 10000 frames at 44100 Hz: 153.125 kbit/s. Tags on either side are not
// audio.
TEST_F(MusepackTest, BitRateFromAudioBytesBetweenTags) {
  const QByteArray id3v2 = fixtures::ID3v2Tag(512);
  const QByteArray ape = fixtures::APETag("Title", "Song");
  const QByteArray stream = Version7Header(10000) + QByteArray(5000000 - 32, '\x44');
  ASSERT_TRUE(Read(id3v2 + stream + ape + fixtures::ID3v1Tag()));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_TRUE(reader_.ID3v2().Exists());
  EXPECT_TRUE(reader_.ID3v1().Exists());
  EXPECT_TRUE(reader_.APEtag().Exists());
  EXPECT_EQ(reader_.BitRate(), 153);
  EXPECT_EQ(reader_.FileSize(), id3v2.size() + stream.size() + ape.size() + 128);
}

TEST_F(MusepackTest, BitRateZeroWithoutFrames) {
  ASSERT_TRUE(Read(Version7Header(0) + QByteArray(100, '\x44')));
  EXPECT_EQ(reader_.BitRate(), 0);
  EXPECT_EQ(reader_.Duration(), 0);
}

struct UnknownStreamCase {
  const char* name;
  QByteArray header;
};

class MusepackUnknownStreamTest : public MusepackTest,
                                  public ::testing::WithParamInterface<UnknownStreamCase> {};

// The header is read but names no known version: the tags at the end are not read and the
// reader's own fields stay reset; only the ID3v2 reader holds what it found.
TEST_P(MusepackUnknownStreamTest, ReadButNotValid) {
  ASSERT_TRUE(Read(fixtures::ID3v2Tag(64) + GetParam().header + QByteArray(500, '\x44') +
                   fixtures::ID3v1Tag()));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.StreamVersion(), 0);
  EXPECT_EQ(reader_.FileSize(), 0);
  EXPECT_EQ(reader_.SampleRate(), 0);
  EXPECT_EQ(reader_.FrameCount(), 0);
  EXPECT_TRUE(reader_.Encoder().isEmpty());
  EXPECT_TRUE(reader_.ID3v2().Exists());
  EXPECT_FALSE(reader_.ID3v1().Exists());
}

INSTANTIATE_TEST_SUITE_P(
    Headers, MusepackUnknownStreamTest,
    ::testing::Values(
        UnknownStreamCase{"StreamVersion8", Bytes().Text("MPCK").Text("SH").PadTo(32, 0x07)},
        UnknownStreamCase{"OtherMarkerByte", Version7Header(100, 10, 0, true, 116, 0x08)},
        UnknownStreamCase{"OtherVersionBits", OldHeader(30, 128, 100)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MusepackTest, ShortEmptyAndMissingFilesGiveFalse) {
  EXPECT_FALSE(Read(QByteArray()));
  EXPECT_FALSE(Read(Version7Header(100).left(31)));
  EXPECT_FALSE(Read(fixtures::ID3v2Tag(64) + Version7Header(100).left(20)));
  EXPECT_FALSE(reader_.ID3v2().Exists());
  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.mpc"))));
  EXPECT_FALSE(reader_.Valid());
}

// Sizes are 64-bit: a 3 GB file (sparse, so it costs no disk) keeps its size and bit rate.
TEST_F(MusepackTest, FileAboveTwoGibibytesKeepsSizeAndBitRate) {
  const int64_t size = 3'000'000'000;
  const QString path =
      folder_.Write(QStringLiteral("big.mpc"), Version7Header(6'000'000) + QByteArray(100, 'a'));
  {
    QFile file(path);
    ASSERT_TRUE(file.resize(size));
  }
  ASSERT_TRUE(reader_.ReadFromFile(path));
  EXPECT_EQ(reader_.FileSize(), size);
  // 3e9 x 8 x 44.1 / 6e6 / 1152 = 153.125
  EXPECT_EQ(reader_.BitRate(), 153);
}

// One frame in 14 GB computes 2^32 + 128 kbit/s, which a 32-bit wrap would turn into 128.
TEST_F(MusepackTest, HugeBitRateIsNotWrappedIntoRange) {
  const QString path =
      folder_.Write(QStringLiteral("big.mpc"), Version7Header(1) + QByteArray(100, 'a'));
  {
    QFile file(path);
    ASSERT_TRUE(file.resize(14'024'383'425));
  }
  ASSERT_TRUE(reader_.ReadFromFile(path));
  EXPECT_EQ(reader_.BitRate(), std::numeric_limits<int>::max());
}

}  // namespace
