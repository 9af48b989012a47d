#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <vector>

#include "NfoTestModels.h"
#include "nfo/NfoComposer.h"
#include "nfo/OutputSaving.h"
#include "platform/UserLocale.h"
#include "support/TestSupport.h"

// Whole releases saved the way "Zapisz" saves them, compared byte for byte with files that were
// written by hand from the layout and reviewed line by line.

namespace {

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct GoldenOutput {
  QString goldenName;   // in tests/data/nfo/<case>/
  QString writtenName;  // in the release folder
};

struct GoldenCase {
  const char* name;
  QLocale locale;
  std::function<ReleaseWithOptions(const QString&)> build;
  std::vector<GoldenOutput> outputs;
};

void PrintTo(const GoldenCase& golden, std::ostream* out) {
  *out << golden.name;
}

class GoldenFilesTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenFilesTest, SavedFilesMatchTheReviewedLayout) {
  const GoldenCase& golden = GetParam();
  PinnedLocale locale(golden.locale);
  TempFolder folder;
  ReleaseWithOptions model = golden.build(folder.Path());

  ComposeNfo(model, model.Opts);
  const QStringList written = SaveOutputs(model, model.Opts);

  EXPECT_EQ(written.size(), static_cast<qsizetype>(golden.outputs.size()));
  EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files).size(),
            static_cast<qsizetype>(golden.outputs.size()));
  for (const GoldenOutput& output : golden.outputs) {
    SCOPED_TRACE(output.writtenName.toStdString());
    const QByteArray expected =
        ReadFile(TestDataPath(QStringLiteral("nfo/") + QLatin1String(golden.name) +
                              QLatin1Char('/') + output.goldenName));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(folder.Read(output.writtenName), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Releases, GoldenFilesTest,
    ::testing::Values(
        GoldenCase{"single-artist",
                   QLocale(QLocale::English, QLocale::UnitedStates),
                   SingleArtistRelease,
                   {{QStringLiteral("release.nfo"),
                     QStringLiteral("00. Aurora Vale - Harbour Lights.nfo")},
                    {QStringLiteral("release.sfv"),
                     QStringLiteral("00. Aurora Vale - Harbour Lights.sfv")},
                    {QStringLiteral("release.pls"),
                     QStringLiteral("00. Aurora Vale - Harbour Lights.pls")},
                    {QStringLiteral("release.m3u"),
                     QStringLiteral("00. Aurora Vale - Harbour Lights.m3u")}}},
        // The NFO name goes through code page 1250 ("日本" becomes "??"); the Unicode-form
        // lists keep the wide name and take the upper-case list extension.
        GoldenCase{
            "various-nmr",
            QLocale(QLocale::Polish, QLocale::Poland),
            VariousArtistsNmrRelease,
            {{QStringLiteral("release.nfo"), QStringLiteral("00. VA - Sk\u0142adanka ??.nfo")},
             {QStringLiteral("release.MD5"),
              QStringLiteral("00. VA - Sk\u0142adanka \u65E5\u672C.MD5")},
             {QStringLiteral("release.pls"),
              QStringLiteral("00. VA - Sk\u0142adanka \u65E5\u672C.pls")},
             {QStringLiteral("release.m3u"),
              QStringLiteral("00. VA - Sk\u0142adanka \u65E5\u672C.m3u")}}}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) {
      QString name = QLatin1String(info.param.name);
      return name.remove(QLatin1Char('-')).toStdString();
    });

}  // namespace
