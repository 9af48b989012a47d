#include <gtest/gtest.h>

#include "analysis/AnalysisRun.h"
#include "analysis/FolderScan.h"
#include "model/Release.h"
#include "nfo/NfoComposer.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"
#include "readers/MPEGaudio.h"
#include "readers/Musepack.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <functional>

// Every file in tests/data/regressions once made a parser crash, hang, run out of memory or give
// a plainly wrong result. Each is read here by the reader that failed on it, and the fuzz targets
// replay all of them in CI.
namespace {

QString RegressionFile(const char* name) {
  return TestDataPath(QStringLiteral("regressions/") + QString::fromLatin1(name));
}

// --- what each reader must give for its file ---

// The APE footer claims 2 GiB in a 128-byte file; subtracting that drove the bit rate negative.
void MusepackLeavesAnImpossibleApeSizeOut(const QString& path) {
  TMPEGplus reader;
  ASSERT_TRUE(reader.ReadFromFile(path));
  EXPECT_TRUE(reader.Valid());
  EXPECT_TRUE(reader.APEtag().Exists());
  EXPECT_EQ(reader.APEtag().Size(), 0x7FFFFFF0);
  // All 128 bytes count as audio: 128 x 8 x 37.8 kHz / 1 frame / 1152 samples = 33.6.
  EXPECT_EQ(reader.BitRate(), 34);
}

// A Xing header whose byte count is smaller than the padding of its frames made the average bytes
// per frame, and so the bit rate, negative.
void MpegGivesNoBitRateForAVbrByteCountBelowThePadding(const QString& path) {
  TMPEGaudio reader;
  ASSERT_TRUE(reader.ReadFromFile(path));
  ASSERT_TRUE(reader.Frame().Found);
  EXPECT_TRUE(reader.IsVBR());
  EXPECT_EQ(reader.BitRate(), 0);
  EXPECT_FALSE(reader.Valid());
}

struct RegressionCase {
  const char* file;
  std::function<void(const QString&)> check;
};

void PrintTo(const RegressionCase& c, std::ostream* out) {
  *out << c.file;
}

std::string TestName(const ::testing::TestParamInfo<RegressionCase>& info) {
  std::string name = info.param.file;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)))
      c = '_';
  }
  return name;
}

class RegressionFileTest : public ::testing::TestWithParam<RegressionCase> {};

TEST_P(RegressionFileTest, ReaderGivesTheDocumentedResult) {
  const QString path = RegressionFile(GetParam().file);
  ASSERT_TRUE(QFileInfo::exists(path)) << GetParam().file;
  GetParam().check(path);
}

// The same file as the only track of a release, analysed with checksums on and composed into an
// NFO, as the program would take it.
TEST_P(RegressionFileTest, WholeAnalysisOfAOneTrackReleaseCompletes) {
  TempFolder folder;
  const QString source = RegressionFile(GetParam().file);
  const QString track = folder.FilePath(QStringLiteral("01 - Track.") + QFileInfo(source).suffix());
  ASSERT_TRUE(QFile::copy(source, track));
  Release model;
  ScanFolder(model.Scan, folder.Path());
  ASSERT_EQ(model.Scan.TrackList, QStringList{track});
  AnalysisOptions options;
  options.Choices = {true, ChecksumKind::Sfv};
  options.Today = QDate(2024, 5, 17);
  AnalyseTracks(model, options);
  ASSERT_EQ(model.Tracks.size(), 1u);
  EXPECT_EQ(model.Tracks.front().ChecksumText.size(), 8);
  EXPECT_FALSE(
      ComposeNfoLines(model, Options{}, UserLocale::System(), CodePage::System()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, RegressionFileTest,
                         ::testing::Values(RegressionCase{"mpc-ape-size-beyond-file.mpc",
                                                          MusepackLeavesAnImpossibleApeSizeOut},
                                           RegressionCase{
                                               "mpeg-vbr-bytes-below-padding.mp3",
                                               MpegGivesNoBitRateForAVbrByteCountBelowThePadding}),
                         TestName);

}  // namespace
