#include "readers/FLACfile.h"

#include "platform/CodePage.h"
#include "platform/FileError.h"
#include "platform/UserLocale.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QLocale>

namespace {

constexpr uint8_t kStreamInfo = 0;
constexpr uint8_t kPadding = 1;
constexpr uint8_t kVorbisComment = 4;
constexpr uint8_t kPicture = 6;

QByteArray Block(uint8_t type, const QByteArray& body, bool last = false) {
  return Bytes()
      .U8(static_cast<uint8_t>(type | (last ? 0x80 : 0)))
      .BE24(static_cast<uint32_t>(body.size()))
      .Raw(body);
}

// STREAMINFO with the fields packed as the format packs them: block and frame size limits
// first, then 20 bits of rate, 3 of channels - 1, 5 of bits - 1, 36 of samples, and the MD5.
QByteArray StreamInfo(uint32_t sampleRate, int channels, int bitsPerSample, uint64_t samples,
                      uint8_t md5Fill = 0) {
  const uint64_t packed = static_cast<uint64_t>(sampleRate) << 44 |
                          static_cast<uint64_t>(channels - 1) << 41 |
                          static_cast<uint64_t>(bitsPerSample - 1) << 36 | samples;
  return Bytes()
      .BE16(4096)
      .BE16(4096)
      .BE24(0)
      .BE24(0)
      .BE32(static_cast<uint32_t>(packed >> 32))
      .BE32(static_cast<uint32_t>(packed))
      .Fill(16, md5Fill);
}

QByteArray VorbisComment(const QByteArray& vendor, const QList<QByteArray>& entries) {
  Bytes body;
  body.LE32(static_cast<uint32_t>(vendor.size())).Raw(vendor);
  body.LE32(static_cast<uint32_t>(entries.size()));
  for (const QByteArray& entry : entries) {
    body.LE32(static_cast<uint32_t>(entry.size())).Raw(entry);
  }
  return body;
}

QByteArray Picture(uint32_t type, const QByteArray& mime, const QByteArray& description,
                   const QByteArray& data) {
  return Bytes()
      .BE32(type)
      .BE32(static_cast<uint32_t>(mime.size()))
      .Raw(mime)
      .BE32(static_cast<uint32_t>(description.size()))
      .Raw(description)
      .BE32(300)
      .BE32(200)
      .BE32(24)
      .BE32(0)
      .BE32(static_cast<uint32_t>(data.size()))
      .Raw(data);
}

QByteArray Flac(const QList<QByteArray>& blocks) {
  QByteArray file("fLaC");
  for (const QByteArray& block : blocks)
    file += block;
  return file;
}

QByteArray CdStreamInfoBlock(bool last = false) {
  return Block(kStreamInfo, StreamInfo(44100, 2, 16, 441000), last);
}

class FLACfileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.flac"), bytes));
  }

  TempFolder folder_;
  TFLACfile reader_;
};

TEST_F(FLACfileTest, StreamInfoBytesOfCdAudio) {
  QByteArray info = StreamInfo(1, 1, 1, 0);
  const uint8_t packed[] = {0x0A, 0xC4, 0x42, 0xF0, 0x00, 0x06, 0xBA, 0xA8};
  for (int i = 0; i < 8; ++i)
    info[10 + i] = static_cast<char>(packed[i]);
  ASSERT_TRUE(Read(Flac({Block(kStreamInfo, info, true)})));
  EXPECT_EQ(reader_.SampleRate(), 44100);
  EXPECT_EQ(reader_.Channels(), 2);
  EXPECT_EQ(reader_.BitsPerSample(), 16);
  EXPECT_EQ(reader_.Samples(), 441000);
  EXPECT_DOUBLE_EQ(reader_.Duration(), 10.0);
  EXPECT_TRUE(reader_.Valid());
}

struct StreamInfoCase {
  uint32_t sampleRate;
  int channels;
  int bitsPerSample;
  uint64_t samples;
};

class FLACStreamInfoTest : public FLACfileTest,
                           public ::testing::WithParamInterface<StreamInfoCase> {};

