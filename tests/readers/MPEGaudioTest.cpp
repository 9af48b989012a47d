#include "readers/MPEGaudio.h"

#include "TagFixtures.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

namespace {

// Header fields as coded in the four header bytes. The defaults make MPEG 1 layer III,
// 128 kbit/s, 44100 Hz, joint stereo: 417-byte frames.
struct Header {
  uint8_t versionID = 3;
  uint8_t layerID = 1;
  uint8_t bitRateID = 9;
  uint8_t sampleRateID = 0;
  bool padding = false;
  uint8_t modeID = 1;
  bool crc = false;
  bool copyright = false;
  bool original = false;
  uint8_t emphasisID = 0;

  QByteArray Bytes() const {
    QByteArray bytes(4, '\0');
    bytes[0] = '\xFF';
    bytes[1] = static_cast<char>(0xE0 | versionID << 3 | layerID << 1 | (crc ? 0 : 1));
    bytes[2] = static_cast<char>(bitRateID << 4 | sampleRateID << 2 | (padding ? 2 : 0));
    bytes[3] =
        static_cast<char>(modeID << 6 | (copyright ? 8 : 0) | (original ? 4 : 0) | emphasisID);
    return bytes;
  }
};

constexpr int kCdFrameLength = 417;

// One frame: the header, then the body filled with one byte (not zero by default, so that the
// six bytes after the header do not look like a Xing encoder's).
QByteArray Frame(const Header& header, int length, char fill = '\x55') {
  QByteArray frame = header.Bytes();
  frame += QByteArray(length - 4, fill);
  return frame;
}

QByteArray Frames(const Header& header, int length, int count) {
  return Frame(header, length).repeated(count);
}

// A first frame carrying a VBR header at the given offset from the frame start.
QByteArray FrameWithVBRHeader(const Header& header, int length, int offset,
                              const QByteArray& vbrHeader) {
  QByteArray frame = Frame(header, length, '\0');
  frame.replace(offset, vbrHeader.size(), vbrHeader);
  return frame;
}

QByteArray XingHeader(uint32_t frames, uint32_t bytes, const QByteArray& vendor,
                      uint32_t flags = 0) {
  return ::Bytes().Text("Xing").BE32(flags).BE32(frames).BE32(bytes).PadTo(119).U8(57).Raw(
      vendor.leftJustified(8, '\0', true));
}

QByteArray VBRIHeader(uint32_t frames, uint32_t bytes) {
  // Version, delay and a 16-bit quality whose low byte is the scale.
  return ::Bytes().Text("VBRI").BE16(1).BE16(0).BE16(75).BE32(bytes).BE32(frames).Fill(8);
}

class MPEGaudioTest : public ::testing::Test {
 protected:
  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.mp3"), bytes));
  }

  TempFolder folder_;
  TMPEGaudio reader_;
};

struct HeaderCase {
  const char* name;
  Header header;
  int length;
  const char* version;
  const char* layer;
  const char* mode;
  int sampleRate;
  int bitRate;
};

class MPEGHeaderTest : public MPEGaudioTest, public ::testing::WithParamInterface<HeaderCase> {};

