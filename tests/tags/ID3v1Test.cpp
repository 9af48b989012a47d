#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "tags/ID3v1.h"
#include "tags/TagBuilders.h"

using namespace tagblocks;

namespace {

const QByteArray kAudio(300, '\x55');

class ID3v1Test : public ::testing::Test {
 protected:
  // Writes the bytes as a file and reads it; the read's result must be true.
  const TID3v1& Read(const QByteArray& bytes) {
    EXPECT_TRUE(reader_.ReadFromFile(folder_.Write(QStringLiteral("track.mp3"), bytes)));
    return reader_;
  }

  TempFolder folder_;
  TID3v1 reader_;
};

void ExpectReset(const TID3v1& tag) {
  EXPECT_FALSE(tag.Exists());
  EXPECT_EQ(tag.VersionID(), 1);
  EXPECT_EQ(tag.Title(), QByteArray());
  EXPECT_EQ(tag.Artist(), QByteArray());
  EXPECT_EQ(tag.Album(), QByteArray());
  EXPECT_EQ(tag.Year(), QByteArray());
  EXPECT_EQ(tag.Comment(), QByteArray());
  EXPECT_EQ(tag.Track(), 0);
  EXPECT_EQ(tag.GenreID(), 255);
  EXPECT_FALSE(tag.LyricsExists());
  EXPECT_EQ(tag.LyricsSize(), 0);
  EXPECT_EQ(tag.LyricsImage(), QByteArray());
  EXPECT_EQ(tag.LyricsAuthor(), QByteArray());
  EXPECT_EQ(tag.Lyrics(), QByteArray());
  EXPECT_EQ(tag.TotalSize(), 0);
}

// A tag whose comment field is 30 letters, with bytes 125 and 126 set as given.
QByteArray TagWithVersionBytes(uint8_t marker, uint8_t track) {
  QByteArray tag = ID3v1Tag({.comment = QByteArray(30, 'C')});
  tag[125] = static_cast<char>(marker);
  tag[126] = static_cast<char>(track);
  return tag;
}

struct VersionCase {
  uint8_t marker, track;
  int versionID, expectedTrack, commentLength;
};

class ID3v1VersionTest : public ID3v1Test, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(ID3v1VersionTest, MarkerAndTrackBytesDecideTheVersion) {
  const VersionCase& c = GetParam();
  const TID3v1& tag = Read(kAudio + TagWithVersionBytes(c.marker, c.track));
  EXPECT_TRUE(tag.Exists());
  EXPECT_EQ(tag.VersionID(), c.versionID);
  EXPECT_EQ(tag.Track(), c.expectedTrack);
  EXPECT_EQ(tag.Comment().size(), c.commentLength);
}

// A version 1.0 comment keeps bytes 125 and 126 unless they are trailing padding.
INSTANTIATE_TEST_SUITE_P(
    Bytes125And126, ID3v1VersionTest,
    ::testing::Values(VersionCase{0x00, 0x05, 2, 5, 28}, VersionCase{0x00, 0x00, 1, 0, 28},
                      VersionCase{0x20, 0x20, 1, 0, 28}, VersionCase{0x20, 0x07, 2, 7, 28},
                      VersionCase{0x41, 0x05, 1, 0, 29}, VersionCase{0x41, 0x42, 1, 0, 30}));

struct FieldCase {
  const char* name;
  QByteArray stored, expected;
};

class ID3v1FieldTest : public ID3v1Test, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(ID3v1FieldTest, TrailingBytesUpToBlankAreDropped) {
  const FieldCase& c = GetParam();
  const TID3v1& tag = Read(
      kAudio +
      ID3v1Tag({.title = c.stored, .artist = c.stored, .album = c.stored, .comment = c.stored}));
  EXPECT_EQ(tag.Title(), c.expected);
  EXPECT_EQ(tag.Artist(), c.expected);
  EXPECT_EQ(tag.Album(), c.expected);
  EXPECT_EQ(tag.Comment(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ID3v1FieldTest,
    ::testing::Values(FieldCase{"Blanks", QByteArray(30, ' '), ""},
                      FieldCase{"NulPadded", "Rock", "Rock"},
                      FieldCase{"InnerNulKept", QByteArray("AB\0CD  ", 7), QByteArray("AB\0CD", 5)},
                      FieldCase{"LeadingBlanksKept", "  Lead", "  Lead"},
                      FieldCase{"ControlCharacters", "Tail\x01\x1f\t", "Tail"},
                      FieldCase{"HighBytesKept", "Za\xbf\xf3\xb3\xe6", "Za\xbf\xf3\xb3\xe6"},
                      FieldCase{"FullWidth", QByteArray(30, 'x'), QByteArray(30, 'x')}),
    [](const auto& info) { return std::string(info.param.name); });

struct GenreCase {
  uint8_t id;
  const char* name;
};

class ID3v1GenreTest : public ID3v1Test, public ::testing::WithParamInterface<GenreCase> {};

TEST_P(ID3v1GenreTest, GenreNameComesFromTheList) {
  const TID3v1& tag = Read(kAudio + ID3v1Tag({.genre = GetParam().id}));
  EXPECT_EQ(tag.GenreID(), GetParam().id);
  EXPECT_EQ(tag.Genre(), QByteArray(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Genres, ID3v1GenreTest,
                         ::testing::Values(GenreCase{0, "Blues"}, GenreCase{17, "Rock"},
                                           GenreCase{67, "Psychadelic"},
                                           GenreCase{93, "Psychedelic Rock"},
                                           GenreCase{147, "Synthpop"}, GenreCase{148, ""},
                                           GenreCase{255, ""}));

TEST_F(ID3v1Test, FilesWithoutTagReadAsAbsent) {
  ExpectReset(Read(QByteArray("short")));
  ExpectReset(Read(QByteArray()));
  ExpectReset(Read(QByteArray(500, 'x')));
}

TEST_F(ID3v1Test, FileOfExactlyOneTagIsRead) {
  const TID3v1& tag = Read(ID3v1Tag({.title = "Only", .track = 1}));
  EXPECT_TRUE(tag.Exists());
  EXPECT_EQ(tag.Title(), "Only");
  EXPECT_EQ(tag.TotalSize(), 128);
}

TEST_F(ID3v1Test, MissingFileFailsAndLeavesResetValues) {
  Read(kAudio + Lyrics3Block({Lyrics3Field("ETT", "Title")}) +
       ID3v1Tag({.artist = "A", .track = 3, .genre = 17}));
  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.mp3"))));
  ExpectReset(reader_);
}

TEST_F(ID3v1Test, SecondReadShowsOnlySecondFile) {
  Read(kAudio + Lyrics3Block({Lyrics3Field("LYR", "la"), Lyrics3Field("IMG", "img")}) +
       ID3v1Tag({.title = "First", .track = 3, .genre = 17}));
  ASSERT_TRUE(reader_.LyricsExists());
  const TID3v1& tag = Read(kAudio + ID3v1Tag({.title = "Second"}));
  EXPECT_EQ(tag.Title(), "Second");
  EXPECT_EQ(tag.Track(), 0);
  EXPECT_EQ(tag.GenreID(), 255);
  EXPECT_FALSE(tag.LyricsExists());
  EXPECT_EQ(tag.Lyrics(), QByteArray());
  EXPECT_EQ(tag.LyricsImage(), QByteArray());
  EXPECT_EQ(tag.TotalSize(), 128);
}

TEST_F(ID3v1Test, Lyrics3WithoutTagIsFoundAtTheEnd) {
  const QByteArray block = Lyrics3Block({Lyrics3Field("IND", "11"), Lyrics3Field("LYR", "Line")});
  const TID3v1& tag = Read(kAudio + block);
  EXPECT_FALSE(tag.Exists());
  EXPECT_TRUE(tag.LyricsExists());
  EXPECT_EQ(tag.LyricsSize(), block.size() - 15);
  EXPECT_EQ(tag.Lyrics3Size(), block.size());
  EXPECT_EQ(tag.TotalSize(), block.size());
  EXPECT_EQ(tag.Lyrics(), "Line");
}

TEST_F(ID3v1Test, ExtendedFieldsReplaceTagValues) {
  const QByteArray longTitle(40, 'T');
  const QByteArray block = Lyrics3Block({
      Lyrics3Field("IND", "11"),
      Lyrics3Field("ETT", longTitle),
      Lyrics3Field("EAR", "  Long Artist  "),
      Lyrics3Field("EAL", "Long Album\r\n"),
      Lyrics3Field("INF", "Info"),
      Lyrics3Field("AUT", " Author "),
      Lyrics3Field("IMG", " pic.jpg||\r\n"),
  });
  const TID3v1& tag = Read(
      kAudio + block + ID3v1Tag({.title = "Short", .artist = "A", .album = "B", .comment = "C"}));
  EXPECT_TRUE(tag.Exists());
  EXPECT_TRUE(tag.LyricsExists());
  EXPECT_EQ(tag.TotalSize(), tag.LyricsSize() + 15 + 128);
  EXPECT_EQ(tag.Title(), longTitle);
  EXPECT_EQ(tag.Artist(), "Long Artist");
  EXPECT_EQ(tag.Album(), "Long Album");
  EXPECT_EQ(tag.Comment(), "Info");
  EXPECT_EQ(tag.LyricsAuthor(), "Author");
  EXPECT_EQ(tag.LyricsImage(), " pic.jpg||\r\n");
}

struct LineBreakCase {
  const char* name;
  QByteArray stored, expected;
};

class ID3v1LyricsTest : public ID3v1Test, public ::testing::WithParamInterface<LineBreakCase> {};

TEST_P(ID3v1LyricsTest, LyricsLineBreaksBecomeCrLf) {
  const TID3v1& tag = Read(kAudio + Lyrics3Block({Lyrics3Field("LYR", GetParam().stored)}));
  EXPECT_EQ(tag.Lyrics(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(LineBreaks, ID3v1LyricsTest,
                         ::testing::Values(LineBreakCase{"LoneCr", "one\rtwo\rthree",
                                                         "one\r\ntwo\r\nthree"},
                                           LineBreakCase{"CrLfKept", "one\r\ntwo", "one\r\ntwo"},
                                           LineBreakCase{"LoneLfKept", "one\ntwo", "one\ntwo"},
                                           LineBreakCase{"Trimmed", "\r\n one\r\r\n", "one"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ID3v1Test, ZeroSizeTrailerIsNoBlock) {
  const TID3v1& tag = Read(kAudio + QByteArray("000000LYRICS200") + ID3v1Tag({}));
  EXPECT_FALSE(tag.LyricsExists());
  EXPECT_EQ(tag.Lyrics3Size(), 0);
  EXPECT_EQ(tag.TotalSize(), 128);
}

struct BrokenTrailerCase {
  const char* name;
  QByteArray trailer;
};

class ID3v1BrokenTrailerTest : public ID3v1Test,
                               public ::testing::WithParamInterface<BrokenTrailerCase> {};

TEST_P(ID3v1BrokenTrailerTest, TrailerWithoutItsBlockIsNoBlock) {
  const TID3v1& tag = Read(kAudio + GetParam().trailer + ID3v1Tag({.title = "Kept"}));
  EXPECT_FALSE(tag.LyricsExists());
  EXPECT_EQ(tag.LyricsSize(), 0);
  EXPECT_EQ(tag.TotalSize(), 128);
  EXPECT_EQ(tag.Title(), "Kept");
}

INSTANTIATE_TEST_SUITE_P(Trailers, ID3v1BrokenTrailerTest,
                         ::testing::Values(BrokenTrailerCase{"SizeMissesBegin", "000020LYRICS200"},
                                           BrokenTrailerCase{"SizeBeyondFile", "999999LYRICS200"},
                                           BrokenTrailerCase{"SizeNotANumber", "12a456LYRICS200"},
                                           BrokenTrailerCase{"SizeTooSmallForBegin",
                                                             "000005LYRICS200"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ID3v1Test, FieldRunningPastTheBlockEndsTheFields) {
  // The second field claims more bytes than lie before the trailer.
  QByteArray fields = Lyrics3Field("ETT", "Title") + QByteArray("EAR99999Artist");
  const QByteArray block = "LYRICSBEGIN" + fields;
  const QByteArray file = kAudio + block + QByteArray::number(block.size()).rightJustified(6, '0') +
                          "LYRICS200" + ID3v1Tag({.artist = "Tag Artist"});
  const TID3v1& tag = Read(file);
  EXPECT_TRUE(tag.LyricsExists());
  EXPECT_EQ(tag.Title(), "Title");
  EXPECT_EQ(tag.Artist(), "Tag Artist");
}

TEST_F(ID3v1Test, UnknownIdentifierOrBadLengthEndsTheFields) {
  EXPECT_EQ(Read(kAudio + Lyrics3Block({Lyrics3Field("ETT", "One"), Lyrics3Field("XYZ", "x"),
                                        Lyrics3Field("EAR", "Never")}))
                .Artist(),
            QByteArray());
  EXPECT_EQ(reader_.Title(), "One");
  Read(kAudio + Lyrics3Block({Lyrics3Field("ETT", "One"), QByteArray("EAR-0001x"),
                              Lyrics3Field("EAL", "Never")}));
  EXPECT_EQ(reader_.Title(), "One");
  EXPECT_EQ(reader_.Album(), QByteArray());
}

}  // namespace
