#include <gtest/gtest.h>

#include <QColor>

#include "audio/picture/SpectrogramPicture.h"
#include "support/TestSupport.h"

namespace {

// Counts the pixels of a region that differ from the background colour around the plot.
int Drawn(const QImage& image, const QRect& region) {
  const QRgb background = image.pixel(0, image.height() - 1);
  int count = 0;
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x)
      count += image.pixel(x, y) != background ? 1 : 0;
  }
  return count;
}

// A 3:20 track at 44.1 kHz: loud below 11 kHz in its first half, silent everywhere else.
TEST(SpectrogramPictureTest, LoudCellsBrightSilentOnesDarkAxesAndTitleDrawn) {
  Spectrogram spectrogram;
  spectrogram.Columns = 100;
  spectrogram.Rows = 512;
  spectrogram.Seconds = 200;
  spectrogram.SecondsPerColumn = 2;
  spectrogram.Nyquist = 22050;
  spectrogram.Values.assign(100 * 512, Spectrogram::kFloorDb);
  for (int c = 0; c < 50; ++c) {
    for (int r = 0; r < 256; ++r)
      spectrogram.Values[static_cast<size_t>(c * 512 + r)] = -10.0f;
  }
  const QImage image =
      DrawSpectrogram(spectrogram, QStringLiteral("01 - Track.flac  44100 Hz, 16 bit"));
  ASSERT_EQ(image.size(), QSize(1000, 520));

  // The plot spans x 58..907 and y 34..479 (a quarter and three quarters of its width and
  // height are used below).
  auto at = [&image](double time, double frequency) {
    return image.pixel(58 + static_cast<int>(time * 850), 479 - static_cast<int>(frequency * 446));
  };
  EXPECT_GT(qGray(at(0.25, 0.25)), 150);  // -10 dB: orange to yellow
  EXPECT_LT(qGray(at(0.75, 0.25)), 10);   // silence: black
  EXPECT_LT(qGray(at(0.25, 0.75)), 10);
  // The legend: 0 dB white at the top, the lowest level black at the bottom.
  EXPECT_GT(qGray(image.pixel(930, 35)), 245);
  EXPECT_LT(qGray(image.pixel(930, 477)), 10);

  EXPECT_GT(Drawn(image, QRect(58, 2, 400, 28)), 200);    // title
  EXPECT_GT(Drawn(image, QRect(20, 34, 32, 446)), 100);   // kHz labels
  EXPECT_GT(Drawn(image, QRect(58, 486, 850, 30)), 100);  // m:ss labels
  EXPECT_GT(Drawn(image, QRect(946, 34, 50, 446)), 100);  // dB labels

  // Nothing to show still gives the frame, axes and title, without a crash.
  const QImage empty = DrawSpectrogram(Spectrogram{}, QStringLiteral("empty"));
  EXPECT_EQ(empty.size(), QSize(1000, 520));
}

}  // namespace
