#include <gtest/gtest.h>

#include "platform/UserLocale.h"
#include "support/TestSupport.h"

namespace {
const UserLocale kPolish{QLocale(QLocale::Polish, QLocale::Poland)};
const UserLocale kEnglish{QLocale(QLocale::English, QLocale::UnitedStates)};
}  // namespace

TEST(UserLocaleTest, FixedTwoDecimalsUseDecimalSeparatorWithoutGrouping) {
  EXPECT_EQ(kEnglish.FormatFixed2(3.3378), QStringLiteral("3.34"));
  EXPECT_EQ(kPolish.FormatFixed2(3.3378), QStringLiteral("3,34"));
  EXPECT_EQ(kPolish.FormatFixed2(1234.5), QStringLiteral("1234,50"));
  EXPECT_EQ(kEnglish.FormatFixed2(0), QStringLiteral("0.00"));
}

TEST(UserLocaleTest, GroupedVersionHasAtLeastFourDigits) {
  EXPECT_EQ(kEnglish.FormatGrouped4(2000), QStringLiteral("2,000"));
  EXPECT_EQ(kEnglish.FormatGrouped4(1000), QStringLiteral("1,000"));
  EXPECT_EQ(kEnglish.FormatGrouped4(999), QStringLiteral("0,999"));
  EXPECT_EQ(kEnglish.FormatGrouped4(1234567), QStringLiteral("1,234,567"));
  EXPECT_EQ(kPolish.FormatGrouped4(2000),
            QStringLiteral("2") + kPolish.Locale().groupSeparator() + QStringLiteral("000"));
}

TEST(UserLocaleTest, DurationsSwitchToHoursAboveOneHourAndCutTheFraction) {
  EXPECT_EQ(kEnglish.FormatDuration(0), QStringLiteral("00:00"));
  EXPECT_EQ(kEnglish.FormatDuration(125.9), QStringLiteral("02:05"));
  EXPECT_EQ(kEnglish.FormatDuration(3599.6), QStringLiteral("59:59"));
  EXPECT_EQ(kEnglish.FormatDuration(3600.5), QStringLiteral("01:00:00"));
  EXPECT_EQ(kEnglish.FormatDuration(3725), QStringLiteral("01:02:05"));
  EXPECT_EQ(kEnglish.FormatDuration(90000), QStringLiteral("25:00:00"));
  EXPECT_EQ(kEnglish.FormatDuration(-5), QStringLiteral("00:00"));
}

TEST(UserLocaleTest, DatesFollowTheLocaleShortFormat) {
  const QDate date(2024, 3, 7);
  EXPECT_EQ(kPolish.FormatShortDate(date),
            QLocale(QLocale::Polish).toString(date, QLocale::ShortFormat));
  EXPECT_NE(kPolish.FormatShortDate(date), kEnglish.FormatShortDate(date));
  EXPECT_EQ(kPolish.ParseShortDate(kPolish.FormatShortDate(date)), date);
}

TEST(UserLocaleTest, StartTimeHasNoTimeZoneAndAtMostThirtyCharacters) {
  const QDateTime moment(QDate(2024, 3, 7), QTime(14, 5, 9));
  for (const UserLocale* locale : {&kPolish, &kEnglish}) {
    const QString text = locale->FormatStartTime(moment);
    EXPECT_LE(text.size(), 30);
    EXPECT_TRUE(text.startsWith(locale->FormatShortDate(moment.date()))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("05:09"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("UTC"))) << text.toStdString();
    EXPECT_FALSE(text.endsWith(QLatin1Char(' '))) << text.toStdString();
  }
  EXPECT_EQ(kPolish.FormatStartTime(moment),
            kPolish.FormatShortDate(moment.date()) + QStringLiteral(" 14:05:09"));
}

TEST(UserLocaleTest, FileNamesSortCaseBlindFirstWithATotalOrder) {
  EXPECT_TRUE(kEnglish.FileNameLess(QStringLiteral("A.mp3"), QStringLiteral("b.mp3")));
  EXPECT_TRUE(kEnglish.FileNameLess(QStringLiteral("b.mp3"), QStringLiteral("c.mp3")));
  EXPECT_NE(kEnglish.CompareFileNames(QStringLiteral("a.mp3"), QStringLiteral("A.mp3")), 0);
  EXPECT_EQ(kEnglish.CompareFileNames(QStringLiteral("a.mp3"), QStringLiteral("a.mp3")), 0);
  // Polish collation puts "ł" after "l" and before "m".
  EXPECT_TRUE(kPolish.FileNameLess(QStringLiteral("lato.mp3"), QStringLiteral("łąka.mp3")));
  EXPECT_TRUE(kPolish.FileNameLess(QStringLiteral("łąka.mp3"), QStringLiteral("malina.mp3")));
}

TEST(UserLocaleTest, RoundingTakesHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(128.5), 128);
  EXPECT_EQ(RoundHalfEven(129.5), 130);
  EXPECT_EQ(RoundHalfEven(124.5), 124);
  EXPECT_EQ(RoundHalfEven(125.5), 126);
  EXPECT_EQ(RoundHalfEven(56.55), 57);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}
