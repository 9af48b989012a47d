#include <gtest/gtest.h>

#include <QFileInfo>

#include "support/TestSupport.h"
#include "tags/APETag.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

// Files made by tests/data/tags/make_fixtures.sh: 418 bytes of lame-encoded silence tagged by
// eyeD3 and mutagen. The expected values are the ones the script gave the taggers.
namespace {

constexpr int64_t kAudioBytes = 418;

QByteArray Utf8(const char* text) {
  return QByteArray(text);
}

struct RealFile {
  QString path;
  int64_t size = 0;
  TID3v1 id3v1;
  TID3v2 id3v2;
  TAPETag ape;

  explicit RealFile(const char* name)
      : path(TestDataPath(QStringLiteral("tags/") + QLatin1String(name))),
        size(QFileInfo(path).size()) {
    EXPECT_TRUE(id3v1.ReadFromFile(path));
    EXPECT_TRUE(id3v2.ReadFromFile(path));
    EXPECT_TRUE(ape.ReadFromFile(path));
  }
};

}  // namespace

TEST(RealFilesTest, ID3v11ByEyeD3) {
  const RealFile file("id3v11.mp3");
  ASSERT_TRUE(file.id3v1.Exists());
  EXPECT_EQ(file.id3v1.VersionID(), 2);
  EXPECT_EQ(file.id3v1.Title(), "Title One");
  EXPECT_EQ(file.id3v1.Artist(), "Artist One");
  EXPECT_EQ(file.id3v1.Album(), "Album One");
  EXPECT_EQ(file.id3v1.Year(), "1999");
  EXPECT_EQ(file.id3v1.Comment(), "Short comment");
  EXPECT_EQ(file.id3v1.Track(), 7);
  EXPECT_EQ(file.id3v1.Genre(), "Rock");
  EXPECT_EQ(file.id3v1.TotalSize(), 128);
  EXPECT_EQ(file.size - file.id3v1.TotalSize(), kAudioBytes);
  EXPECT_FALSE(file.id3v2.Exists());
  EXPECT_FALSE(file.ape.Exists());
}

TEST(RealFilesTest, ID3v23Utf16ByEyeD3) {
  const RealFile file("id3v23-utf16.mp3");
  ASSERT_TRUE(file.id3v2.Exists());
  EXPECT_EQ(file.id3v2.VersionID(), 3);
  EXPECT_EQ(file.size - file.id3v2.Size(), kAudioBytes);
  EXPECT_EQ(file.id3v2.Title(), Utf8("Jaźń ÿ Title"));
  EXPECT_EQ(file.id3v2.Artist(), Utf8("Zażółć Gęślą"));
  EXPECT_EQ(file.id3v2.Album(), Utf8("Album Ünïcode"));
  EXPECT_EQ(file.id3v2.TrackString(), "03/12");
  EXPECT_EQ(file.id3v2.Track(), 3);
  EXPECT_EQ(file.id3v2.Year(), "2004");
  EXPECT_EQ(file.id3v2.Genre(), "Progressive Rock");
  EXPECT_EQ(file.id3v2.Comment(), Utf8("Komentarz żółty"));
  EXPECT_EQ(file.id3v2.Link(), "http://example.org/\xe4");
  EXPECT_FALSE(file.id3v1.Exists());
  EXPECT_FALSE(file.ape.Exists());
}

TEST(RealFilesTest, ID3v24Utf8ByMutagen) {
  const RealFile file("id3v24-utf8.mp3");
  ASSERT_TRUE(file.id3v2.Exists());
  EXPECT_EQ(file.id3v2.VersionID(), 4);
  EXPECT_EQ(file.size - file.id3v2.Size(), kAudioBytes);
  EXPECT_EQ(file.id3v2.Title(), Utf8("Żółty tytuł"));
  EXPECT_EQ(file.id3v2.Artist(), Utf8("Wykonawca Ę"));
  EXPECT_EQ(file.id3v2.Album(), "Album 2004");
  EXPECT_EQ(file.id3v2.TrackString(), "5/10");
  EXPECT_EQ(file.id3v2.Track(), 5);
  EXPECT_EQ(file.id3v2.Year(), "2004");
  EXPECT_EQ(file.id3v2.Genre(), "Electronic");
  EXPECT_EQ(file.id3v2.Encoder(), "mutagen");
  EXPECT_EQ(file.id3v2.Comment(),
            QString(QStringLiteral("Zażółć ").repeated(15)).trimmed().toUtf8());
  EXPECT_EQ(file.id3v2.Copyright(),
            QStringLiteral("℗ 2004 Wytwórnia Dźwięku ").repeated(10).trimmed().toUtf8());
  EXPECT_FALSE(file.id3v1.Exists());
  EXPECT_FALSE(file.ape.Exists());
}

TEST(RealFilesTest, APEv2ByMutagenBeforeID3v1ByEyeD3) {
  const RealFile file("apev2-id3v1.mp3");
  ASSERT_TRUE(file.ape.Exists());
  EXPECT_EQ(file.ape.Version(), 2000);
  // The tag has a 32-byte header, which Size leaves out.
  EXPECT_EQ(file.size - 128 - file.ape.Size() - 32, kAudioBytes);
  EXPECT_EQ(file.ape.GetValue("Artist"), Utf8("Zażółć Gęślą"));
  EXPECT_EQ(file.ape.GetValue("Title"), Utf8("Jaźń"));
  EXPECT_EQ(file.ape.GetValue("Album"), "APE Album");
  EXPECT_EQ(file.ape.GetValue("Year"), "2011");
  EXPECT_EQ(file.ape.GetValue("Genre"), "Jazz");
  EXPECT_EQ(file.ape.GetValue("Notes"),
            (QStringLiteral("a") + QString(124, QChar(0x017C))).toUtf8());
  ASSERT_TRUE(file.id3v1.Exists());
  EXPECT_EQ(file.id3v1.VersionID(), 1);
  EXPECT_EQ(file.id3v1.Title(), "ID3v1 Title");
  EXPECT_EQ(file.id3v1.Artist(), "ID3v1 Artist");
  EXPECT_FALSE(file.id3v2.Exists());
}
