#include <gtest/gtest.h>

#include <QFile>

#include "analysis/ChecksumPass.h"
#include "platform/FileError.h"
#include "support/TestSupport.h"

namespace {

class ChecksumPassTest : public ::testing::Test {
 protected:
  void AddRow(const char* name, const QByteArray& bytes) {
    const QString path = folder_.Write(QString::fromUtf8(name), bytes);
    model_.Tracks.push_back(TrackRecord::NewRow(path));
    model_.Scan.TrackList.append(path);
    model_.Scan.TrackCount = static_cast<int>(model_.Tracks.size());
  }

  TempFolder folder_;
  Release model_;
};

TEST_F(ChecksumPassTest, PassCoversTheCountedRowsAndShowsEachStep) {
  AddRow("1.mp3", QByteArray("123456789"));
  AddRow("2.mp3", QByteArray());
  AddRow("3.mp3", QByteArray("abc"));
  model_.Scan.TrackCount = 2;  // a row beyond the count is not part of the pass
  ChecksumPass pass(model_, ChecksumKind::Sfv);
  std::vector<ChecksumProgress> steps = pass.WaitReady();
  ASSERT_FALSE(steps.empty());
  const ChecksumProgress first = steps.front();
  EXPECT_EQ(first.Track, 1);
  EXPECT_EQ(first.TrackCount, 2);
  EXPECT_EQ(first.FileName, QStringLiteral("1.mp3"));
  EXPECT_EQ(model_.Tracks[0].ChecksumText, QStringLiteral("CBF43926"));
  EXPECT_EQ(first.ChecksumText, QStringLiteral("CBF43926"));
  EXPECT_EQ(first.Percent, 50);
  while (!pass.Done()) {
    for (const ChecksumProgress& step : pass.WaitReady())
      steps.push_back(step);
  }

  EXPECT_TRUE(pass.Completed());
  EXPECT_EQ(model_.Tracks[1].ChecksumText, QStringLiteral("00000000"));
  EXPECT_EQ(steps.back().Percent, 100);
  EXPECT_EQ(steps.back().ChecksumText, QStringLiteral("00000000"));
  EXPECT_EQ(model_.Tracks[2].ChecksumText, QStringLiteral(" "));
}

TEST_F(ChecksumPassTest, FailureKeepsTheChecksumsTakenBeforeIt) {
  AddRow("1.mp3", QByteArray("123456789"));
  AddRow("2.mp3", QByteArray("abc"));
  AddRow("3.mp3", QByteArray("def"));
  QFile::remove(model_.Tracks[1].FilePath);
  QList<int> reported;

  EXPECT_THROW(ComputeChecksums(model_, ChecksumKind::Md5,
                                [&](const ChecksumProgress& step) { reported.append(step.Track); }),
               FileError);
  EXPECT_EQ(reported, QList<int>{1});
  EXPECT_EQ(model_.Tracks[0].ChecksumText, QStringLiteral("25F9E794323B453885F5181F1B624D0B"));
  EXPECT_EQ(model_.Tracks[2].ChecksumText, QStringLiteral(" "));
}

}  // namespace
