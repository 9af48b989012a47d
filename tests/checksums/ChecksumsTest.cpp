#include <gtest/gtest.h>

#include <QFile>
#include <atomic>

#include "checksums/Checksums.h"
#include "platform/FileAccessHook.h"
#include "platform/FileError.h"
#include "support/TestSupport.h"

namespace {

// Two full 1 MiB blocks and a tail that is not a multiple of any block size, so block boundaries
// and the short last block are all crossed. The byte pattern never repeats within a block.
QByteArray MultiBlockContent() {
  constexpr int kSize = 2 * 1024 * 1024 + 4097;
  QByteArray bytes(kSize, Qt::Uninitialized);
  for (int i = 0; i < kSize; ++i)
    bytes[i] = static_cast<char>((i * 7 + (i >> 11)) & 0xFF);
  return bytes;
}

// References from zlib's crc32, md5sum and cksfv, not from this code.
struct KnownSums {
  const char* name;
  QByteArray content;
  const char* crc32;
  const char* md5;
};

void PrintTo(const KnownSums& sums, std::ostream* out) {
  *out << sums.name;
}

class ChecksumsKnownValuesTest : public ::testing::TestWithParam<KnownSums> {};

TEST_P(ChecksumsKnownValuesTest, MatchesReferenceTools) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("track.mp3"), GetParam().content);
  EXPECT_EQ(FileCrc32(path), QLatin1String(GetParam().crc32));
  EXPECT_EQ(FileMd5(path), QLatin1String(GetParam().md5));
}

INSTANTIATE_TEST_SUITE_P(
    Contents, ChecksumsKnownValuesTest,
    ::testing::Values(KnownSums{"Empty", QByteArray(), "00000000",
                                "D41D8CD98F00B204E9800998ECF8427E"},
                      KnownSums{"CheckString", QByteArray("123456789"), "CBF43926",
                                "25F9E794323B453885F5181F1B624D0B"},
                      KnownSums{"LeadingZeroDigits", QByteArray("velmora-299"), "0017AC26",
                                "68BBE009D3565B948A46F182BF105050"},
                      KnownSums{"MultiBlock", MultiBlockContent(), "67B1598E",
                                "B3146C32F9ED479797B779B4605598E4"}),
    [](const ::testing::TestParamInfo<KnownSums>& info) { return std::string(info.param.name); });

TEST(ChecksumsTest, KindSelectsTheRoutineOnlyWhenSpelledExactly) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("a.mp3"), QByteArray("123456789"));
  EXPECT_EQ(ChecksumOfFile(ParseChecksumKind(QStringLiteral("SFV")), path),
            QStringLiteral("CBF43926"));
  EXPECT_EQ(ChecksumOfFile(ParseChecksumKind(QStringLiteral("MD5")), path),
            QStringLiteral("25F9E794323B453885F5181F1B624D0B"));
  for (const QString& kind :
       {QStringLiteral("sfv"), QStringLiteral("Md5"), QString(), QStringLiteral("CRC")}) {
    EXPECT_EQ(ChecksumOfFile(ParseChecksumKind(kind), path), QString()) << kind.toStdString();
  }
  // A kind that selects nothing never touches the file.
  EXPECT_EQ(ChecksumOfFile(ParseChecksumKind(QStringLiteral("none")),
                           folder.FilePath(QStringLiteral("missing"))),
            QString());
}

TEST(ChecksumsTest, PathOutsideTheCodePageIsReadByBothRoutines) {
  TempFolder folder;
  const QString path =
      folder.Write(QStringLiteral("\u65E5\u672C \u0416.flac"), QByteArray("123456789"));
  EXPECT_EQ(FileCrc32(path), QStringLiteral("CBF43926"));
  EXPECT_EQ(FileMd5(path), QStringLiteral("25F9E794323B453885F5181F1B624D0B"));
}

class ChecksumsOpenFailureTest : public ::testing::TestWithParam<QString (*)(const QString&)> {};

TEST_P(ChecksumsOpenFailureTest, MissingFileGivesCannotOpen) {
  TempFolder folder;
  const QString path = folder.FilePath(QStringLiteral("gone.mp3"));
  try {
    GetParam()(path);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Cannot open file ") + path);
  }
}

TEST_P(ChecksumsOpenFailureTest, FileHeldOpenForWritingGivesCannotOpen) {
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("busy.mp3"), QByteArray("abc"));
  QFile writer(path);
  ASSERT_TRUE(writer.open(QIODevice::WriteOnly | QIODevice::Append));
  try {
    GetParam()(path);
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Cannot open file ") + path);
  }
  writer.close();
  EXPECT_FALSE(GetParam()(path).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Routines, ChecksumsOpenFailureTest,
                         ::testing::Values(&FileCrc32, &FileMd5),
                         [](const ::testing::TestParamInfo<QString (*)(const QString&)>& info) {
                           return info.index == 0 ? std::string("Crc32") : std::string("Md5");
                         });

}  // namespace

// A file that another program cuts or extends while it is hashed has no checksum that matches
// either version: the pass says so instead of listing one.
TEST(ChecksumsTest, FileThatChangesWhileHashedFailsWithItsName) {
  TempFolder folder;
  for (const bool shrink : {true, false}) {
    for (const ChecksumKind kind : {ChecksumKind::Sfv, ChecksumKind::Md5}) {
      const QString path = folder.Write(QStringLiteral("a.flac"), QByteArray(3 * 512 * 1024, 'x'));
      std::atomic<int> accesses = 0;
      // The open, the first block, then the change before the second block is read.
      SetFileAccessHook([&, path, shrink](const QString& accessed, FileAccess) {
        if (accessed != path || ++accesses != 3)
          return;
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
          return;
        if (shrink)
          file.resize(1000);
        else
          file.seek(file.size()), file.write("grown");
      });
      try {
        ChecksumOfFile(kind, path);
        ADD_FAILURE() << "no error for a file that " << (shrink ? "shrank" : "grew");
      } catch (const FileError& error) {
        EXPECT_EQ(error.Text(),
                  QStringLiteral("File changed while its checksum was computed: ") + path);
      }
      SetFileAccessHook({});
    }
  }
}
