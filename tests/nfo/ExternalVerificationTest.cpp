#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include "NfoTestModels.h"
#include "checksums/Checksums.h"
#include "nfo/ChecksumList.h"
#include "support/TestSupport.h"

// The lists must satisfy the tools downloaders verify them with: upper-case hexadecimal digits,
// CR LF line ends and comment lines included.

namespace {

struct Verifier {
  const char* kind;
  const char* program;
  QStringList arguments;  // the list file's name is appended
  bool utf8 = false;      // the UTF-8 form, with names no 8-bit code page holds
};

void PrintTo(const Verifier& verifier, std::ostream* out) {
  *out << verifier.program << (verifier.utf8 ? " (UTF-8)" : "");
}

class ExternalVerificationTest : public ::testing::TestWithParam<Verifier> {
 protected:
  // Runs the verifier in the folder; its exit code, or -1 when it could not run.
  int Verify(const TempFolder& folder, const QString& listPath) {
    const QString program = QStandardPaths::findExecutable(QLatin1String(GetParam().program));
    EXPECT_FALSE(program.isEmpty()) << GetParam().program << " is missing (scripts/setup.sh)";
    QProcess process;
    process.setWorkingDirectory(folder.Path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, QStringList(GetParam().arguments) << listPath);
    if (!process.waitForFinished(60000))
      return -1;
    output_ = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  QString output_;
};

TEST_P(ExternalVerificationTest, WrittenListVerifiesAndCatchesACorruptFile) {
  TempFolder folder;
  ReleaseWithOptions model;
  model.Opts.SetChecksumKindText(QLatin1String(GetParam().kind));
  model.Opts.SaveUnicode = false;
  model.Opts.Utf8Text = GetParam().utf8;
  model.Run.StartTimeText = QStringLiteral("1/2/24 10:00:00 AM");
  model.Run.OutputBaseName = QStringLiteral("00. Abc - Def");
  const QList<QByteArray> contents = {QByteArray("123456789"), QByteArray(),
                                      QByteArray(3 * 1024 * 1024 + 17, '\x5A')};
  const QString title = GetParam().utf8 ? QStringLiteral("Łódź 日本 🎵") : QStringLiteral("Track");
  int number = 0;
  for (const QByteArray& content : contents) {
    const QString name =
        QStringLiteral("%1 - %2.mp3").arg(++number, 2, 10, QLatin1Char('0')).arg(title);
    TrackRecord row = TrackRecord::NewRow(folder.Write(name, content));
    row.ChecksumText = ChecksumOfFile(model.Opts.Checksum, row.FilePath);
    model.Tracks.push_back(row);
  }
  const QStringList lists = WriteChecksumList(model, model.Opts);
  ASSERT_EQ(lists.size(), 1);
  const QString list = lists.first();

  EXPECT_EQ(Verify(folder, list), 0) << output_.toStdString();

  folder.Write(QStringLiteral("02 - ") + title + QStringLiteral(".mp3"), QByteArray("changed"));
  EXPECT_NE(Verify(folder, list), 0) << output_.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ExternalVerificationTest,
    ::testing::Values(
        Verifier{"SFV", "cksfv", {QStringLiteral("-q"), QStringLiteral("-f")}},
        Verifier{"MD5", "md5sum", {QStringLiteral("-c")}},
        Verifier{"SFV", "cksfv", {QStringLiteral("-q"), QStringLiteral("-f")}, true},
        // Strict: a line md5sum cannot read (a ";" comment) fails the check.
        Verifier{"MD5", "md5sum", {QStringLiteral("--strict"), QStringLiteral("-c")}, true}),
    [](const ::testing::TestParamInfo<Verifier>& info) {
      return std::string(info.param.program) + (info.param.utf8 ? "Utf8" : "EightBit");
    });

}  // namespace
