#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "support/GoldenAlbum.h"

// The whole job, folder to files, through velmora-cli with a pinned locale and clock: every byte
// of every output file is compared with files checked line by line against the NFO, list and
// playlist layouts (tests/data/cli).

namespace {

class GoldenReleaseTest : public ::testing::Test {
 protected:
  void RunCli(const QStringList& options) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("pl_PL.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(release_.program.Path());
    process.start(
        QStringLiteral(VELMORA_CLI),
        options +
            QStringList{QStringLiteral("--now"),
                        GoldenAlbum::Now().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
                        QStringLiteral("--set"),
                        QStringLiteral("RipDate=") + GoldenAlbum::RipDate().toString(Qt::ISODate),
                        QStringLiteral("--set"), QStringLiteral("IncludePls=1"),
                        QStringLiteral("--set"), QStringLiteral("IncludeM3u=1"),
                        release_.album.Path()});
    ASSERT_TRUE(process.waitForFinished(120000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  }

  void ExpectGolden(const QString& written, const QString& golden) {
    const QByteArray expected = GoldenAlbum::Golden(golden);
    ASSERT_FALSE(expected.isEmpty()) << golden.toStdString();
    EXPECT_EQ(release_.album.Read(written), expected) << golden.toStdString();
  }

  GoldenAlbum release_;
};

}  // namespace

TEST_F(GoldenReleaseTest, EightBitFormWithSfvNoteAndAdvert) {
  RunCli({QStringLiteral("--checksum"), QStringLiteral("sfv"), QStringLiteral("--no-unicode"),
          QStringLiteral("--ads"), QStringLiteral("--set"),
          QStringLiteral("SelectedGroups=alt.binaries.pl.mp3;alt.binaries.sounds.mp3;pl.test"),
          QStringLiteral("--set"), QStringLiteral("CoverFront=1"), QStringLiteral("--set"),
          QStringLiteral("CoverCd=1"), QStringLiteral("--set"), QStringLiteral("IncludeCue=1")});
  const QString base = GoldenAlbum::EightBitBaseName();
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
  const QString base = GoldenAlbum::UnicodeBaseName();
  ExpectGolden(base + QStringLiteral(".nfo"), QStringLiteral("unicode/release.nfo"));
  ExpectGolden(base + QStringLiteral(".MD5"), QStringLiteral("unicode/release.MD5"));
  ExpectGolden(base + QStringLiteral(".pls"), QStringLiteral("unicode/release.pls"));
  ExpectGolden(base + QStringLiteral(".m3u"), QStringLiteral("unicode/release.m3u"));
}