// The second header must stand exactly one frame length further, so the frame is found only
// when the length is computed right to the byte.
TEST_P(MPEGHeaderTest, LengthNamesAndRatesOfFirstFrame) {
  const HeaderCase& c = GetParam();
  Header next = c.header;
  next.padding = false;
  ASSERT_TRUE(Read(Frame(c.header, c.length) + Frame(next, 200) + QByteArray(50, '\x55')));
  ASSERT_TRUE(reader_.Frame().Found);
  EXPECT_EQ(reader_.Frame().Size, c.length);
  EXPECT_EQ(reader_.Frame().Position, 0);
  EXPECT_EQ(reader_.Version(), QLatin1String(c.version));
  EXPECT_EQ(reader_.Layer(), QLatin1String(c.layer));
  EXPECT_EQ(reader_.ChannelMode(), QLatin1String(c.mode));
  EXPECT_EQ(reader_.SampleRate(), c.sampleRate);
  EXPECT_EQ(reader_.BitRate(), c.bitRate);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, MPEGHeaderTest,
    ::testing::Values(
        HeaderCase{"Mpeg1Layer3", Header{}, 417, "MPEG 1", "Layer III", "Joint Stereo", 44100, 128},
        HeaderCase{"Mpeg1Layer3Padded", Header{.padding = true}, 418, "MPEG 1", "Layer III",
                   "Joint Stereo", 44100, 128},
        HeaderCase{"Mpeg1Layer3Top", Header{.bitRateID = 14, .modeID = 0}, 1044, "MPEG 1",
                   "Layer III", "Stereo", 44100, 320},
        HeaderCase{"Mpeg1Layer2",
                   Header{.layerID = 2, .bitRateID = 13, .sampleRateID = 1, .modeID = 2}, 960,
                   "MPEG 1", "Layer II", "Dual Channel", 48000, 320},
        HeaderCase{"Mpeg1Layer1", Header{.layerID = 3, .bitRateID = 14, .sampleRateID = 2}, 672,
                   "MPEG 1", "Layer I", "Joint Stereo", 32000, 448},
        HeaderCase{"Mpeg1Layer1PaddedByFour", Header{.layerID = 3, .bitRateID = 1, .padding = true},
                   38, "MPEG 1", "Layer I", "Joint Stereo", 44100, 32},
        HeaderCase{"Mpeg2Layer3", Header{.versionID = 2, .bitRateID = 14, .modeID = 3}, 522,
                   "MPEG 2", "Layer III", "Mono", 22050, 160},
        HeaderCase{"Mpeg2Layer2",
                   Header{.versionID = 2, .layerID = 2, .bitRateID = 14, .sampleRateID = 1}, 960,
                   "MPEG 2", "Layer II", "Joint Stereo", 24000, 160},
        HeaderCase{"Mpeg2Layer1PaddedByFour",
                   Header{.versionID = 2,
                          .layerID = 3,
                          .bitRateID = 1,
                          .sampleRateID = 2,
                          .padding = true,
                          .modeID = 3},
                   52, "MPEG 2", "Layer I", "Mono", 16000, 32},
        HeaderCase{
            "Mpeg25Layer2",
            Header{.versionID = 0, .layerID = 2, .bitRateID = 1, .sampleRateID = 1, .modeID = 3},
            96, "MPEG 2.5", "Layer II", "Mono", 12000, 8},
        HeaderCase{"Mpeg25Layer3",
                   Header{.versionID = 0, .bitRateID = 5, .sampleRateID = 2, .modeID = 0}, 360,
                   "MPEG 2.5", "Layer III", "Stereo", 8000, 40}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MPEGaudioTest, ResetStateShowsUnknownNames) {
  EXPECT_EQ(reader_.Version(), QStringLiteral("MPEG ?"));
  EXPECT_EQ(reader_.Layer(), QStringLiteral("Layer ?"));
  EXPECT_EQ(reader_.ChannelMode(), QStringLiteral("Unknown"));
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("Unknown"));
  EXPECT_EQ(reader_.SampleRate(), 0);
  EXPECT_EQ(reader_.BitRate(), 0);
  EXPECT_EQ(reader_.Duration(), 0);
  EXPECT_FALSE(reader_.Valid());
}

TEST_F(MPEGaudioTest, UnconfirmedHeaderInGarbageIsSkipped) {
  Header header;
  QByteArray file = QByteArray(10, '\x11') + header.Bytes() + QByteArray(686, '\x22');
  ASSERT_EQ(file.size(), 700);
  file += Frames(header, kCdFrameLength, 10);
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.Frame().Position, 700);
  EXPECT_EQ(reader_.AudioStart(), 700);
}

TEST_F(MPEGaudioTest, NextHeaderOfOtherVersionStillConfirms) {
  Header first;
  Header second;
  second.versionID = 2;
  second.layerID = 2;
  second.sampleRateID = 1;
  ASSERT_TRUE(Read(Frame(first, kCdFrameLength) + Frame(second, 100)));
  ASSERT_TRUE(reader_.Frame().Found);
  EXPECT_EQ(reader_.Version(), QStringLiteral("MPEG 1"));
}

struct RejectedHeaderCase {
  const char* name;
  Header header;
};

class MPEGRejectedHeaderTest : public MPEGaudioTest,
                               public ::testing::WithParamInterface<RejectedHeaderCase> {};