// Each field sits at a different bit offset across byte borders; extreme values catch a
// shift or mask that is one bit off.
TEST_P(FLACStreamInfoTest, UnpacksEveryField) {
  const StreamInfoCase c = GetParam();
  ASSERT_TRUE(Read(
      Flac({Block(kStreamInfo,
                  StreamInfo(c.sampleRate, c.channels, c.bitsPerSample, c.samples, 0xA5), true)})));
  EXPECT_EQ(reader_.SampleRate(), static_cast<int>(c.sampleRate));
  EXPECT_EQ(reader_.Channels(), c.channels);
  EXPECT_EQ(reader_.BitsPerSample(), c.bitsPerSample);
  EXPECT_EQ(reader_.Samples(), static_cast<int64_t>(c.samples));
  EXPECT_DOUBLE_EQ(reader_.Duration(), static_cast<double>(c.samples) / c.sampleRate);
  for (uint8_t byte : reader_.MD5Signature())
    EXPECT_EQ(byte, 0xA5);
}

INSTANTIATE_TEST_SUITE_P(Fields, FLACStreamInfoTest,
                         ::testing::Values(StreamInfoCase{44100, 2, 16, 441000},
                                           StreamInfoCase{8000, 1, 4, 1},
                                           StreamInfoCase{1048575, 8, 32, 0xFFFFFFFFFull},
                                           StreamInfoCase{96000, 6, 24, 0x123456789ull},
                                           StreamInfoCase{48000, 1, 17, 0x100000000ull}));

struct ValidityCase {
  uint32_t sampleRate;
  int bitsPerSample;
  uint64_t samples;
  bool valid;
};

class FLACValidityTest : public FLACfileTest, public ::testing::WithParamInterface<ValidityCase> {};

TEST_P(FLACValidityTest, NeedsRateMoreThanATenthOfASecondAndFourBits) {
  const ValidityCase c = GetParam();
  ASSERT_TRUE(Read(
      Flac({Block(kStreamInfo, StreamInfo(c.sampleRate, 2, c.bitsPerSample, c.samples), true)})));
  EXPECT_EQ(reader_.Valid(), c.valid);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, FLACValidityTest,
    ::testing::Values(ValidityCase{44100, 16, 4411, true}, ValidityCase{44100, 16, 4410, false},
                      ValidityCase{0, 16, 441000, false}, ValidityCase{44100, 4, 441000, true},
                      ValidityCase{44100, 3, 441000, false}, ValidityCase{44100, 16, 0, false}));

// A stream has one STREAMINFO and it comes first. A picture block whose length reads 0 makes the
// walk take the picture's bytes for block headers; one of them may look like a second STREAMINFO,
// which must not replace the stream's facts (it once gave 300164 Hz and 3 channels).
TEST_F(FLACfileTest, OnlyTheFirstBlockGivesStreamFacts) {
  const QByteArray bogusInfo = Block(kStreamInfo, StreamInfo(300164, 3, 6, 0xFFFFFFFFFull));
  ASSERT_TRUE(Read(Flac({CdStreamInfoBlock(), Block(kPicture, QByteArray()), bogusInfo,
                         Block(kPadding, QByteArray(8, '\0'), true)})));
  EXPECT_EQ(reader_.SampleRate(), 44100);
  EXPECT_EQ(reader_.Channels(), 2);
  EXPECT_EQ(reader_.BitsPerSample(), 16);
  EXPECT_DOUBLE_EQ(reader_.Duration(), 10.0);
  ASSERT_EQ(reader_.BlockCount(), 4);
  EXPECT_EQ(reader_.Blocks()[2].BlockType, kStreamInfo);  // still listed

  ASSERT_TRUE(Read(Flac({Block(kPadding, QByteArray(4, '\0')), CdStreamInfoBlock(true)})));
  EXPECT_EQ(reader_.SampleRate(), 0);
  EXPECT_FALSE(reader_.Valid());
}

