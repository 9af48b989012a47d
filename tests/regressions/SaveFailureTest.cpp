#include <gtest/gtest.h>

#include "model/Release.h"
#include "nfo/OutputSaving.h"
#include "platform/FileError.h"
#include "settings/SettingsStore.h"
#include "support/TestSupport.h"

#include <sys/mount.h>
#include <sys/resource.h>
#include <QDir>
#include <QFile>
#include <csignal>
#include <functional>

namespace {

// Makes every write past `bytes` fail with EFBIG, as a full disk would, while it lives. Root
// ignores folder permissions, so this is the way to make a save fail half-way through its write
// in a folder where it could otherwise create files.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = SIG_DFL;
};

// A release together with the options its files are written with.
struct ReleaseWithOptions : Release {
  Options Opts;
};

ReleaseWithOptions ReleaseIn(const TempFolder& folder) {
  ReleaseWithOptions model;
  model.Run.ProgramDir = folder.Path();
  model.Run.OutputBaseName = QStringLiteral("release");
  const QString track = folder.FilePath(QStringLiteral("01.mp3"));
  model.Tracks = {TrackRecord::NewRow(track)};
  model.Scan.TrackList << track;
  model.Run.NfoComposed = true;
  model.NfoText = QStringLiteral("A new NFO, long enough to pass the size limit\nsecond line");
  model.Info.NoteText = QStringLiteral("A new note, long enough to pass the size limit");
  model.Opts.Width = 1234;  // differs from what the previous settings file holds
  return model;
}

struct SaveCase {
  const char* name;
  const char* fileName;
  std::function<void(ReleaseWithOptions&)> save;
};

void PrintTo(const SaveCase& c, std::ostream* out) {
  *out << c.name;
}

class SaveFailureTest : public ::testing::TestWithParam<SaveCase> {};

// Every file the program rewrites is written beside the old one and renamed over it only when
// complete: a write that fails half-way leaves the previous file as it was, and no stray file.
TEST_P(SaveFailureTest, FailedWriteKeepsThePreviousFileAndReportsIt) {
  TempFolder folder;
  const QByteArray previous = "previous contents";
  const QString path = folder.Write(QString::fromLatin1(GetParam().fileName), previous);
  ReleaseWithOptions model = ReleaseIn(folder);
  try {
    const FileSizeLimit limit(8);
    GetParam().save(model);
    FAIL() << "the save reported success";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Cannot create file ") + path);
  }
  EXPECT_EQ(folder.Read(QString::fromLatin1(GetParam().fileName)), previous);
  EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files),
            QStringList{QString::fromLatin1(GetParam().fileName)});
}

// The same saves without the limit replace the file, so the failure above is the limit's doing.
TEST_P(SaveFailureTest, UnhinderedWriteReplacesThePreviousFile) {
  TempFolder folder;
  const QByteArray previous = "previous contents";
  folder.Write(QString::fromLatin1(GetParam().fileName), previous);
  ReleaseWithOptions model = ReleaseIn(folder);
  GetParam().save(model);
  const QByteArray written = folder.Read(QString::fromLatin1(GetParam().fileName));
  EXPECT_NE(written, previous);
  EXPECT_GT(written.size(), 8);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, SaveFailureTest,
    ::testing::Values(
        SaveCase{"Nfo", "release.nfo", [](ReleaseWithOptions& m) { SaveOutputs(m, m.Opts); }},
        SaveCase{"Settings", "nfo.ini",
                 [](ReleaseWithOptions& m) {
                   SaveSettingsFile(m.Run.ProgramDir, {m.Summary, m.Info, m.Opts});
                 }},
        SaveCase{"Note", "note.txt",
                 [](ReleaseWithOptions& m) { SaveNote(m.Run.ProgramDir, m.Info.NoteText); }}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A small file system of its own, where the test can run out of space; unmounted at the end.
class FullDisk {
 public:
  FullDisk() {
    const QByteArray target = QFile::encodeName(folder_.Path());
    mounted_ = ::mount("tmpfs", target.constData(), "tmpfs", 0, "size=64k") == 0;
  }
  ~FullDisk() {
    if (mounted_)
      ::umount(QFile::encodeName(folder_.Path()).constData());
  }
  bool Mounted() const { return mounted_; }
  const TempFolder& Folder() const { return folder_; }

 private:
  TempFolder folder_;
  bool mounted_ = false;
};

}  // namespace

// A full disk is named as the reason, after the file layer's own message, and the file that was
// there stays as it was.
TEST(SaveFailureReasonTest, FullDiskIsSaidAndThePreviousFileStays) {
  FullDisk disk;
  if (!disk.Mounted())
    GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
  const TempFolder& folder = disk.Folder();
  const QString nfo = folder.Write(QStringLiteral("release.nfo"), "previous NFO");
  ReleaseWithOptions model = ReleaseIn(folder);
  folder.Write(QStringLiteral("filler"), QByteArray(60 * 1024, 'f'));
  model.NfoText = QString(16 * 1024, QLatin1Char('n'));
  try {
    SaveOutputs(model, model.Opts);
    FAIL() << "the save reported success";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Text(), QStringLiteral("Cannot create file ") + nfo + QStringLiteral(": ") +
                                SystemErrorText(ENOSPC));
  }
  EXPECT_EQ(folder.Read(QStringLiteral("release.nfo")), QByteArray("previous NFO"));
}