// Repeated at every plausible distance, these headers still never make a frame.
TEST_P(MPEGRejectedHeaderTest, NoFrameAndReaderReset) {
  QByteArray file = fixtures::ID3v2Tag(100);
  for (int i = 0; i < 200; ++i)
    file += Frame(GetParam().header, 20 + i);
  file += fixtures::ID3v1Tag();
  ASSERT_TRUE(Read(file));
  EXPECT_FALSE(reader_.Frame().Found);
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.FileSize(), 0);
  EXPECT_FALSE(reader_.ID3v2().Exists());
  EXPECT_FALSE(reader_.ID3v1().Exists());
}

INSTANTIATE_TEST_SUITE_P(
    HeaderTest, MPEGRejectedHeaderTest,
    ::testing::Values(RejectedHeaderCase{"FreeFormat", Header{.bitRateID = 0}},
                      RejectedHeaderCase{"BadBitRate", Header{.bitRateID = 15}},
                      RejectedHeaderCase{"ReservedVersion", Header{.versionID = 1}},
                      RejectedHeaderCase{"ReservedLayer", Header{.layerID = 0}},
                      RejectedHeaderCase{"ReservedSampleRate", Header{.sampleRateID = 3}},
                      RejectedHeaderCase{"ReservedEmphasis", Header{.emphasisID = 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// Window k starts 3458 x k bytes after the tag; only positions 0 to 1729 of a window are tried.
TEST_F(MPEGaudioTest, FrameInThirdWindowFoundAtItsFileOffset) {
  Header header;
  const int start = 2 * 3458 + 100;
  ASSERT_TRUE(Read(QByteArray(start, '\x11') + Frames(header, kCdFrameLength, 20)));
  EXPECT_EQ(reader_.AudioStart(), start);
  EXPECT_TRUE(reader_.Valid());
}

TEST_F(MPEGaudioTest, FrameBeyondCandidateRangeFoundInNextWindow) {
  Header header;
  const int start = 2000;
  ASSERT_TRUE(Read(QByteArray(start, '\x11') + Frames(header, kCdFrameLength, 20)));
  // The frames at 2000, 2417, 2834 and 3251 lie past position 1729 of the first window, the
  // one at 3668 is at 210 in the second.
  EXPECT_EQ(reader_.AudioStart(), 3668);
}

// The second window holds 500 bytes; its frame at 100 would be confirmed at 517 only by bytes
// that the first window held there.
TEST_F(MPEGaudioTest, ShortLastWindowSeesNothingOfEarlierWindow) {
  Header header;
  QByteArray file(3458 + 500, '\x11');
  file.replace(517, 4, header.Bytes());
  file.replace(3458 + 100, 4, header.Bytes());
  ASSERT_TRUE(Read(file));
  EXPECT_FALSE(reader_.Frame().Found);
}

TEST_F(MPEGaudioTest, ConfirmingHeaderPastEndOfFileIsAbsent) {
  Header header;
  ASSERT_TRUE(Read(Frame(header, kCdFrameLength) + Header().Bytes().left(2)));
  EXPECT_FALSE(reader_.Frame().Found);
}

TEST_F(MPEGaudioTest, XingHeaderGivesAverageBitRateAndDuration) {
  Header header;
  const QByteArray file =
      FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(10000, 4000000, "LAME3.97")) +
      Frames(header, kCdFrameLength, 10);
  ASSERT_TRUE(Read(file));
  EXPECT_TRUE(reader_.IsVBR());
  EXPECT_EQ(reader_.VBR().ID, QByteArray("Xing"));
  EXPECT_EQ(reader_.VBR().Frames, 10000);
  EXPECT_EQ(reader_.VBR().Bytes, 4000000);
  EXPECT_EQ(reader_.VBR().Scale, 57);
  EXPECT_EQ(reader_.VBR().VendorID, QByteArray("LAME3.97"));
  // 400 bytes a frame x 44100 / 144 / 1000 = 122.5, a half that rounds to even.
  EXPECT_EQ(reader_.BitRate(), 122);
  EXPECT_DOUBLE_EQ(reader_.Duration(), 1152.0 * 10000 / 44100);
  EXPECT_EQ(reader_.EncoderID(), 3);
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("LAME 3.97"));
  EXPECT_TRUE(reader_.Valid());
}

TEST_F(MPEGaudioTest, XingFlagsAreNotConsulted) {
  Header header;
  ASSERT_TRUE(
      Read(FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(5000, 2000000, "", 0)) +
           Frames(header, kCdFrameLength, 3)));
  EXPECT_EQ(reader_.VBR().Frames, 5000);
  EXPECT_EQ(reader_.EncoderID(), 1);
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("Xing"));
}