TEST_F(FLACfileTest, CommentFieldsNamesUpperCasedAndLaterEntryWins) {
  ASSERT_TRUE(Read(Flac(
      {CdStreamInfoBlock(),
       Block(kVorbisComment,
             VorbisComment("reference libFLAC 1.4.2 20221022",
                           {"title=Foo", "Title=Bar", "ARTIST=Band", "album=Record",
                            "tracknumber=07", "Date=2004", "GENRE=Rock", "comment=  spaced  "}),
             true)})));
  EXPECT_EQ(reader_.Vendor(), QStringLiteral("reference libFLAC 1.4.2 20221022"));
  EXPECT_EQ(reader_.Title(), QStringLiteral("Bar"));
  EXPECT_EQ(reader_.Artist(), QStringLiteral("Band"));
  EXPECT_EQ(reader_.Album(), QStringLiteral("Record"));
  EXPECT_EQ(reader_.TrackNumber(), QStringLiteral("07"));
  EXPECT_EQ(reader_.Date(), QStringLiteral("2004"));
  EXPECT_EQ(reader_.Genre(), QStringLiteral("Rock"));
  EXPECT_EQ(reader_.Comment(), QStringLiteral("spaced"));
  EXPECT_TRUE(reader_.OtherFields().isEmpty());
}

TEST_F(FLACfileTest, OtherFieldsJoinedByNullCharacter) {
  ASSERT_TRUE(Read(
      Flac({CdStreamInfoBlock(),
            Block(kVorbisComment,
                  VorbisComment("vendor", {"REPLAYGAIN_TRACK_GAIN=-6.00 dB", "label=X", "Title=T"}),
                  true)})));
  const QString expected =
      QStringLiteral("REPLAYGAIN_TRACK_GAIN=-6.00 dB") + QChar(u'\0') + QStringLiteral("LABEL=X");
  EXPECT_EQ(reader_.OtherFields(), expected);
  EXPECT_EQ(reader_.Title(), QStringLiteral("T"));
}

TEST_F(FLACfileTest, EntryWithoutEqualsAfterVendorIsIgnored) {
  ASSERT_TRUE(Read(
      Flac({CdStreamInfoBlock(),
            Block(kVorbisComment, VorbisComment("vendor", {"stray text", "ARTIST=A"}), true)})));
  EXPECT_EQ(reader_.Vendor(), QStringLiteral("vendor"));
  EXPECT_EQ(reader_.Artist(), QStringLiteral("A"));
  EXPECT_TRUE(reader_.OtherFields().isEmpty());
}

TEST_F(FLACfileTest, EmptyVendorTakesFirstTextWithoutEquals) {
  ASSERT_TRUE(Read(Flac(
      {CdStreamInfoBlock(),
       Block(kVorbisComment, VorbisComment("", {"ARTIST=A", "late vendor", "other"}), true)})));
  EXPECT_EQ(reader_.Vendor(), QStringLiteral("late vendor"));
}

// The vendor and the field names are 8-bit text of the system code page, the values UTF-8.
TEST_F(FLACfileTest, VendorAndNamesThroughCodePageValuesFromUtf8) {
  UserLocale::SetSystem(QLocale(QLocale::Polish, QLocale::Poland));
  ASSERT_EQ(CodePage::System().Number(), 1250);
  ASSERT_TRUE(Read(Flac(
      {CdStreamInfoBlock(), Block(kVorbisComment,
                                  VorbisComment("koder \xB9", {"ARTIST=Zesp\xC3\xB3\xC5\x82",
                                                               "NAZWA\xB9=warto\xC5\x9B\xC4\x87"}),
                                  true)})));
  EXPECT_EQ(reader_.Vendor(), QString::fromUtf8("koder ą"));
  EXPECT_EQ(reader_.Artist(), QString::fromUtf8("Zespół"));
  EXPECT_EQ(reader_.OtherFields(), QString::fromUtf8("NAZWAą=wartość"));
}

TEST_F(FLACfileTest, CommentTextsLoseControlCharactersAtBothEnds) {
  ASSERT_TRUE(
      Read(Flac({CdStreamInfoBlock(), Block(kVorbisComment,
                                            VorbisComment(QByteArray("\x01 vendor \t\0", 11),
                                                          {QByteArray("\n ARTIST= A B \x1f")}),
                                            true)})));
  EXPECT_EQ(reader_.Vendor(), QStringLiteral("vendor"));
  EXPECT_EQ(reader_.Artist(), QStringLiteral("A B"));
}

