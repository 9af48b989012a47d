#include <gtest/gtest.h>

#include <QFile>
#include <atomic>
#include <tuple>

#include "checksums/ChecksumJob.h"
#include "checksums/Checksums.h"
#include "platform/FileError.h"
#include "support/TestSupport.h"

namespace {

// Every result the job hands over, taken the way a waiting caller takes them.
std::vector<ChecksumResult> TakeAll(ChecksumJob& job) {
  std::vector<ChecksumResult> all;
  while (!job.Done()) {
    for (ChecksumResult& result : job.WaitReady())
      all.push_back(std::move(result));
  }
  return all;
}

// Files of very different sizes, the large ones first, so that with several workers the small
// later files finish before the large earlier ones.
QStringList MixedSizeFiles(const TempFolder& folder, int count) {
  QStringList paths;
  for (int i = 0; i < count; ++i) {
    const qsizetype size = i % 4 == 0 ? 3 * 1024 * 1024 + i : 97 * i;
    const QByteArray bytes(size, static_cast<char>('a' + i));
    paths.append(folder.Write(QStringLiteral("%1.mp3").arg(i, 2, 10, QLatin1Char('0')), bytes));
  }
  return paths;
}

class ChecksumJobOrderTest : public ::testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(ChecksumJobOrderTest, ResultsComeInTrackOrderAndMatchTheOneFileRoutine) {
  const QString kind = QString::fromLatin1(std::get<0>(GetParam()));
  const int workers = std::get<1>(GetParam());
  TempFolder folder;
  const QStringList paths = MixedSizeFiles(folder, 12);

  ChecksumJob job(ParseChecksumKind(kind), paths, {}, workers);
  const std::vector<ChecksumResult> results = TakeAll(job);

  ASSERT_EQ(results.size(), static_cast<size_t>(paths.size()));
  for (int i = 0; i < paths.size(); ++i) {
    EXPECT_EQ(results[static_cast<size_t>(i)].Track, i + 1);
    EXPECT_EQ(results[static_cast<size_t>(i)].ChecksumText,
              ChecksumOfFile(ParseChecksumKind(kind), paths[i]))
        << "track " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(KindsAndWorkers, ChecksumJobOrderTest,
                         ::testing::Combine(::testing::Values("SFV", "MD5"),
                                            ::testing::Values(1, 2, 4)));

TEST(ChecksumJobTest, UnreadableFileEndsThePassAfterTheResultsBeforeIt) {
  TempFolder folder;
  QStringList paths = MixedSizeFiles(folder, 6);
  paths[3] = folder.FilePath(QStringLiteral("missing.mp3"));

  ChecksumJob job(ChecksumKind::Sfv, paths, {}, 4);
  std::vector<ChecksumResult> before;
  try {
    for (;;) {
      for (ChecksumResult& result : job.WaitReady())
        before.push_back(std::move(result));
      ASSERT_FALSE(job.Done()) << "the pass ended without reporting the missing file";
    }
  } catch (const FileError& error) {
    EXPECT_EQ(error.Message(), FileError::CannotOpen(paths[3]).Message());
  }
  ASSERT_EQ(before.size(), 3u);
  EXPECT_EQ(before.back().Track, 3);
  EXPECT_TRUE(job.Done());
  EXPECT_TRUE(job.TakeReady().empty());
}

TEST(ChecksumJobTest, StoppedJobHandsOverNothingMore) {
  TempFolder folder;
  const QStringList paths = MixedSizeFiles(folder, 8);
  ChecksumJob job(ChecksumKind::Md5, paths, {}, 2);
  const std::vector<ChecksumResult> first = job.WaitReady();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.front().Track, 1);

  job.RequestStop();
  EXPECT_TRUE(job.Done());
  EXPECT_TRUE(job.TakeReady().empty());
  EXPECT_TRUE(job.WaitReady().empty());
}

TEST(ChecksumJobTest, StopRequestAbandonsAFileBetweenBlocks) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("long.mp3"), QByteArray(2 * 1024 * 1024, 'x'));
  std::stop_source stop;
  stop.request_stop();
  EXPECT_EQ(ChecksumOfFile(ParseChecksumKind(QStringLiteral("SFV")), path, stop.get_token()),
            std::nullopt);
  EXPECT_EQ(ChecksumOfFile(ParseChecksumKind(QStringLiteral("MD5")), path, stop.get_token()),
            std::nullopt);
  // No checksum kind: nothing to abandon, the empty text stands.
  EXPECT_EQ(ChecksumOfFile(ParseChecksumKind(QStringLiteral("none")), path, stop.get_token()),
            QString());
}

TEST(ChecksumJobTest, NotifiesOncePerFileAndAnEmptyListIsDoneAtOnce) {
  TempFolder folder;
  const QStringList paths = MixedSizeFiles(folder, 5);
  std::atomic<int> notified = 0;
  {
    ChecksumJob job(
        ChecksumKind::Sfv, paths, [&notified] { ++notified; }, 2);
    EXPECT_EQ(TakeAll(job).size(), 5u);
  }
  EXPECT_EQ(notified, 5);

  ChecksumJob empty(ChecksumKind::Sfv, QStringList());
  EXPECT_TRUE(empty.Done());
  EXPECT_TRUE(empty.WaitReady().empty());
}

TEST(ChecksumJobTest, KindWithoutChecksumGivesEmptyTextsWithoutOpeningFiles) {
  TempFolder folder;
  const QStringList paths = {folder.FilePath(QStringLiteral("a.mp3")),
                             folder.FilePath(QStringLiteral("b.mp3"))};
  ChecksumJob job(ParseChecksumKind(QStringLiteral("sfv")), paths);
  const std::vector<ChecksumResult> results = TakeAll(job);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].ChecksumText, QString());
  EXPECT_EQ(results[1].ChecksumText, QString());
}

}  // namespace
