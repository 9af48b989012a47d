#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "support/TestSupport.h"

TEST(IniFileTest, KeysAndSectionsAreCaseInsensitiveAndKeysMayHoldSlashes) {
  IniFile ini(CodePage(1252));
  ini.LoadBytes("[Velmora]\r\nAutoCRC=0\r\ncd/dvd=Plextor\r\n");
  EXPECT_EQ(ini.Read(QStringLiteral("velmora"), QStringLiteral("autocrc")), QStringLiteral("0"));
  EXPECT_EQ(ini.Read(QStringLiteral("Velmora"), QStringLiteral("cd/dvd")),
            QStringLiteral("Plextor"));
  EXPECT_FALSE(ini.Has(QStringLiteral("Velmora"), QStringLiteral("missing")));
  EXPECT_EQ(ini.Read(QStringLiteral("Velmora"), QStringLiteral("missing"), QStringLiteral("d")),
            QStringLiteral("d"));
}

TEST(IniFileTest, WritingKeepsOtherSectionsAndUsesNoBlanksAroundEquals) {
  TempFolder folder;
  const QString path =
      folder.Write(QStringLiteral("nfo.ini"), "[Other]\r\nkeep=yes\r\n[Velmora]\r\nsource=CD\r\n");
  IniFile ini(CodePage(1250));
  ASSERT_TRUE(ini.Load(path));
  ini.Write(QStringLiteral("Velmora"), QStringLiteral("source"), QStringLiteral("Winyl"));
  ini.Write(QStringLiteral("Velmora"), QStringLiteral("rippedby"), QStringLiteral("Łukasz"));
  ini.Save(path);
  const QByteArray bytes = folder.Read(QStringLiteral("nfo.ini"));
  EXPECT_TRUE(bytes.contains("[Other]\r\nkeep=yes\r\n")) << bytes.toStdString();
  EXPECT_TRUE(bytes.contains("source=Winyl\r\n")) << bytes.toStdString();
  EXPECT_TRUE(bytes.contains("rippedby=\xA3ukasz\r\n")) << bytes.toStdString();
  IniFile again(CodePage(1250));
  ASSERT_TRUE(again.Load(path));
  EXPECT_EQ(again.Read(QStringLiteral("Velmora"), QStringLiteral("rippedby")),
            QStringLiteral("Łukasz"));
  EXPECT_EQ(again.Read(QStringLiteral("Other"), QStringLiteral("keep")), QStringLiteral("yes"));
}

TEST(IniFileTest, MissingFileIsEmpty) {
  TempFolder folder;
  IniFile ini;
  EXPECT_FALSE(ini.Load(folder.FilePath(QStringLiteral("nfo.ini"))));
  EXPECT_FALSE(ini.Has(QStringLiteral("Velmora"), QStringLiteral("ads")));
}
