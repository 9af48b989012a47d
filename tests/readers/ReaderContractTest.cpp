#include "readers/FLACfile.h"
#include "readers/MPEGaudio.h"
#include "readers/Monkey.h"
#include "readers/Musepack.h"

#include "platform/FileError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>

// What the four stream readers share: Unicode paths, deny-write sharing, no value of an earlier
// file surviving a later read, and the documented results for empty, truncated and random files.

namespace {

QByteArray RealFile(const char* name) {
  QFile file(TestDataPath(QStringLiteral("readers/") + QLatin1String(name)));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename Reader>
struct Format;

template <>
struct Format<TMPEGaudio> {
  static constexpr const char* kExtension = "mp3";
  static constexpr bool kEmptyResult = true;  // the tags cannot be read, nor can a frame
  static constexpr bool kTruncatedResult = true;
  static constexpr bool kRandomResult = true;
  static QByteArray Sample() { return RealFile("lame-cbr.mp3"); }
  static bool ReadMissing(TMPEGaudio& reader, const QString& path) {
    return reader.ReadFromFile(path);
  }
};

template <>
struct Format<TMPEGplus> {
  static constexpr const char* kExtension = "mpc";
  static constexpr bool kEmptyResult = false;  // no 32 header bytes
  static constexpr bool kTruncatedResult = false;
  static constexpr bool kRandomResult = true;
  static QByteArray Sample() {
    return Bytes().Text("MP+").U8(0x07).LE32(100).Fill(2).U8(0xA0).PadTo(4000, 0x44);
  }
  static bool ReadMissing(TMPEGplus& reader, const QString& path) {
    return reader.ReadFromFile(path);
  }
};

template <>
struct Format<TMonkey> {
  static constexpr const char* kExtension = "ape";
  static constexpr bool kEmptyResult = false;
  static constexpr bool kTruncatedResult = false;
  static constexpr bool kRandomResult = false;
  static QByteArray Sample() {
    return Bytes()
        .Text("MAC ")
        .LE16(3990)
        .LE16(0)
        .LE32(52)
        .LE32(24)
        .PadTo(52)
        .LE16(2000)
        .LE16(0)
        .LE32(73728)
        .LE32(1000)
        .LE32(10)
        .LE16(16)
        .LE16(2)
        .LE32(44100)
        .PadTo(4000, 0x5A);
  }
  static bool ReadMissing(TMonkey& reader, const QString& path) {
    return reader.ReadFromFile(path);
  }
};

template <>
struct Format<TFLACfile> {
  static constexpr const char* kExtension = "flac";
  static constexpr bool kEmptyResult = false;
  static constexpr bool kTruncatedResult = true;  // "fLaC" is there, STREAMINFO is not
  static constexpr bool kRandomResult = false;
  static QByteArray Sample() { return RealFile("tagged.flac"); }
  // The one reader whose open error reaches its caller.
  static bool ReadMissing(TFLACfile& reader, const QString& path) {
    EXPECT_THROW(reader.ReadFromFile(path), FileError);
    return false;
  }
};

template <typename Reader>
class ReaderContractTest : public ::testing::Test {
 protected:
  using F = Format<Reader>;

  QString Write(const QString& baseName, const QByteArray& bytes) {
    return folder_.Write(baseName + QLatin1Char('.') + QLatin1String(F::kExtension), bytes);
  }
  bool Read(const QByteArray& bytes) {
    return reader_.ReadFromFile(Write(QStringLiteral("track"), bytes));
  }
  void ExpectResetValues() {
    EXPECT_FALSE(reader_.Valid());
    EXPECT_EQ(reader_.FileSize(), 0);
    EXPECT_EQ(reader_.Duration(), 0);
    EXPECT_EQ(reader_.SampleRate(), 0);
  }

  TempFolder folder_;
  Reader reader_;
};

using StreamReaders = ::testing::Types<TMPEGaudio, TMPEGplus, TMonkey, TFLACfile>;
TYPED_TEST_SUITE(ReaderContractTest, StreamReaders);

TYPED_TEST(ReaderContractTest, UnicodePathReadsLikeAnyOther) {
  const QByteArray sample = TestFixture::F::Sample();
  ASSERT_FALSE(sample.isEmpty());
  const QString path = this->Write(QString::fromUtf8("Zażółć 日本 ♪"), sample);
  ASSERT_TRUE(this->reader_.ReadFromFile(path));
  EXPECT_TRUE(this->reader_.Valid());
  EXPECT_EQ(this->reader_.FileSize(), sample.size());
  EXPECT_GT(this->reader_.Duration(), 0.1);
}

TYPED_TEST(ReaderContractTest, MissingFileAfterValidOneLeavesResetValues) {
  ASSERT_TRUE(this->Read(TestFixture::F::Sample()));
  ASSERT_TRUE(this->reader_.Valid());
  EXPECT_FALSE(TestFixture::F::ReadMissing(this->reader_,
                                           this->folder_.FilePath(QStringLiteral("missing.bin"))));
  this->ExpectResetValues();
}

TYPED_TEST(ReaderContractTest, FileHeldOpenForWritingIsRefused) {
  const QString path = this->Write(QStringLiteral("busy"), TestFixture::F::Sample());
  QFile writer(path);
  ASSERT_TRUE(writer.open(QIODevice::ReadWrite));
  EXPECT_FALSE(TestFixture::F::ReadMissing(this->reader_, path));
  this->ExpectResetValues();
}

TYPED_TEST(ReaderContractTest, FileHeldOpenForReadingStillReads) {
  const QString path = this->Write(QStringLiteral("shared"), TestFixture::F::Sample());
  QFile other(path);
  ASSERT_TRUE(other.open(QIODevice::ReadOnly));
  EXPECT_TRUE(this->reader_.ReadFromFile(path));
  EXPECT_TRUE(this->reader_.Valid());
}

TYPED_TEST(ReaderContractTest, EmptyFileIsNotValid) {
  EXPECT_EQ(this->Read(QByteArray()), TestFixture::F::kEmptyResult);
  this->ExpectResetValues();
}

TYPED_TEST(ReaderContractTest, TruncatedFileIsNotValid) {
  EXPECT_EQ(this->Read(TestFixture::F::Sample().left(20)), TestFixture::F::kTruncatedResult);
  EXPECT_FALSE(this->reader_.Valid());
}

TYPED_TEST(ReaderContractTest, RandomBytesAreNotValid) {
  QByteArray file;
  uint32_t state = 20240601;
  for (int i = 0; i < 5000; ++i) {
    state = state * 1103515245u + 12345u;
    file += static_cast<char>(state >> 16);
  }
  // A first byte that starts no known marker or frame, so the outcome is fixed.
  file[0] = 'R';
  EXPECT_EQ(this->Read(file), TestFixture::F::kRandomResult);
  EXPECT_FALSE(this->reader_.Valid());
}

}  // namespace
