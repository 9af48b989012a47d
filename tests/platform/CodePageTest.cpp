#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "support/TestSupport.h"

TEST(CodePageTest, LocaleLanguagePicksWindowsAnsiCodePage) {
  EXPECT_EQ(CodePage::NumberForLocale(QLocale(QLocale::Polish, QLocale::Poland)), 1250);
  EXPECT_EQ(CodePage::NumberForLocale(QLocale(QLocale::Czech)), 1250);
  EXPECT_EQ(CodePage::NumberForLocale(QLocale(QLocale::Russian)), 1251);
  EXPECT_EQ(CodePage::NumberForLocale(QLocale(QLocale::Greek)), 1253);
  EXPECT_EQ(CodePage::NumberForLocale(QLocale(QLocale::Thai)), 874);
  EXPECT_EQ(CodePage::NumberForLocale(QLocale(QLocale::English, QLocale::UnitedStates)), 1252);
  EXPECT_EQ(CodePage::NumberForLocale(QLocale::c()), 1252);
}

TEST(CodePageTest, PolishLettersMapIntoCodePage1250) {
  const CodePage cp(1250);
  EXPECT_EQ(cp.FromUnicode(QStringLiteral("ł")), QByteArray("\xB3"));
  EXPECT_EQ(cp.FromUnicode(QStringLiteral("Zażółć")), QByteArray("Za\xBF\xF3\xB3\xE6"));
  EXPECT_EQ(cp.ToUnicode(QByteArray("\xA3\xF3"
                                    "d\x9F")),
            QStringLiteral("Łódź"));
}

TEST(CodePageTest, UnmappableCharactersBecomeQuestionMarks) {
  const CodePage cp1250(1250);
  const CodePage cp1252(1252);
  EXPECT_EQ(cp1250.FromUnicode(QStringLiteral("日本")), QByteArray("??"));
  EXPECT_EQ(cp1252.FromUnicode(QStringLiteral("ł")), QByteArray("?"));
  EXPECT_EQ(cp1252.FromUnicode(QStringLiteral("é€")), QByteArray("\xE9\x80"));
  // One character outside the BMP is one question mark, not two.
  EXPECT_EQ(cp1252.FromUnicode(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
}

TEST(CodePageTest, DefaultIgnorableCharactersAreReplacedNotDropped) {
  const CodePage cp(1252);
  EXPECT_EQ(cp.FromUnicode(QStringLiteral("a\u200Bb\uFEFFc\u2060d\uFE0Fe")),
            QByteArray("a?b?c?d?e"));
}

TEST(CodePageTest, RoundTripKeepsLengthAndMarksLosses) {
  const CodePage cp(1250);
  EXPECT_EQ(cp.RoundTrip(QStringLiteral("Łódź 日")), QStringLiteral("Łódź ?"));
  QByteArray all;
  for (int byte = 0; byte < 256; ++byte)
    all.append(static_cast<char>(byte));
  EXPECT_EQ(cp.FromUnicode(cp.ToUnicode(all)), all);
}