TEST_F(MPEGaudioTest, VBRBitRateSubtractsFirstFramePadding) {
  Header header;
  header.layerID = 3;
  header.bitRateID = 14;
  header.padding = true;
  Header next = header;
  next.padding = false;
  // Layer I pads by four bytes: (100 - 4) x 44100 / 48 / 1000 = 88.2, not 91.875.
  ASSERT_TRUE(Read(FrameWithVBRHeader(header, 491, 36, XingHeader(1000, 100000, "")) +
                   Frames(next, 487, 3)));
  ASSERT_TRUE(reader_.IsVBR());
  EXPECT_EQ(reader_.BitRate(), 88);
}

TEST_F(MPEGaudioTest, LameVersionNeedsDigitDotDigitDigit) {
  Header header;
  ASSERT_TRUE(
      Read(FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(100, 41700, "LAME3.9x")) +
           Frames(header, kCdFrameLength, 3)));
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("LAME"));
}

struct VBRPlacementCase {
  const char* name;
  Header header;
  int frameLength;
  int offset;
  bool found;
};

class MPEGVBRPlacementTest : public MPEGaudioTest,
                             public ::testing::WithParamInterface<VBRPlacementCase> {};

TEST_P(MPEGVBRPlacementTest, VBRHeaderOnlyAtItsOffset) {
  const VBRPlacementCase& c = GetParam();
  ASSERT_TRUE(Read(FrameWithVBRHeader(c.header, c.frameLength, c.offset, VBRIHeader(2000, 500000)) +
                   Frames(c.header, c.frameLength, 3)));
  ASSERT_TRUE(reader_.Frame().Found);
  EXPECT_EQ(reader_.IsVBR(), c.found);
  if (c.found) {
    EXPECT_EQ(reader_.VBR().ID, QByteArray("VBRI"));
    EXPECT_EQ(reader_.VBR().Frames, 2000);
    EXPECT_EQ(reader_.VBR().Bytes, 500000);
    EXPECT_EQ(reader_.VBR().Scale, 75);
    EXPECT_EQ(reader_.EncoderID(), 2);
  }
}

Header Mode(uint8_t version, uint8_t mode) {
  Header header;
  header.versionID = version;
  header.modeID = mode;
  return header;
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, MPEGVBRPlacementTest,
    ::testing::Values(VBRPlacementCase{"Mpeg1Stereo", Mode(3, 0), 417, 36, true},
                      VBRPlacementCase{"Mpeg1Mono", Mode(3, 3), 417, 21, true},
                      VBRPlacementCase{"Mpeg1MonoNotAt36", Mode(3, 3), 417, 36, false},
                      VBRPlacementCase{"Mpeg2Stereo", Mode(2, 1), 261, 21, true},
                      VBRPlacementCase{"Mpeg2Mono", Mode(2, 3), 261, 13, true},
                      VBRPlacementCase{"Mpeg2MonoNotAt21", Mode(2, 3), 261, 21, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MPEGaudioTest, ProtectionBitDoesNotMoveVBRHeader) {
  Header header;
  header.crc = true;
  ASSERT_TRUE(Read(FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(100, 41700, "")) +
                   Frames(header, kCdFrameLength, 3)));
  EXPECT_TRUE(reader_.IsVBR());
}

// 1000000 bytes at 128 kbit/s play 62.5 s; the APE tag counts as audio, an ID3v1 tag and the
// Lyrics3 block in front of it do not.
TEST_F(MPEGaudioTest, ConstantBitRateDurationFromAudioBytes) {
  Header header;
  QByteArray audio = Frames(header, kCdFrameLength, 2000);
  audio.resize(1000000, '\x55');
  const QByteArray ape = fixtures::APETag("Artist", "Band");
  const QByteArray lyrics = fixtures::Lyrics3Block("Some lyrics");
  const QByteArray file = fixtures::ID3v2Tag(256) + audio + ape + lyrics + fixtures::ID3v1Tag();
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.FileSize(), file.size());
  EXPECT_EQ(reader_.AudioStart(), 256);
  EXPECT_EQ(reader_.AudioEnd(), 256 + 1000000 + ape.size());
  EXPECT_FALSE(reader_.IsVBR());
  EXPECT_EQ(reader_.BitRate(), 128);
  EXPECT_DOUBLE_EQ(reader_.Duration(), (1000000.0 + ape.size()) / 128 / 1000 * 8);
  EXPECT_FALSE(reader_.APEtag().Exists());

  ASSERT_TRUE(Read(audio));
  EXPECT_DOUBLE_EQ(reader_.Duration(), 62.5);
}

