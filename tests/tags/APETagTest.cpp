#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "tags/APETag.h"
#include "tags/TagBuilders.h"

using namespace tagblocks;

namespace {

const QByteArray kAudio(400, '\x55');

class APETagTest : public ::testing::Test {
 protected:
  const TAPETag& Read(const QByteArray& bytes) {
    EXPECT_TRUE(reader_.ReadFromFile(folder_.Write(QStringLiteral("track.mpc"), bytes)));
    return reader_;
  }
  bool ReadResult(const QByteArray& bytes) {
    return reader_.ReadFromFile(folder_.Write(QStringLiteral("track.mpc"), bytes));
  }

  TempFolder folder_;
  TAPETag reader_;
};

void ExpectReset(const TAPETag& tag) {
  EXPECT_FALSE(tag.Exists());
  EXPECT_EQ(tag.Version(), 0);
  EXPECT_EQ(tag.Size(), 0);
  EXPECT_TRUE(tag.Items().empty());
}

TEST_F(APETagTest, ItemsAreReadInFileOrder) {
  const QByteArray tag = APETag({{"Artist", "Zażółć"}, {"Title", "Song"}, {"Year", "2004"}});
  const TAPETag& ape = Read(kAudio + tag);
  EXPECT_TRUE(ape.Exists());
  EXPECT_EQ(ape.Version(), 2000);
  EXPECT_EQ(ape.Size(), tag.size());
  ASSERT_EQ(ape.Items().size(), 3u);
  EXPECT_EQ(ape.Items()[0].Name, "Artist");
  EXPECT_EQ(ape.Items()[0].Value, QByteArray("Zażółć"));
  EXPECT_EQ(ape.Items()[2].Name, "Year");
  EXPECT_EQ(ape.Items()[2].Value, "2004");
}

TEST_F(APETagTest, FooterIsFoundInFrontOfAnID3v1Tag) {
  const QByteArray id3v1 = Bytes().Text("TAG").PadTo(128, 'x');
  const TAPETag& ape = Read(kAudio + APETag({{"Title", "Before ID3v1"}}, 1000) + id3v1);
  EXPECT_TRUE(ape.Exists());
  EXPECT_EQ(ape.Version(), 1000);
  EXPECT_EQ(ape.GetValue("Title"), "Before ID3v1");
}

TEST_F(APETagTest, HeaderInFrontOfTheItemsIsNotAnItem) {
  const QByteArray tag = APETag({{"Album", "With Header"}}, 2000, true);
  const TAPETag& ape = Read(kAudio + tag);
  EXPECT_EQ(ape.Size(), tag.size() - 32);
  ASSERT_EQ(ape.Items().size(), 1u);
  EXPECT_EQ(ape.GetValue("album"), "With Header");
}

TEST_F(APETagTest, GetValueMatchesNamesWithAsciiLettersUpperCased) {
  const TAPETag& ape = Read(kAudio + APETag({{"TITLE", "First"},
                                             {"title", "Second"},
                                             {"Artist", "A"},
                                             {"\xe4rtist", "Latin-1 name"}}));
  EXPECT_EQ(ape.GetValue("Title"), "First");
  EXPECT_EQ(ape.GetValue("tItLe"), "First");
  EXPECT_EQ(ape.GetValue("ARTIST"), "A");
  EXPECT_EQ(ape.GetValue("\xc4RTIST"), QByteArray());
  EXPECT_EQ(ape.GetValue("Genre"), QByteArray());
}

struct TrimCase {
  const char* name;
  QByteArray itemName, value;
  QByteArray expectedName, expectedValue;
};

class APETagTrimTest : public APETagTest, public ::testing::WithParamInterface<TrimCase> {};

TEST_P(APETagTrimTest, NamesAndValuesLoseBlanksAtBothEnds) {
  const TrimCase& c = GetParam();
  const QByteArray items = APEItemBytes(c.itemName, c.value) + APEItemBytes("Next", "ok");
  const TAPETag& ape =
      Read(kAudio + items + APEFooter(2000, static_cast<uint32_t>(items.size() + 32), 2));
  ASSERT_EQ(ape.Items().size(), 2u);
  EXPECT_EQ(ape.Items()[0].Name, c.expectedName);
  EXPECT_EQ(ape.Items()[0].Value, c.expectedValue);
  EXPECT_EQ(ape.GetValue("Next"), "ok");
}

INSTANTIATE_TEST_SUITE_P(
    Items, APETagTrimTest,
    ::testing::Values(
        TrimCase{"BlankValue", "Comment", "   \t ", "Comment", ""},
        TrimCase{"NameWithTrailingBlanks", "Artist  ", "A", "Artist", "A"},
        TrimCase{"ValueWithBlanksAround", "Title", "  Song \r\n", "Title", "Song"},
        TrimCase{"InnerNulKept", "Genre", QByteArray("Rock\0Pop", 8), "Genre",
                 QByteArray("Rock\0Pop", 8)},
        TrimCase{"LongValueCut", "Notes", QByteArray(300, 'n'), "Notes", QByteArray(250, 'n')},
        TrimCase{"LongValueCutBeforeBlanks", "Notes", QByteArray(248, 'n') + QByteArray(60, ' '),
                 "Notes", QByteArray(248, 'n')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(APETagTest, Utf8CharacterCutAtTheValueLimitIsDropped) {
  // "a" and 150 two-byte letters: 250 bytes end inside the 125th letter.
  const QByteArray value = "a" + QString(150, QChar(0x017C)).toUtf8();
  const QByteArray kept = "a" + QString(124, QChar(0x017C)).toUtf8();
  EXPECT_EQ(Read(kAudio + APETag({{"Notes", value}}, 2000)).GetValue("Notes"), kept);
  // Version 1000 values are no UTF-8; they keep all 250 bytes.
  EXPECT_EQ(Read(kAudio + APETag({{"Notes", value}}, 1000)).GetValue("Notes"), value.left(250));
}

TEST_F(APETagTest, FileWithoutTagIsReadAsAbsent) {
  ExpectReset(Read(kAudio));
  ExpectReset(Read(kAudio + Bytes().Text("TAG").PadTo(128)));
}

TEST_F(APETagTest, FooterWithoutItemsExists) {
  const TAPETag& ape = Read(kAudio + APEFooter(2000, 32, 0));
  EXPECT_TRUE(ape.Exists());
  EXPECT_EQ(ape.Size(), 32);
  EXPECT_TRUE(ape.Items().empty());
}

struct ShortFileCase {
  const char* name;
  QByteArray bytes;
  bool result;
};

class APETagShortFileTest : public APETagTest,
                            public ::testing::WithParamInterface<ShortFileCase> {};

TEST_P(APETagShortFileTest, FooterMustLieBehindTheFirstByte) {
  EXPECT_EQ(ReadResult(GetParam().bytes), GetParam().result);
  ExpectReset(reader_);
}

INSTANTIATE_TEST_SUITE_P(
    Files, APETagShortFileTest,
    ::testing::Values(ShortFileCase{"Empty", QByteArray(), false},
                      ShortFileCase{"TwentyBytes", QByteArray(20, 'x'), false},
                      ShortFileCase{"JustAFooter", APEFooter(2000, 32, 0), false},
                      ShortFileCase{"ThirtyThreeBytes", QByteArray(33, 'x'), true},
                      ShortFileCase{"FooterAndID3v1Only",
                                    APEFooter(2000, 32, 0) + Bytes().Text("TAG").PadTo(128), false},
                      ShortFileCase{"ID3v1AloneIsNoShift", Bytes().Text("TAG").PadTo(128), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(APETagTest, HugeItemCountIsBoundedByTheTag) {
  const QByteArray items = APEItemBytes("Artist", "A") + APEItemBytes("Title", "T");
  const TAPETag& ape =
      Read(kAudio + items + APEFooter(2000, static_cast<uint32_t>(items.size() + 32), 0x80000000u));
  EXPECT_TRUE(ape.Exists());
  ASSERT_EQ(ape.Items().size(), 2u);
  EXPECT_EQ(ape.GetValue("Title"), "T");
}

TEST_F(APETagTest, ItemCountLargerThanTheItemsGivesOnlyRealItems) {
  const QByteArray items = APEItemBytes("Artist", "A");
  const TAPETag& ape =
      Read(kAudio + items + APEFooter(2000, static_cast<uint32_t>(items.size() + 32), 5));
  ASSERT_EQ(ape.Items().size(), 1u);
  EXPECT_EQ(ape.GetValue(""), QByteArray());
}

TEST_F(APETagTest, ItemCountSmallerThanTheItemsStopsEarly) {
  const QByteArray items = APEItemBytes("Artist", "A") + APEItemBytes("Title", "T");
  const TAPETag& ape =
      Read(kAudio + items + APEFooter(2000, static_cast<uint32_t>(items.size() + 32), 1));
  ASSERT_EQ(ape.Items().size(), 1u);
  EXPECT_EQ(ape.GetValue("Title"), QByteArray());
}

TEST_F(APETagTest, SizeLargerThanTheFileReadsNoItems) {
  const TAPETag& ape = Read(kAudio + APEItemBytes("Artist", "A") + APEFooter(2000, 0xFFFFFFF0u, 1));
  EXPECT_TRUE(ape.Exists());
  EXPECT_EQ(ape.Size(), 0xFFFFFFF0u);
  EXPECT_TRUE(ape.Items().empty());
}

TEST_F(APETagTest, SizeSmallerThanTheFooterReadsNoItems) {
  const TAPETag& ape = Read(kAudio + APEItemBytes("Artist", "A") + APEFooter(2000, 8, 1));
  EXPECT_TRUE(ape.Exists());
  EXPECT_TRUE(ape.Items().empty());
}

TEST_F(APETagTest, ValueRunningIntoTheFooterIsCutThereAndEndsTheItems) {
  const QByteArray items = Bytes().LE32(0xFFFFFFFFu).LE32(0).Text("Title").U8(0).Text("Short");
  const TAPETag& ape =
      Read(kAudio + items + APEFooter(2000, static_cast<uint32_t>(items.size() + 32), 3));
  ASSERT_EQ(ape.Items().size(), 1u);
  EXPECT_EQ(ape.GetValue("Title"), "Short");
}

TEST_F(APETagTest, NameWithoutTerminatorEndsTheItems) {
  const QByteArray items =
      APEItemBytes("Artist", "A") + Bytes().LE32(1).LE32(0).Text("Unterminated");
  const TAPETag& ape =
      Read(kAudio + items + APEFooter(2000, static_cast<uint32_t>(items.size() + 32), 2));
  ASSERT_EQ(ape.Items().size(), 1u);
  EXPECT_EQ(ape.GetValue("Artist"), "A");
}

TEST_F(APETagTest, ItemsAcrossManyReadBlocksAreAllRead) {
  Bytes items;
  for (int i = 0; i < 20000; ++i)
    items.Raw(APEItemBytes("X", QByteArray()));
  items.Raw(APEItemBytes("Last", "L"));
  const TAPETag& ape =
      Read(kAudio + items + APEFooter(2000, static_cast<uint32_t>(items.Size() + 32), 20001));
  EXPECT_EQ(ape.Items().size(), 20001u);
  EXPECT_EQ(ape.GetValue("Last"), "L");
}

TEST_F(APETagTest, MissingFileFailsAndLeavesResetValues) {
  Read(kAudio + APETag({{"Artist", "A"}}));
  EXPECT_FALSE(reader_.ReadFromFile(folder_.FilePath(QStringLiteral("missing.mpc"))));
  ExpectReset(reader_);
}

TEST_F(APETagTest, SecondReadShowsOnlySecondFile) {
  Read(kAudio + APETag({{"Artist", "A"}, {"Title", "T"}}, 1000));
  const TAPETag& ape = Read(kAudio + APETag({{"Album", "B"}}));
  EXPECT_EQ(ape.Version(), 2000);
  ASSERT_EQ(ape.Items().size(), 1u);
  EXPECT_EQ(ape.GetValue("Artist"), QByteArray());
  Read(kAudio);
  ExpectReset(reader_);
}

}  // namespace