TEST_F(FLACfileTest, TwoPictureBlocksKeepTheirBlockIndex) {
  const QByteArray front = Picture(3, "image/jpeg", " Front \xC5\xBC", QByteArray(100, 'j'));
  const QByteArray back = Picture(4, "image/png", "", QByteArray(50, 'p'));
  const QByteArray file = Flac({CdStreamInfoBlock(), Block(kPadding, QByteArray(10, '\0')),
                                Block(kPicture, front), Block(kPicture, back, true)});
  ASSERT_TRUE(Read(file));
  ASSERT_EQ(reader_.PictureCount(), 2);
  ASSERT_EQ(reader_.BlockCount(), 4);

  const TPictureTag& first = reader_.Pictures()[0];
  EXPECT_EQ(first.BlockIndex, 2);
  EXPECT_EQ(first.PictureType, 3u);
  EXPECT_EQ(first.MimeType, QByteArray("image/jpeg"));
  EXPECT_EQ(first.Description, QString::fromUtf8("Front ż"));
  EXPECT_EQ(first.Width, 300u);
  EXPECT_EQ(first.Height, 200u);
  EXPECT_EQ(first.ColorDepth, 24u);
  EXPECT_EQ(first.DataLength, 100u);
  EXPECT_EQ(file.mid(first.DataOffset, 100), QByteArray(100, 'j'));

  const TPictureTag& second = reader_.Pictures()[1];
  EXPECT_EQ(second.BlockIndex, 3);
  EXPECT_EQ(second.PictureType, 4u);
  EXPECT_TRUE(second.Description.isEmpty());
  EXPECT_EQ(file.mid(second.DataOffset, 50), QByteArray(50, 'p'));
  EXPECT_EQ(TFLACfile::PictureTypeName(first.PictureType), QStringLiteral("Cover (front)"));
}

TEST_F(FLACfileTest, BlockTableHoldsTypeOffsetAndSizeOfEveryBlock) {
  ASSERT_TRUE(Read(Flac({CdStreamInfoBlock(), Block(kPadding, QByteArray(100, '\0')),
                         Block(kVorbisComment, VorbisComment("v", {}), true)})));
  ASSERT_EQ(reader_.BlockCount(), 3);
  const std::vector<TBlockEntry>& blocks = reader_.Blocks();
  EXPECT_EQ(blocks[0].BlockType, kStreamInfo);
  EXPECT_EQ(blocks[0].Offset, 4);
  EXPECT_EQ(blocks[0].Size, 38);
  EXPECT_EQ(blocks[1].BlockType, kPadding);
  EXPECT_EQ(blocks[1].Offset, 42);
  EXPECT_EQ(blocks[1].Size, 104);
  EXPECT_EQ(blocks[2].BlockType, kVorbisComment);
  EXPECT_EQ(blocks[2].Offset, 146);
}

TEST_F(FLACfileTest, WalkStopsAtLastBlockFlag) {
  QByteArray file = Flac({CdStreamInfoBlock(true)});
  file += Block(kVorbisComment, VorbisComment("after the end", {"ARTIST=A"}), true);
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.BlockCount(), 1);
  EXPECT_TRUE(reader_.Vendor().isEmpty());
}

TEST_F(FLACfileTest, RatioOfWholeFileToPcmSize) {
  const QString path =
      folder_.Write(QStringLiteral("ratio.flac"),
                    Flac({Block(kStreamInfo, StreamInfo(44100, 2, 16, 10'000'000), true)}));
  {
    QFile file(path);
    ASSERT_TRUE(file.resize(25'000'000));
  }
  ASSERT_TRUE(reader_.ReadFromFile(path));
  EXPECT_EQ(reader_.FileSize(), 25'000'000);
  EXPECT_DOUBLE_EQ(reader_.Ratio(), 62.5);
}