TEST_F(MPEGaudioTest, ID3v2TagLongerThanFileSearchesFromStart) {
  Header header;
  ASSERT_TRUE(Read(fixtures::ID3v2HeaderClaiming(1000000) + Frames(header, kCdFrameLength, 10)));
  EXPECT_EQ(reader_.ID3v2().Size(), 0);
  EXPECT_EQ(reader_.AudioStart(), 10);
}

struct CBREncoderCase {
  const char* name;
  Header header;
  int frameLength;
  char bodyFill;
  int encoderID;
  const char* encoder;
};

class MPEGCBREncoderTest : public MPEGaudioTest,
                           public ::testing::WithParamInterface<CBREncoderCase> {};

TEST_P(MPEGCBREncoderTest, HeaderBitsSuggestEncoder) {
  const CBREncoderCase& c = GetParam();
  ASSERT_TRUE(Read(Frame(c.header, c.frameLength, c.bodyFill).repeated(4)));
  ASSERT_TRUE(reader_.Frame().Found);
  EXPECT_EQ(reader_.EncoderID(), c.encoderID);
  EXPECT_EQ(reader_.Encoder(), QLatin1String(c.encoder));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MPEGCBREncoderTest,
    ::testing::Values(
        CBREncoderCase{"Plain", Header{}, 417, '\x55', 2, "FhG"},
        CBREncoderCase{"OriginalWithCrc", Header{.crc = true, .original = true}, 417, '\x55', 3,
                       "LAME"},
        CBREncoderCase{"StereoUpTo160", Header{.bitRateID = 10, .modeID = 0}, 522, '\x55', 4,
                       "Blade"},
        CBREncoderCase{"StereoAbove160", Header{.bitRateID = 11, .modeID = 0}, 626, '\x55', 2,
                       "FhG"},
        CBREncoderCase{"CopyrightOriginalNoCrc", Header{.copyright = true, .original = true}, 417,
                       '\x55', 1, "Xing"},
        CBREncoderCase{"ZeroesAndOriginal", Header{.original = true}, 417, '\0', 1, "Xing"},
        CBREncoderCase{"ZeroesWithoutOriginal", Header{}, 417, '\0', 2, "FhG"},
        CBREncoderCase{"LayerII",
                       Header{.layerID = 2, .bitRateID = 8, .crc = true, .original = true}, 417,
                       '\x55', 7, "QDesign"},
        CBREncoderCase{"DualChannelWithCrc", Header{.modeID = 2, .crc = true}, 417, '\x55', 6,
                       "Shine"},
        CBREncoderCase{"DualChannelLayerIIWithCrc",
                       Header{.layerID = 2, .bitRateID = 8, .modeID = 2, .crc = true}, 417, '\x55',
                       6, "Shine"}),
    [](const auto& info) { return std::string(info.param.name); });

QByteArray LongCbrStream() {
  return Frames(Header(), kCdFrameLength, 30);
}

TEST_F(MPEGaudioTest, VendorTagNearStartFoundWithinFiveFrames) {
  QByteArray file = LongCbrStream();
  file.replace(2000, 8, "LAME3.90");
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.VendorID(), QByteArray("LAME3.90"));
  EXPECT_EQ(reader_.EncoderID(), 3);
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("LAME 3.90"));
}

// The scan runs back from position 3450 over five frame lengths (2085 bytes) only.
TEST_F(MPEGaudioTest, VendorTagBeforeScanRangeNotFoundInShortFile) {
  QByteArray file = LongCbrStream().left(3400);
  file.replace(1300, 8, "LAME3.90");
  ASSERT_TRUE(Read(file));
  ASSERT_TRUE(reader_.Frame().Found);
  EXPECT_TRUE(reader_.VendorID().isEmpty());
}

