#include <gtest/gtest.h>

#include "analysis/ReleaseSummary.h"
#include "support/TestSupport.h"

namespace {

struct Ladder {
  int average;
  const char* label;
};

class MpegLadderTest : public ::testing::TestWithParam<Ladder> {};

}  // namespace

TEST_P(MpegLadderTest, AverageGivesItsLabel) {
  EXPECT_EQ(MpegQuality(GetParam().average), QString::fromLatin1(GetParam().label));
}

INSTANTIATE_TEST_SUITE_P(Ladder, MpegLadderTest,
                         ::testing::Values(Ladder{127, "Very Poor"}, Ladder{128, "CBR 128"},
                                           Ladder{129, "Poor"}, Ladder{159, "Poor"},
                                           Ladder{160, "CBR 160"}, Ladder{161, "Standard"},
                                           Ladder{192, "CBR 192"}, Ladder{210, "Standard"},
                                           Ladder{211, "Extreme"}, Ladder{256, "CBR 256"},
                                           Ladder{300, "Extreme"}, Ladder{320, "Insane"},
                                           Ladder{330, "Extreme"}));

TEST(MusepackLadderTest, ThresholdsAndTheLowEndThatKeepsTheLabel) {
  EXPECT_EQ(MusepackQuality(170, QString()), QStringLiteral("Extreme"));
  EXPECT_EQ(MusepackQuality(30, QString()), QString());
  EXPECT_EQ(MusepackQuality(32, QStringLiteral("kept")), QStringLiteral("kept"));
  EXPECT_EQ(MusepackQuality(33, QString()), QStringLiteral("Telephone"));
  EXPECT_EQ(MusepackQuality(59, QString()), QStringLiteral("Thumb"));
  EXPECT_EQ(MusepackQuality(113, QString()), QStringLiteral("Radio"));
  EXPECT_EQ(MusepackQuality(143, QString()), QStringLiteral("Standard"));
  EXPECT_EQ(MusepackQuality(233, QString()), QStringLiteral("Insane"));
  EXPECT_EQ(MusepackQuality(261, QString()), QStringLiteral("BrainDead"));
}

TEST(FileNameTemplateTest, PlaceholdersAreReplacedInOrderThroughTheCodePage) {
  TrackRecord row;
  row.Artist = QStringLiteral("Abc");
  row.Album = QStringLiteral("Def");
  row.Title = QStringLiteral("日");
  const CodePage cp(1250);
  EXPECT_EQ(ExpandFileNameTemplate(QStringLiteral("00. %author% - %album%"), row.Artist, row.Album,
                                   row.Title, cp),
            QStringLiteral("00. Abc - Def"));
  EXPECT_EQ(ExpandFileNameTemplate(QStringLiteral("%author%%author% %title%"), row.Artist,
                                   row.Album, row.Title, cp),
            QStringLiteral("AbcAbc ?"));
  EXPECT_EQ(ExpandFileNameTemplate(QStringLiteral("fixed"), row.Artist, row.Album, row.Title, cp),
            QStringLiteral("fixed"));
  EXPECT_EQ(ExpandFileNameTemplate(QString(), row.Artist, row.Album, row.Title, cp), QString());
}

TEST(FileNameTemplateTest, TagsCannotLeadOutsideTheFolder) {
  TrackRecord row;
  row.Artist = QStringLiteral("../../etc/x");
  row.Album = QStringLiteral("a\\b\tc\nd");
  EXPECT_EQ(ExpandFileNameTemplate(QStringLiteral("%author% - %album%"), row.Artist, row.Album,
                                   row.Title, CodePage(1252)),
            QStringLiteral(".._.._etc_x - a_b_c_d"));
}

TEST(ClearSummaryTest, EmptiesAnalysedFieldsAndKeepsTheUsersChoices) {
  Release model;
  model.Summary.Year = QStringLiteral("2000");
  model.Summary.Genre = QStringLiteral("Rock");
  model.Summary.VariousAlbumTitle = QStringLiteral("VA");
  model.Summary.VariousArtists = true;
  model.Summary.Nmr = true;
  model.Summary.Source = QStringLiteral("Vinyl");
  ClearSummary(model.Summary);
  EXPECT_TRUE(model.Summary.Year.isEmpty());
  EXPECT_TRUE(model.Summary.Genre.isEmpty());
  EXPECT_TRUE(model.Summary.VariousAlbumTitle.isEmpty());
  EXPECT_TRUE(model.Summary.VariousArtists);
  EXPECT_TRUE(model.Summary.Nmr);
  EXPECT_EQ(model.Summary.Source, QStringLiteral("Vinyl"));
}
