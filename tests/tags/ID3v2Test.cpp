#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "tags/ID3v2.h"
#include "tags/TagBuilders.h"

using namespace tagblocks;

namespace {

const QByteArray kAudio(200, '\xff');

QByteArray Utf8(const char* text) {
  return QByteArray(text);
}

class ID3v2Test : public ::testing::Test {
 protected:
  const TID3v2& Read(const QByteArray& bytes) {
    EXPECT_TRUE(reader_.ReadFromFile(folder_.Write(QStringLiteral("track.mp3"), bytes)));
    return reader_;
  }
  // A tag of the version with the frames, followed by audio.
  const TID3v2& ReadFrames(int version, const QByteArray& frames) {
    return Read(ID3v2Tag(version, frames, 16) + kAudio);
  }

  TempFolder folder_;
  TID3v2 reader_;
};

void ExpectNoText(const TID3v2& tag) {
  for (const QByteArray& text :
       {tag.Title(), tag.Artist(), tag.Album(), tag.TrackString(), tag.Year(), tag.Genre(),
        tag.Comment(), tag.Composer(), tag.Encoder(), tag.Copyright(), tag.Language(), tag.Link(),
        tag.AudioSize()}) {
    EXPECT_EQ(text, QByteArray());
  }
  EXPECT_EQ(tag.Track(), 0);
}

struct SizeCase {
  const char* name;
  uint8_t flags;
  uint32_t sizeBytes;
  int fileSize;
  int64_t expected;
};

class ID3v2SizeTest : public ID3v2Test, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ID3v2SizeTest, SizeCountsHeaderAndFooter) {
  const SizeCase& c = GetParam();
  const TID3v2& tag = Read(Bytes().Raw(ID3v2Header(3, c.flags, c.sizeBytes)).PadTo(c.fileSize));
  EXPECT_TRUE(tag.Exists());
  EXPECT_EQ(tag.VersionID(), 3);
  EXPECT_EQ(tag.Size(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ID3v2SizeTest,
    ::testing::Values(SizeCase{"Plain", 0x00, 0x00000201, 1000, 267},
                      SizeCase{"FooterFlagAddsTenBytes", 0x10, 0x00000201, 1000, 277},
                      SizeCase{"OtherFlagsIgnored", 0xEF, 0x00000201, 1000, 267},
                      SizeCase{"TagFillsTheFile", 0x00, 0x00000201, 267, 267},
                      SizeCase{"ExceedsTheFile", 0x00, 0x00000201, 266, 0},
                      SizeCase{"HighBitsTakenWhole", 0x00, 0x00000080, 1000, 138},
                      SizeCase{"LargestExceedsTheFile", 0x10, 0xFFFFFFFF, 1000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ID3v2Test, TagLargerThanFileGivesNoText) {
  QByteArray file = ID3v2Tag(3, ID3v2Frame(3, "TIT2", Latin1Text("Title")), 5000);
  file.truncate(100);
  const TID3v2& tag = Read(file);
  EXPECT_TRUE(tag.Exists());
  EXPECT_EQ(tag.Size(), 0);
  ExpectNoText(tag);
}

TEST_F(ID3v2Test, ShortOrMissingFilesFail) {
  EXPECT_FALSE(reader_.ReadFromFile(
      folder_.Write(QStringLiteral("short.mp3"), QByteArray("ID3\3\0\0\0\0\1", 9))));
  EXPECT_FALSE(reader_.Exists());
  Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", Latin1Text("Title"))) + kAudio);
  ASSERT_EQ(reader_.Title(), "Title");
  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.mp3"))));
  EXPECT_FALSE(reader_.Exists());
  EXPECT_EQ(reader_.Size(), 0);
  ExpectNoText(reader_);
}

TEST_F(ID3v2Test, FileWithoutTagIsReadAsAbsent) {
  const TID3v2& tag = Read(kAudio);
  EXPECT_FALSE(tag.Exists());
  EXPECT_EQ(tag.VersionID(), 0);
  EXPECT_EQ(tag.Size(), 0);
}

TEST_F(ID3v2Test, UnknownVersionsReadNoFrames) {
  for (const int version : {0, 1, 5, 255}) {
    const TID3v2& tag = ReadFrames(version, ID3v2Frame(3, "TIT2", Latin1Text("Title")));
    EXPECT_TRUE(tag.Exists());
    EXPECT_EQ(tag.VersionID(), version);
    EXPECT_GT(tag.Size(), 0);
    ExpectNoText(tag);
  }
}

struct TextCase {
  const char* name;
  QByteArray frameData;
  QByteArray expected;
};

class ID3v2TextTest : public ID3v2Test, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ID3v2TextTest, TitleTextIsDecodedToStoredBytesOrUtf8) {
  for (const int version : {3, 4}) {
    const TID3v2& tag = ReadFrames(version, ID3v2Frame(version, "TIT2", GetParam().frameData));
    EXPECT_EQ(tag.Title(), GetParam().expected) << "version " << version;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ID3v2TextTest,
    ::testing::Values(
        TextCase{"Latin1NulPadded", Bytes().U8(0).Text("Title").Fill(6), "Title"},
        TextCase{"Latin1BytesKept", Bytes().U8(0).Text("Caf\xe9"), "Caf\xe9"},
        // Several values, each ended by a NUL: joined, so that no NUL reaches any output.
        TextCase{"Latin1ValuesJoined", Bytes().U8(0).Text("Rock").U8(0).Text("Pop").Fill(2),
                 "Rock; Pop"},
        TextCase{"Latin1Trimmed", Bytes().U8(0).Text("  Title \t"), "Title"},
        TextCase{"Utf16LittleEndianMark", Utf16Text(QStringLiteral("Zażółć")), Utf8("Zażółć")},
        TextCase{"Utf16BigEndianMark", Utf16Text(QStringLiteral("Zażółć"), true), Utf8("Zażółć")},
        TextCase{"Utf16WithoutMarkIsLittleEndian",
                 Bytes().U8(1).Raw(Utf16Units(QStringLiteral("Gęś"), false)), Utf8("Gęś")},
        TextCase{"Utf16KeepsCharactersEndingInFF", Utf16Text(QStringLiteral("\u00ff \u01ff x")),
                 Utf8("ÿ ǿ x")},
        TextCase{"Utf16OnlyLeadingMarkDropped",
                 Bytes().Raw(Utf16Text(QStringLiteral("a"))).LE16(0xFEFF).LE16('b'),
                 Utf8("a\ufeffb")},
        TextCase{"Utf16ValuesJoinedEachWithItsMark",
                 Bytes()
                     .Raw(Utf16Text(QStringLiteral("One")))
                     .LE16(0)
                     .BE16(0xFEFF)
                     .Raw(Utf16Units(QStringLiteral("Twó"), true))
                     .Fill(4),
                 Utf8("One; Twó")},
        TextCase{"Utf16SurrogatePair", Utf16Text(QStringLiteral("\U0001F3B5 Song")),
                 Utf8("\U0001F3B5 Song")},
        TextCase{"Utf16Trimmed", Utf16Text(QStringLiteral("  Title \u0001")), "Title"},
        TextCase{"Utf16OddByteDropped", Bytes().Raw(Utf16Text(QStringLiteral("Ab"))).U8('c'), "Ab"},
        TextCase{"Utf16BigEndianWithoutMark", Utf16BigEndianText(QStringLiteral("Łódź")),
                 Utf8("Łódź")},
        TextCase{"Utf8", Utf8Text(QStringLiteral("Żółw")), Utf8("Żółw")},
        TextCase{"Utf8NulTerminated", Bytes().Raw(Utf8Text(QStringLiteral("Żółw"))).U8(0),
                 Utf8("Żółw")},
        TextCase{"UnknownEncodingIgnored", Bytes().U8(4).Text("Title"), ""},
        TextCase{"EmptyFrame", QByteArray(), ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct FallbackCase {
  const char* name;
  const char* preferred;
  const char* fallback;
  QByteArray (*field)(const TID3v2&);
};

class ID3v2FallbackTest : public ID3v2Test, public ::testing::WithParamInterface<FallbackCase> {};

TEST_P(ID3v2FallbackTest, SecondFrameFillsAnEmptyField) {
  const FallbackCase& c = GetParam();
  EXPECT_EQ(c.field(ReadFrames(3, ID3v2Frame(3, c.fallback, Latin1Text("Second")))), "Second");
  EXPECT_EQ(c.field(ReadFrames(3, ID3v2Frame(3, c.fallback, Latin1Text("Second")) +
                                      ID3v2Frame(3, c.preferred, Latin1Text("First")))),
            "First");
  EXPECT_EQ(c.field(ReadFrames(3, ID3v2Frame(3, c.fallback, Latin1Text("Second")) +
                                      ID3v2Frame(3, c.preferred, Latin1Text("  ")))),
            "Second");
}

INSTANTIATE_TEST_SUITE_P(Fields, ID3v2FallbackTest,
                         ::testing::Values(FallbackCase{"Title", "TIT2", "TIT1",
                                                        [](const TID3v2& t) { return t.Title(); }},
                                           FallbackCase{"Artist", "TPE1", "TOPE",
                                                        [](const TID3v2& t) { return t.Artist(); }},
                                           FallbackCase{"Album", "TALB", "TOAL",
                                                        [](const TID3v2& t) { return t.Album(); }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ID3v2Test, OtherTextFramesFillTheirFields) {
  const TID3v2& tag = ReadFrames(3, ID3v2Frame(3, "TCOM", Latin1Text("Composer")) +
                                        ID3v2Frame(3, "TENC", Latin1Text("Enc")) +
                                        ID3v2Frame(3, "TCOP", Latin1Text("(C) 2004")) +
                                        ID3v2Frame(3, "TLAN", Latin1Text("pol")) +
                                        ID3v2Frame(3, "TSIZ", Latin1Text("123456")) +
                                        ID3v2Frame(3, "TXXX", Latin1Text("ignored")));
  EXPECT_EQ(tag.Composer(), "Composer");
  EXPECT_EQ(tag.Encoder(), "Enc");
  EXPECT_EQ(tag.Copyright(), "(C) 2004");
  EXPECT_EQ(tag.Language(), "pol");
  EXPECT_EQ(tag.AudioSize(), "123456");
}

struct TrackCase {
  QByteArray text;
  int32_t track;
};

class ID3v2TrackTest : public ID3v2Test, public ::testing::WithParamInterface<TrackCase> {};

TEST_P(ID3v2TrackTest, TrackNumberIsTheTextBeforeTheSlash) {
  const TID3v2& tag = ReadFrames(3, ID3v2Frame(3, "TRCK", Latin1Text(GetParam().text)));
  EXPECT_EQ(tag.Track(), GetParam().track);
  EXPECT_EQ(tag.TrackString(), GetParam().text.trimmed());
}

INSTANTIATE_TEST_SUITE_P(Tracks, ID3v2TrackTest,
                         ::testing::Values(TrackCase{"3/12", 3}, TrackCase{"07", 7},
                                           TrackCase{"A1", 0}, TrackCase{"/12", 0},
                                           TrackCase{"3 /12", 3}, TrackCase{"-3", 0},
                                           TrackCase{"99999999999", 0}, TrackCase{"", 0}));

TEST_F(ID3v2Test, YearFallsBackToFirstFourCharactersOfRecordingTime) {
  EXPECT_EQ(ReadFrames(4, ID3v2Frame(4, "TDRC", Utf8Text(QStringLiteral("2004-05-01")))).Year(),
            "2004");
  EXPECT_EQ(ReadFrames(3, ID3v2Frame(3, "TDRC", Latin1Text("2004-05-01")) +
                              ID3v2Frame(3, "TYER", Latin1Text("1999")))
                .Year(),
            "1999");
  EXPECT_EQ(ReadFrames(2, ID3v2Frame(2, "TOR", Latin1Text("1987"))).Year(), "1987");
  // Four bytes of UTF-8 would end inside the third character.
  EXPECT_EQ(ReadFrames(4, ID3v2Frame(4, "TDRC", Utf8Text(QStringLiteral("ŻŻŻ")))).Year(),
            Utf8("ŻŻ"));
}

struct GenreCase {
  QByteArray stored, expected;
};

class ID3v2GenreTest : public ID3v2Test, public ::testing::WithParamInterface<GenreCase> {};

TEST_P(ID3v2GenreTest, GenreDropsEverythingUpToTheLastParenthesis) {
  EXPECT_EQ(ReadFrames(3, ID3v2Frame(3, "TCON", Latin1Text(GetParam().stored))).Genre(),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Genres, ID3v2GenreTest,
                         ::testing::Values(GenreCase{"(17)Rock", "Rock"}, GenreCase{"(17)", ""},
                                           GenreCase{"Rock", "Rock"}, GenreCase{"(1)(2)Pop", "Pop"},
                                           GenreCase{"Drum (and) Bass", " Bass"}));

struct DescribedCase {
  const char* name;
  QByteArray frameData;
  QByteArray expected;
};

class ID3v2CommentTest : public ID3v2Test, public ::testing::WithParamInterface<DescribedCase> {};

TEST_P(ID3v2CommentTest, CommentIsTheTextAfterTheDescription) {
  EXPECT_EQ(ReadFrames(3, ID3v2Frame(3, "COMM", GetParam().frameData)).Comment(),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Comments, ID3v2CommentTest,
    ::testing::Values(
        DescribedCase{"EmptyDescription", Bytes().U8(0).Text("eng").U8(0).Text("Text"), "Text"},
        DescribedCase{"DescriptionDropped",
                      Bytes().U8(0).Text("eng").Text("Desc").U8(0).Text("Text").U8(0), "Text"},
        DescribedCase{"NoTerminator", Bytes().U8(0).Text("eng").Text("Desc"), ""},
        DescribedCase{"Utf8", Bytes().U8(3).Text("pol").Text("Opis").U8(0).Raw(Utf8("Żółty")),
                      Utf8("Żółty")},
        DescribedCase{"Utf16WithMarks",
                      Bytes()
                          .U8(1)
                          .Text("eng")
                          .Raw(Utf16Text(QStringLiteral("Desc")).mid(1))
                          .LE16(0)
                          .Raw(Utf16Text(QStringLiteral("Komentarz")).mid(1)),
                      "Komentarz"},
        // The description "A\u0100" holds 00 00 across two code units; only a whole NUL unit
        // ends it.
        DescribedCase{"Utf16TerminatorIsAWholeUnit",
                      Bytes()
                          .U8(1)
                          .Text("eng")
                          .Raw(Utf16Text(QStringLiteral("A\u0100")).mid(1))
                          .LE16(0)
                          .Raw(Utf16Text(QStringLiteral("Text")).mid(1)),
                      "Text"},
        DescribedCase{"Utf16BigEndianTerminatorIsAWholeUnit",
                      Bytes()
                          .U8(2)
                          .Text("eng")
                          .Raw(Utf16Units(QStringLiteral("\u0100A"), true))
                          .BE16(0)
                          .Raw(Utf16Units(QStringLiteral("Łąka"), true)),
                      Utf8("Łąka")},
        DescribedCase{
            "Utf16EmptyDescriptionWithoutMark",
            Bytes().U8(1).Text("eng").LE16(0).Raw(Utf16Text(QStringLiteral("Text")).mid(1)),
            "Text"},
        DescribedCase{"ShorterThanLanguage", Bytes().U8(0).Text("en"), ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ID3v2Test, LaterFrameOfTheSameIdentifierWins) {
  const TID3v2& tag =
      ReadFrames(3, ID3v2Frame(3, "COMM", Bytes().U8(0).Text("eng").U8(0).Text("First")) +
                        ID3v2Frame(3, "TIT2", Latin1Text("Title One")) +
                        ID3v2Frame(3, "COMM", Bytes().U8(0).Text("eng").U8(0).Text("Second")) +
                        ID3v2Frame(3, "TIT2", Latin1Text("Title Two")));
  EXPECT_EQ(tag.Comment(), "Second");
  EXPECT_EQ(tag.Title(), "Title Two");
}

class ID3v2LinkTest : public ID3v2Test, public ::testing::WithParamInterface<DescribedCase> {};

TEST_P(ID3v2LinkTest, LinkIsLatin1AfterTheDescription) {
  EXPECT_EQ(ReadFrames(3, ID3v2Frame(3, "WXXX", GetParam().frameData)).Link(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Links, ID3v2LinkTest,
    ::testing::Values(
        DescribedCase{"Latin1", Bytes().U8(0).Text("home").U8(0).Text("http://a.pl/\xe4"),
                      "http://a.pl/\xe4"},
        DescribedCase{
            "Utf16DescriptionLatin1Link",
            Bytes().Raw(Utf16Text(QStringLiteral("home"))).LE16(0).Text("http://a.pl/\xe4").U8(0),
            "http://a.pl/\xe4"},
        DescribedCase{
            "Utf16DescriptionEndsOnWholeUnit",
            Bytes().Raw(Utf16Text(QStringLiteral("A\u0100B"))).LE16(0).Text("http://a.pl"),
            "http://a.pl"},
        DescribedCase{
            "Utf16BigEndianDescription",
            Bytes().U8(2).Raw(Utf16Units(QStringLiteral("home"), true)).BE16(0).Text("http://a.pl"),
            "http://a.pl"},
        DescribedCase{"Utf8Description", Bytes().U8(3).Raw(Utf8("dom ż")).U8(0).Text("http://a.pl"),
                      "http://a.pl"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ID3v2Test, Version2FramesFillTheFields) {
  const TID3v2& tag = ReadFrames(
      2, ID3v2Frame(2, "TT2", Latin1Text("Title")) + ID3v2Frame(2, "TP1", Latin1Text("Artist")) +
             ID3v2Frame(2, "TAL", Latin1Text("Album")) + ID3v2Frame(2, "TRK", Latin1Text("4/9")) +
             ID3v2Frame(2, "TYE", Latin1Text("2001")) +
             ID3v2Frame(2, "TCO", Latin1Text("(8)Jazz")) +
             ID3v2Frame(2, "COM", Bytes().U8(0).Text("eng").U8(0).Text("Note")) +
             ID3v2Frame(2, "WXX", Bytes().U8(0).U8(0).Text("http://b.pl")) +
             ID3v2Frame(2, "TIT2", Latin1Text("not a version 2 frame")));
  EXPECT_EQ(tag.VersionID(), 2);
  EXPECT_EQ(tag.Title(), "Title");
  EXPECT_EQ(tag.Artist(), "Artist");
  EXPECT_EQ(tag.Album(), "Album");
  EXPECT_EQ(tag.Track(), 4);
  EXPECT_EQ(tag.Year(), "2001");
  EXPECT_EQ(tag.Genre(), "Jazz");
  EXPECT_EQ(tag.Comment(), "Note");
  EXPECT_EQ(tag.Link(), "http://b.pl");
}

TEST_F(ID3v2Test, FrameWithSecondFlagByteBit7IsSkipped) {
  const TID3v2& tag = ReadFrames(3, ID3v2Frame(3, "TIT2", Latin1Text("Compressed"), 0x0080) +
                                        ID3v2Frame(3, "TPE1", Latin1Text("Artist"), 0x8000));
  EXPECT_EQ(tag.Title(), QByteArray());
  EXPECT_EQ(tag.Artist(), "Artist");
}

TEST_F(ID3v2Test, ExtendedHeaderHidesTheFrames) {
  const QByteArray extendedHeader = Bytes().BE32(6).BE16(0).BE32(0);
  const TID3v2& tag = Read(
      ID3v2Tag(3, extendedHeader + ID3v2Frame(3, "TIT2", Latin1Text("Title")), 0, 0x40) + kAudio);
  EXPECT_TRUE(tag.Exists());
  EXPECT_EQ(tag.Title(), QByteArray());
}

TEST_F(ID3v2Test, PaddingEndsTheFrames) {
  const TID3v2& tag =
      Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", Latin1Text("Title")) + QByteArray(4, '\0') +
                           ID3v2Frame(3, "TPE1", Latin1Text("Hidden"))) +
           kAudio);
  EXPECT_EQ(tag.Title(), "Title");
  EXPECT_EQ(tag.Artist(), QByteArray());
}

TEST_F(ID3v2Test, FramesAfterTheTagAreNotRead) {
  const TID3v2& tag = Read(ID3v2Tag(3, ID3v2Frame(3, "TIT2", Latin1Text("Title"))) +
                           ID3v2Frame(3, "TPE1", Latin1Text("Audio")));
  EXPECT_EQ(tag.Title(), "Title");
  EXPECT_EQ(tag.Artist(), QByteArray());
}

TEST_F(ID3v2Test, LongFrameKeepsFiveHundredBytesAndTheNextFrameIsFound) {
  const QByteArray longText(700, 'x');
  const TID3v2& tag = ReadFrames(
      3, ID3v2Frame(3, "TIT2", Latin1Text(longText)) + ID3v2Frame(3, "TPE1", Latin1Text("Artist")));
  EXPECT_EQ(tag.Title(), QByteArray(499, 'x'));
  EXPECT_EQ(tag.Artist(), "Artist");
}

TEST_F(ID3v2Test, CharacterCutAtTheFrameLimitIsDropped) {
  // 1 + 2 + 2 x 248 + 1 bytes = 500: the limit falls inside the 249th "ż".
  const QString text = QStringLiteral("ab") + QString(300, QChar(0x017C));
  EXPECT_EQ(ReadFrames(3, ID3v2Frame(3, "TIT2", Utf8Text(text))).Title(),
            (QStringLiteral("ab") + QString(248, QChar(0x017C))).toUtf8());
  // 1 + 2 + 2 x 248 + 1 bytes: 247 letters, the high half of a surrogate pair, half a unit.
  const QString pairs = QString(247, QLatin1Char('b')) + QStringLiteral("\U0001F3B5\U0001F3B5");
  EXPECT_EQ(ReadFrames(3, ID3v2Frame(3, "TIT2", Utf16Text(pairs))).Title(),
            QString(247, QLatin1Char('b')).toUtf8());
}

TEST_F(ID3v2Test, Version4SizesAreSynchsafe) {
  const QByteArray longText(300, 'y');
  const TID3v2& tag = ReadFrames(
      4, ID3v2Frame(4, "TIT2", Latin1Text(longText)) + ID3v2Frame(4, "TPE1", Latin1Text("Artist")));
  EXPECT_EQ(tag.Title(), longText);
  EXPECT_EQ(tag.Artist(), "Artist");
}

TEST_F(ID3v2Test, Version4PlainSizeIsUsedWhenOnlyItReachesTheNextFrame) {
  const QByteArray longText(300, 'y');
  const TID3v2& tag = ReadFrames(
      4, ID3v2Frame(3, "TIT2", Latin1Text(longText)) + ID3v2Frame(3, "TPE1", Latin1Text("Artist")));
  EXPECT_EQ(tag.Title(), longText);
  EXPECT_EQ(tag.Artist(), "Artist");
}

TEST_F(ID3v2Test, Version4PlainSizeIsUsedWhenItEndsTheTag) {
  const QByteArray longText(300, 'y');
  const TID3v2& tag = Read(ID3v2Tag(4, ID3v2Frame(3, "TIT2", Latin1Text(longText))) + kAudio);
  EXPECT_EQ(tag.Title(), longText);
}

TEST_F(ID3v2Test, Version4SizeWithHighBitsIsPlain) {
  // 0x00 0x00 0x01 0x80 is no synchsafe number; read plainly it is 384.
  const QByteArray longText(383, 'z');
  const TID3v2& tag = ReadFrames(
      4, ID3v2Frame(3, "TIT2", Latin1Text(longText)) + ID3v2Frame(4, "TPE1", Latin1Text("Artist")));
  EXPECT_EQ(tag.Artist(), "Artist");
}

TEST_F(ID3v2Test, FrameSizesBeyondTheFileEndTheLoop) {
  const QByteArray frames = Bytes()
                                .Raw(ID3v2Frame(3, "TIT2", Latin1Text("Title")))
                                .Text("TPE1")
                                .BE32(0xFFFFFFF0)
                                .BE16(0)
                                .U8(0)
                                .Text("Artist");
  const TID3v2& tag = Read(ID3v2Tag(3, frames));
  EXPECT_EQ(tag.Title(), "Title");
  EXPECT_EQ(tag.Artist(), "Artist");
}

TEST_F(ID3v2Test, FramesAcrossManyReadBlocksAreAllRead) {
  Bytes frames;
  for (int i = 0; i < 20000; ++i)
    frames.Raw(ID3v2Frame(3, "TXXX", QByteArray()));
  frames.Raw(ID3v2Frame(3, "TIT2", Latin1Text("Last")));
  EXPECT_EQ(ReadFrames(3, frames).Title(), "Last");
}

TEST_F(ID3v2Test, SecondReadShowsOnlySecondFile) {
  ReadFrames(3, ID3v2Frame(3, "TIT2", Latin1Text("One")) + ID3v2Frame(3, "TRCK", Latin1Text("5")) +
                    ID3v2Frame(3, "WXXX", Bytes().U8(0).U8(0).Text("http://a.pl")));
  const TID3v2& tag = ReadFrames(4, ID3v2Frame(4, "TPE1", Latin1Text("Two")));
  EXPECT_EQ(tag.VersionID(), 4);
  EXPECT_EQ(tag.Title(), QByteArray());
  EXPECT_EQ(tag.Artist(), "Two");
  EXPECT_EQ(tag.Track(), 0);
  EXPECT_EQ(tag.Link(), QByteArray());
}

}  // namespace
