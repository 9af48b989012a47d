#include <gtest/gtest.h>

#include <QFile>

#include "platform/JpegPicture.h"
#include "support/TestSupport.h"

namespace {

QByteArray ShippedSplash() {
  QFile file(QStringLiteral(VELMORA_PROGRAM_DATA "/splash.jpg"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The offset of the first frame header's height field (SOF0 to SOF2: FF C0..C2).
qsizetype FrameSizeOffset(const QByteArray& jpeg) {
  for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
    const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2)
      return i + 5;
  }
  return -1;
}

}  // namespace

TEST(JpegPictureTest, ShippedPictureDecodesToItsSizeInRgb) {
  TempFolder folder;
  const QByteArray bytes = ShippedSplash();
  ASSERT_FALSE(bytes.isEmpty());
  const JpegPicture picture = LoadJpegFile(folder.Write(QStringLiteral("splash.jpg"), bytes));
  ASSERT_FALSE(picture.IsNull());
  EXPECT_EQ(picture.Width, 536);
  EXPECT_EQ(picture.Height, 74);
  EXPECT_EQ(picture.Rgb.size(), 536 * 74 * 3);
  // The banner is dark blue at its left edge, whatever the encoder's rounding.
  const auto blue = static_cast<unsigned char>(picture.Rgb[2]);
  EXPECT_GT(blue, static_cast<unsigned char>(picture.Rgb[0]));
}

TEST(JpegPictureTest, MissingTruncatedForeignAndOversizedFilesGiveNoPicture) {
  TempFolder folder;
  const QByteArray bytes = ShippedSplash();
  EXPECT_TRUE(LoadJpegFile(folder.FilePath(QStringLiteral("missing.jpg"))).IsNull());
  EXPECT_TRUE(DecodeJpeg(bytes.left(bytes.size() / 2)).IsNull());
  EXPECT_TRUE(DecodeJpeg(bytes.left(2)).IsNull());
  EXPECT_TRUE(DecodeJpeg(QByteArray("\x89PNG\r\n\x1a\n not a jpeg at all", 25)).IsNull());
  EXPECT_TRUE(DecodeJpeg(QByteArray()).IsNull());

  // A header claiming 60000 x 60000 pixels must not size an allocation of ten gigabytes.
  QByteArray huge = bytes;
  const qsizetype size = FrameSizeOffset(huge);
  ASSERT_GT(size, 0);
  for (qsizetype i : {size, size + 2}) {
    huge[i] = static_cast<char>(0xEA);
    huge[i + 1] = static_cast<char>(0x60);
  }
  EXPECT_TRUE(DecodeJpeg(huge).IsNull());
}