TEST_F(MPEGaudioTest, VendorTagNearEndFoundBeforeID3v1) {
  QByteArray file = LongCbrStream();
  file.replace(file.size() - 300, 4, "GOGO");
  file += fixtures::ID3v1Tag();
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.VendorID(), QByteArray("GOGO"));
  EXPECT_EQ(reader_.EncoderID(), 5);
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("GoGo"));
}

TEST_F(MPEGaudioTest, ScannedVendorOverridesXingVendor) {
  Header header;
  QByteArray file = FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(100, 41700, "GOGO")) +
                    Frames(header, kCdFrameLength, 8);
  file.replace(3000, 8, "LAME3.96");
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.VendorID(), QByteArray("LAME3.96"));
  EXPECT_EQ(reader_.EncoderID(), 3);
  EXPECT_EQ(reader_.Encoder(), QStringLiteral("LAME 3.96"));
}

struct ValidityCase {
  const char* name;
  uint32_t vbrFrames;
  uint32_t vbrBytes;
  bool valid;
};

class MPEGValidityTest : public MPEGaudioTest,
                         public ::testing::WithParamInterface<ValidityCase> {};

TEST_P(MPEGValidityTest, BitRateAndDurationLimits) {
  const ValidityCase& c = GetParam();
  Header header;
  ASSERT_TRUE(
      Read(FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(c.vbrFrames, c.vbrBytes, "")) +
           Frames(header, kCdFrameLength, 3)));
  EXPECT_EQ(reader_.Valid(), c.valid);
}

INSTANTIATE_TEST_SUITE_P(Limits, MPEGValidityTest,
                         ::testing::Values(ValidityCase{"FourFramesTooShort", 3, 3 * 417, false},
                                           ValidityCase{"FiveFramesLongEnough", 5, 5 * 417, true},
                                           ValidityCase{"BitRate448", 100, 146286, true},
                                           ValidityCase{"BitRateAbove448", 100, 150000, false},
                                           ValidityCase{"BitRateBelow8", 100, 2000, false},
                                           ValidityCase{"HugeByteCount", 1, 0xFFFFFFFF, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MPEGaudioTest, ZeroFrameCountFallsBackToTableRate) {
  Header header;
  ASSERT_TRUE(Read(FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(0, 0, "")) +
                   Frames(header, kCdFrameLength, 3)));
  EXPECT_TRUE(reader_.IsVBR());
  EXPECT_EQ(reader_.BitRate(), 128);
}

TEST_F(MPEGaudioTest, FileTooShortForTagsIsReadButNotValid) {
  EXPECT_TRUE(Read(Header().Bytes()));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_TRUE(Read(QByteArray()));
  EXPECT_FALSE(reader_.Valid());
}

// Sizes are 64-bit: a 3 GB file (sparse, so it costs no disk) keeps its size and playing time.
TEST_F(MPEGaudioTest, FileAboveTwoGibibytesKeepsSizeAndDuration) {
  const int64_t size = 3'000'000'000;
  const QString path = folder_.Write(QStringLiteral("big.mp3"), LongCbrStream());
  {
    QFile file(path);
    ASSERT_TRUE(file.resize(size));
  }
  ASSERT_TRUE(reader_.ReadFromFile(path));
  EXPECT_EQ(reader_.FileSize(), size);
  EXPECT_EQ(reader_.AudioEnd(), size);
  EXPECT_DOUBLE_EQ(reader_.Duration(), 187500.0);
  EXPECT_TRUE(reader_.Valid());
}

TEST_F(MPEGaudioTest, VBRCountsAboveTwoGibibytesStayPositive) {
  Header header;
  ASSERT_TRUE(Read(
      FrameWithVBRHeader(header, kCdFrameLength, 36, XingHeader(7'000'000, 2'900'000'000u, "")) +
      Frames(header, kCdFrameLength, 3)));
  EXPECT_EQ(reader_.VBR().Bytes, 2'900'000'000);
  EXPECT_EQ(reader_.BitRate(), 127);
  EXPECT_TRUE(reader_.Valid());
}

}  // namespace
