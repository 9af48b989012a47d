#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "support/AudioFixtures.h"
#include "support/TestSupport.h"

using namespace fixtures;

// The whole job, folder to files, through velmora-cli with a pinned locale and clock: every byte
// of every output file is compared with files checked line by line against the NFO, list and
// playlist layouts (tests/data/cli).

namespace {

QByteArray Track(const char* title, int frames, int kbps) {
  const QByteArray utf8Title = QByteArray(title);
  return Id3v2Tag({{"TPE1", "Zespół Testowy"},
                   {"TIT2", utf8Title},
                   {"TALB", "Łąki i pola"},
                   {"TYER", "2023"},
                   {"TCON", "Folk"}},
                  3) +
         MpegXingFrames(frames, XingBytesFor(kbps, frames)) +
         Id3v1Tag("Track", "Zespol Testowy", "Laki i pola", "2023", 80);
}

class GoldenReleaseTest : public ::testing::Test {
 protected:
  GoldenReleaseTest() {
    program_.Write(QStringLiteral("nfo.ini"),
                   "[Velmora]\r\nsource=CD\r\nripper=Exact Audio Copy\r\ncd/dvd=Plextor PX-716A\r\n"
                   "rippedby=Korvix\r\npostedby=Korvix\r\nserver=news.example.org\r\n"
                   "group=alt.binaries.pl.mp3\r\nfilenametemplate=00. %author% - %album%\r\n");
    const QString note = QStringLiteral("Ripped with care.\r\nDruga linia – żółć.\r\n");
    program_.Write(QStringLiteral("note.txt"),
                   QByteArray("\xFF\xFE") +
                       QByteArray(reinterpret_cast<const char*>(note.utf16()), note.size() * 2));
    album_.Write(QStringLiteral("01. Pierwsza.mp3"), Track("Pierwsza", 7863, 192));
    album_.Write(QStringLiteral("02. Druga.mp3"), Track("Druga – część", 10000, 224));
    album_.Write(QStringLiteral("03. Trzecia.mp3"), Track("Trzecia", 5000, 170));
  }

  void RunCli(const QStringList& options) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("pl_PL.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(program_.Path());
    process.start(
        QStringLiteral(VELMORA_CLI),
        options + QStringList{QStringLiteral("--now"), QStringLiteral("2024-05-17T21:04:05"),
                              QStringLiteral("--set"), QStringLiteral("RipDate=2024-05-16"),
                              QStringLiteral("--set"), QStringLiteral("IncludePls=1"),
                              QStringLiteral("--set"), QStringLiteral("IncludeM3u=1"),
                              album_.Path()});
    ASSERT_TRUE(process.waitForFinished(120000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  }

  void ExpectGolden(const QString& written, const QString& golden) {
    QFile expected(TestDataPath(QStringLiteral("cli/") + golden));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly)) << golden.toStdString();
    EXPECT_EQ(album_.Read(written), expected.readAll()) << golden.toStdString();
  }

  TempFolder program_;
  TempFolder album_;
};

}  // namespace

TEST_F(GoldenReleaseTest, EightBitFormWithSfvNoteAndAdvert) {
  RunCli({QStringLiteral("--checksum"), QStringLiteral("sfv"), QStringLiteral("--no-unicode"),
          QStringLiteral("--ads"), QStringLiteral("--set"),
          QStringLiteral("SelectedGroups=alt.binaries.pl.mp3;alt.binaries.sounds.mp3;pl.test"),
          QStringLiteral("--set"), QStringLiteral("CoverFront=1"), QStringLiteral("--set"),
          QStringLiteral("CoverCd=1"), QStringLiteral("--set"), QStringLiteral("IncludeCue=1")});
  const QString base = QStringLiteral("00. Zespół Testowy - Łąki i pola");
  ExpectGolden(base + QStringLiteral(".nfo"), QStringLiteral("eight-bit/release.nfo"));
  ExpectGolden(base + QStringLiteral(".sfv"), QStringLiteral("eight-bit/release.sfv"));
  ExpectGolden(base + QStringLiteral(".pls"), QStringLiteral("eight-bit/release.pls"));
  ExpectGolden(base + QStringLiteral(".m3u"), QStringLiteral("eight-bit/release.m3u"));
}

TEST_F(GoldenReleaseTest, UnicodeFormWithMd5AndNeitherNoteNorAdvert) {
  RunCli({QStringLiteral("--checksum"), QStringLiteral("md5"), QStringLiteral("--unicode"),
          QStringLiteral("--no-ads"), QStringLiteral("--set"), QStringLiteral("IncludeNote=0"),
          QStringLiteral("--set"), QStringLiteral("Nmr=1"), QStringLiteral("--template"),
          QStringLiteral("%album% (%title%)")});
  const QString base = QStringLiteral("Łąki i pola (Pierwsza)");
  ExpectGolden(base + QStringLiteral(".nfo"), QStringLiteral("unicode/release.nfo"));
  ExpectGolden(base + QStringLiteral(".MD5"), QStringLiteral("unicode/release.MD5"));
  ExpectGolden(base + QStringLiteral(".pls"), QStringLiteral("unicode/release.pls"));
  ExpectGolden(base + QStringLiteral(".m3u"), QStringLiteral("unicode/release.m3u"));
}