// Sizes are 64-bit: a file above 2 GiB (sparse, so it costs no disk) keeps its size and ratio.
TEST_F(FLACfileTest, FileAboveTwoGibibytesKeepsItsSize) {
  const int64_t size = 3'000'000'000;
  const QString path =
      folder_.Write(QStringLiteral("big.flac"),
                    Flac({Block(kStreamInfo, StreamInfo(44100, 2, 16, 1'000'000'000), true)}));
  {
    QFile file(path);
    ASSERT_TRUE(file.resize(size));
  }
  ASSERT_TRUE(reader_.ReadFromFile(path));
  EXPECT_EQ(reader_.FileSize(), size);
  EXPECT_DOUBLE_EQ(reader_.Ratio(), 75.0);
}

TEST_F(FLACfileTest, OpenErrorReachesCallerAndReaderStaysReset) {
  const QString path = folder_.FilePath(QStringLiteral("missing.flac"));
  try {
    reader_.ReadFromFile(path);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Cannot open file ")));
    EXPECT_TRUE(error.Message().endsWith(QStringLiteral("missing.flac")));
  }
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.FileSize(), 0);
}

struct NotFlacCase {
  const char* name;
  QByteArray bytes;
};

class FLACNotAStreamTest : public FLACfileTest,
                           public ::testing::WithParamInterface<NotFlacCase> {};

TEST_P(FLACNotAStreamTest, GivesFalseAndStaysReset) {
  ASSERT_TRUE(Read(Flac({CdStreamInfoBlock(true)})));
  const QString firstName = reader_.FileName();
  EXPECT_FALSE(reader_.ReadFromFile(folder_.Write(QStringLiteral("other.flac"), GetParam().bytes)));
  EXPECT_FALSE(reader_.Valid());
  EXPECT_EQ(reader_.FileSize(), 0);
  EXPECT_EQ(reader_.SampleRate(), 0);
  EXPECT_EQ(reader_.BlockCount(), 0);
  EXPECT_EQ(reader_.FileName(), firstName);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FLACNotAStreamTest,
    ::testing::Values(NotFlacCase{"ShortMarker", "fLa"},
                      NotFlacCase{"LowerCase", "flac" + CdStreamInfoBlock(true)},
                      NotFlacCase{"ID3v2First", "ID3\x03" + QByteArray(6, '\0') +
                                                    Flac({CdStreamInfoBlock(true)})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FLACfileTest, SecondReadShowsOnlySecondFile) {
  ASSERT_TRUE(Read(
      Flac({CdStreamInfoBlock(), Block(kVorbisComment, VorbisComment("v", {"ARTIST=A", "X=1"})),
            Block(kPicture, Picture(3, "image/png", "", "data"), true)})));
  ASSERT_TRUE(Read(Flac({Block(kStreamInfo, StreamInfo(8000, 1, 8, 80000), true)})));
  EXPECT_TRUE(reader_.Artist().isEmpty());
  EXPECT_TRUE(reader_.Vendor().isEmpty());
  EXPECT_TRUE(reader_.OtherFields().isEmpty());
  EXPECT_EQ(reader_.PictureCount(), 0);
  EXPECT_EQ(reader_.BlockCount(), 1);
  EXPECT_EQ(reader_.SampleRate(), 8000);
}

// A file cut after STREAMINFO still reports the stream; the walk ends at the short read.
TEST_F(FLACfileTest, TruncatedAfterStreamInfoKeepsStreamFacts) {
  const QByteArray full =
      Flac({CdStreamInfoBlock(),
            Block(kPicture, Picture(3, "image/png", "", QByteArray(500, 'x')), true)});
  ASSERT_TRUE(Read(full.left(4 + 38 + 2)));
  EXPECT_TRUE(reader_.Valid());
  EXPECT_EQ(reader_.SampleRate(), 44100);
  EXPECT_EQ(reader_.BlockCount(), 1);
  EXPECT_EQ(reader_.PictureCount(), 0);
}

TEST_F(FLACfileTest, BlockRunningPastEndEndsWalk) {
  QByteArray file = Flac({CdStreamInfoBlock()});
  file += Bytes().U8(kPadding).BE24(0xFFFFFF).Fill(20);
  ASSERT_TRUE(Read(file));
  EXPECT_TRUE(reader_.Valid());
  ASSERT_EQ(reader_.BlockCount(), 2);
  EXPECT_EQ(reader_.Blocks()[1].Size, 4 + 0xFFFFFF);
}

TEST_F(FLACfileTest, CommentClaimingFourBillionEntriesReadsThoseThere) {
  QByteArray body = VorbisComment("vendor", {"ARTIST=A", "TITLE=T"});
  body[4 + 6] = '\xFF';
  body[4 + 6 + 1] = '\xFF';
  body[4 + 6 + 2] = '\xFF';
  body[4 + 6 + 3] = '\xFF';
  ASSERT_TRUE(Read(Flac({CdStreamInfoBlock(), Block(kVorbisComment, body, true)})));
  EXPECT_EQ(reader_.Artist(), QStringLiteral("A"));
  EXPECT_EQ(reader_.Title(), QStringLiteral("T"));
}

TEST_F(FLACfileTest, CommentLengthPastBlockEndsComment) {
  QByteArray body = VorbisComment("vendor", {"ARTIST=A"});
  body += Bytes().LE32(0x7FFFFFFF).Text("TITLE=T");
  body[4 + 6] = 2;  // the count now includes the oversized entry
  ASSERT_TRUE(Read(Flac({CdStreamInfoBlock(), Block(kVorbisComment, body),
                         Block(kPadding, Bytes().LE32(7).Text("TITLE=X"), true)})));
  EXPECT_EQ(reader_.Artist(), QStringLiteral("A"));
  EXPECT_TRUE(reader_.Title().isEmpty());
  EXPECT_EQ(reader_.BlockCount(), 3);
}

// A comment cut by the end of the file still gives the entries that are complete.
TEST_F(FLACfileTest, CommentCutByEndOfFileKeepsCompleteEntries) {
  const QByteArray file = Flac(
      {CdStreamInfoBlock(),
       Block(kVorbisComment, VorbisComment("vendor", {"ARTIST=A", "TITLE=Long title"}), true)});
  ASSERT_TRUE(Read(file.left(file.size() - 5)));
  EXPECT_EQ(reader_.Artist(), QStringLiteral("A"));
  EXPECT_TRUE(reader_.Title().isEmpty());
  EXPECT_TRUE(reader_.Valid());
}

TEST_F(FLACfileTest, PictureWithHugeMimeLengthIsSkipped) {
  QByteArray picture = Picture(3, "image/png", "", "data");
  picture[4] = '\x80';  // MIME length 0x80000009
  ASSERT_TRUE(Read(Flac({CdStreamInfoBlock(), Block(kPicture, picture),
                         Block(kPicture, Picture(4, "image/png", "", "data"), true)})));
  ASSERT_EQ(reader_.PictureCount(), 1);
  EXPECT_EQ(reader_.Pictures()[0].PictureType, 4u);
  EXPECT_EQ(reader_.Pictures()[0].BlockIndex, 2);
  EXPECT_EQ(reader_.BlockCount(), 3);
}

TEST_F(FLACfileTest, PictureWithDescriptionPastBlockIsSkipped) {
  QByteArray picture = Picture(3, "image/png", "abc", "");
  picture[8 + 9 + 3] = 100;  // description length 100 in a block of 40 bytes
  ASSERT_TRUE(Read(Flac({CdStreamInfoBlock(), Block(kPicture, picture, true)})));
  EXPECT_EQ(reader_.PictureCount(), 0);
  EXPECT_EQ(reader_.BlockCount(), 2);
}

TEST_F(FLACfileTest, EndlessEmptyBlocksEndTheWalk) {
  QByteArray file = Flac({CdStreamInfoBlock()});
  for (int i = 0; i < 70000; ++i)
    file += Block(kPadding, {});
  ASSERT_TRUE(Read(file));
  EXPECT_EQ(reader_.BlockCount(), 65536);
  EXPECT_TRUE(reader_.Valid());
}

}  // namespace
