#include "readers/FLACfile.h"
#include "readers/MPEGaudio.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

// Files made by real encoders (tests/data/readers/make_fixtures.sh), checked against the
// figures ffprobe reported for the same files. Durations may differ by a few frames of encoder
// padding, which ffprobe leaves out and a reader of headers cannot: 0.05 s is allowed.

namespace {

constexpr double kDurationTolerance = 0.05;

struct MpegFileCase {
  const char* file;
  // ffprobe's sample_rate, channels, duration and bit_rate (kbit/s, rounded).
  int sampleRate;
  int channels;
  double duration;
  int bitRate;
  // What the frame header says beyond ffprobe's figures.
  const char* version;
  const char* layer;
  const char* channelMode;
  bool vbr;
};

class RealMpegFileTest : public ::testing::TestWithParam<MpegFileCase> {};

TEST_P(RealMpegFileTest, MatchesFfprobe) {
  const MpegFileCase& c = GetParam();
  TMPEGaudio reader;
  ASSERT_TRUE(
      reader.ReadFromFile(TestDataPath(QStringLiteral("readers/") + QLatin1String(c.file))));
  ASSERT_TRUE(reader.Valid());
  EXPECT_EQ(reader.SampleRate(), c.sampleRate);
  EXPECT_EQ(reader.ChannelMode() == QStringLiteral("Mono"), c.channels == 1);
  EXPECT_EQ(reader.ChannelMode(), QLatin1String(c.channelMode));
  EXPECT_NEAR(reader.Duration(), c.duration, kDurationTolerance);
  EXPECT_EQ(reader.BitRate(), c.bitRate);
  EXPECT_EQ(reader.IsVBR(), c.vbr);
  EXPECT_EQ(reader.Version(), QLatin1String(c.version));
  EXPECT_EQ(reader.Layer(), QLatin1String(c.layer));
  EXPECT_EQ(reader.AudioStart(), 0);
}

INSTANTIATE_TEST_SUITE_P(Encoders, RealMpegFileTest,
                         ::testing::Values(MpegFileCase{"lame-cbr.mp3", 32000, 1, 1.548, 32,
                                                        "MPEG 1", "Layer III", "Mono", false},
                                           MpegFileCase{"lame-vbr.mp3", 32000, 2, 1.548, 37,
                                                        "MPEG 1", "Layer III", "Joint Stereo",
                                                        true},
                                           MpegFileCase{"mpeg2-mono.mp3", 16000, 1, 1.584, 24,
                                                        "MPEG 2", "Layer III", "Mono", false},
                                           MpegFileCase{"ffmpeg-layer2.mp3", 32000, 1, 1.512, 32,
                                                        "MPEG 1", "Layer II", "Mono", false}),
                         [](const auto& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.'));
                           std::erase(name, '-');
                           return name;
                         });

TEST(RealFilesTest, LameVbrHeaderNamesEncoderVersion) {
  TMPEGaudio reader;
  ASSERT_TRUE(reader.ReadFromFile(TestDataPath(QStringLiteral("readers/lame-vbr.mp3"))));
  EXPECT_EQ(reader.VBR().ID, QByteArray("Xing"));
  EXPECT_EQ(reader.VBR().Frames, 43);
  EXPECT_EQ(reader.VBR().VendorID, QByteArray("LAME3.10"));
  // lame 3.100 writes "LAME3.100": the digit after the eight bytes is part of the version.
  EXPECT_EQ(reader.Encoder(), QStringLiteral("LAME 3.100"));
}

TEST(RealFilesTest, FlacMatchesFfprobeAndMetaflac) {
  TFLACfile reader;
  ASSERT_TRUE(reader.ReadFromFile(TestDataPath(QStringLiteral("readers/tagged.flac"))));
  ASSERT_TRUE(reader.Valid());
  EXPECT_EQ(reader.SampleRate(), 8000);
  EXPECT_EQ(reader.Channels(), 1);
  EXPECT_EQ(reader.BitsPerSample(), 16);
  EXPECT_NEAR(reader.Duration(), 1.5, 1e-9);
  EXPECT_EQ(reader.Samples(), 12000);

  EXPECT_EQ(reader.Vendor(), QStringLiteral("reference libFLAC 1.4.2 20221022"));
  EXPECT_EQ(reader.Title(), QString::fromUtf8("Zażółć gęślą jaźń"));
  EXPECT_EQ(reader.Artist(), QStringLiteral("Test Artist"));
  EXPECT_EQ(reader.Album(), QStringLiteral("Fixtures"));
  EXPECT_EQ(reader.Date(), QStringLiteral("2024"));
  EXPECT_EQ(reader.Genre(), QStringLiteral("Test"));
  EXPECT_EQ(reader.TrackNumber(), QStringLiteral("3"));
  EXPECT_EQ(reader.OtherFields(), QStringLiteral("LABEL=Nobody"));

  ASSERT_EQ(reader.BlockCount(), 4);
  EXPECT_EQ(reader.Blocks()[1].BlockType, 3);
  ASSERT_EQ(reader.PictureCount(), 1);
  const TPictureTag& picture = reader.Pictures()[0];
  EXPECT_EQ(picture.BlockIndex, 3);
  EXPECT_EQ(picture.PictureType, 3u);
  EXPECT_EQ(picture.MimeType, QByteArray("image/png"));
  EXPECT_EQ(picture.Description, QStringLiteral("Front"));
  EXPECT_EQ(picture.Width, 8u);
  EXPECT_EQ(picture.Height, 8u);
  EXPECT_EQ(picture.DataLength, 96u);
  EXPECT_EQ(picture.DataOffset + picture.DataLength,
            reader.Blocks()[3].Offset + reader.Blocks()[3].Size);
  EXPECT_GT(reader.Ratio(), 0);
  EXPECT_LT(reader.Ratio(), 100);
}

}  // namespace
