#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "support/AudioFixtures.h"
#include "support/TestSupport.h"

// Which program folder velmora-cli takes: its working folder when that holds nfo.ini, else the
// folder of the executable (a build's program folder), else the user's folder under XDG_DATA_HOME
// (or ~/.local/share), else the shipped one of an installation. Every folder here names its own
// ripper in its nfo.ini, and --json tells which settings were read and which folder was the program
// folder.

namespace {

QByteArray SettingsNaming(const QByteArray& ripper) {
  return "[Velmora]\r\nautocrc=0\r\nrippedby=" + ripper + "\r\n";
}

QString Canonical(const QString& path) {
  return QFileInfo(path).canonicalFilePath();
}

struct ProgramFolderRun {
  QString programDir;
  QString rippedBy;
};

class ProgramFolderTest : public ::testing::Test {
 protected:
  ProgramFolderTest() {
    album_.Write(QStringLiteral("1.mp3"), fixtures::MpegFrames(128, 40));
    environment_.insert(QStringLiteral("HOME"), home_.Path());
    environment_.insert(QStringLiteral("XDG_DATA_HOME"), home_.FilePath(QStringLiteral("data")));
  }

  // Runs the program in work_ on the album with the given arguments; the exit code, or -1.
  int Run(const QStringList& arguments, QByteArray* out = nullptr) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setWorkingDirectory(work_.Path());
    process.start(executable_, arguments + QStringList{album_.Path()});
    process.waitForFinished(120000);
    if (out)
      *out = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  ProgramFolderRun RunJson() {
    QByteArray out;
    EXPECT_EQ(Run({QStringLiteral("--json")}, &out), 0);
    const QJsonObject root = QJsonDocument::fromJson(out).object();
    return {Canonical(root[QStringLiteral("run")][QStringLiteral("ProgramDir")].toString()),
            root[QStringLiteral("info")][QStringLiteral("RippedBy")].toString()};
  }

  // An installation of its own: the built program in bin/ and, unless told otherwise, a shipped
  // folder in share/velmora.
  void InstallCopy(bool withShippedSettings = true) {
    const QString bin = install_.FilePath(QStringLiteral("bin/velmora-cli"));
    QDir().mkpath(QFileInfo(bin).absolutePath());
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_CLI), bin));
    QFile::setPermissions(bin, QFile::permissions(QStringLiteral(VELMORA_CLI)));
    if (withShippedSettings)
      install_.Write(QStringLiteral("share/velmora/nfo.ini"), SettingsNaming("Shipped"));
    executable_ = bin;
  }

  QString UserFolder() const { return home_.FilePath(QStringLiteral("data/velmora")); }

  TempFolder home_;
  TempFolder work_;
  TempFolder album_;
  TempFolder install_;
  QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
  QString executable_ = QStringLiteral(VELMORA_CLI);
};

}  // namespace

TEST_F(ProgramFolderTest, WorkingFolderWithSettingsComesFirst) {
  work_.Write(QStringLiteral("nfo.ini"), SettingsNaming("Working"));
  home_.Write(QStringLiteral("data/velmora/nfo.ini"), SettingsNaming("User"));
  InstallCopy();
  const ProgramFolderRun run = RunJson();
  EXPECT_EQ(run.rippedBy, QStringLiteral("Working"));
  EXPECT_EQ(run.programDir, Canonical(work_.Path()));
}

TEST_F(ProgramFolderTest, WithoutSettingsHereTheUsersFolderIsTaken) {
  home_.Write(QStringLiteral("data/velmora/nfo.ini"), SettingsNaming("User"));
  InstallCopy();
  const ProgramFolderRun run = RunJson();
  EXPECT_EQ(run.rippedBy, QStringLiteral("User"));
  EXPECT_EQ(run.programDir, Canonical(UserFolder()));
}

TEST_F(ProgramFolderTest, UnsetOrRelativeDataHomeMeansLocalShare) {
  home_.Write(QStringLiteral(".local/share/velmora/nfo.ini"), SettingsNaming("LocalShare"));
  work_.Write(QStringLiteral("relative/velmora/nfo.ini"), SettingsNaming("Relative"));
  environment_.remove(QStringLiteral("XDG_DATA_HOME"));
  InstallCopy();
  EXPECT_EQ(RunJson().rippedBy, QStringLiteral("LocalShare"));
  environment_.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("relative"));
  EXPECT_EQ(RunJson().rippedBy, QStringLiteral("LocalShare"));
}

TEST_F(ProgramFolderTest, BeforeTheUserHasSettingsTheShippedOnesAreTaken) {
  InstallCopy();
  const ProgramFolderRun run = RunJson();
  EXPECT_EQ(run.rippedBy, QStringLiteral("Shipped"));
  EXPECT_EQ(run.programDir, Canonical(install_.FilePath(QStringLiteral("share/velmora"))));
}

// A build's program folder works from anywhere: the folder beside the executable comes before the
// user's.
TEST_F(ProgramFolderTest, TheExecutablesOwnProgramFolderComesBeforeTheUsers) {
  home_.Write(QStringLiteral("data/velmora/nfo.ini"), SettingsNaming("User"));
  EXPECT_EQ(RunJson().programDir, Canonical(QFileInfo(QStringLiteral(VELMORA_CLI)).absolutePath()));
}

TEST_F(ProgramFolderTest, WithoutAnySettingsTheWorkingFolderKeepsTheDefaultsAndSaysSo) {
  InstallCopy(false);
  QProcess process;
  process.setProcessEnvironment(environment_);
  process.setWorkingDirectory(work_.Path());
  process.start(executable_, {QStringLiteral("--json"), album_.Path()});
  ASSERT_TRUE(process.waitForFinished(120000));
  EXPECT_EQ(process.exitCode(), 0);
  const QJsonObject root = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
  EXPECT_EQ(Canonical(root[QStringLiteral("run")][QStringLiteral("ProgramDir")].toString()),
            Canonical(work_.Path()));
  EXPECT_TRUE(process.readAllStandardError().contains("using the built-in defaults"));
}

TEST_F(ProgramFolderTest, TheFolderFallenBackToIsNeverWritten) {
  const QByteArray settings = SettingsNaming("User");
  home_.Write(QStringLiteral("data/velmora/nfo.ini"), settings);
  ASSERT_EQ(Run({}), 0);
  EXPECT_EQ(home_.Read(QStringLiteral("data/velmora/nfo.ini")), settings);
  EXPECT_EQ(QDir(UserFolder()).entryList(QDir::Files), QStringList{QStringLiteral("nfo.ini")});
  EXPECT_TRUE(QDir(work_.Path()).isEmpty());
}
