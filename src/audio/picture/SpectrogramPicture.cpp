#include "audio/picture/SpectrogramPicture.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 520;
constexpr int kLeft = 58;    // kHz labels
constexpr int kTop = 34;     // title
constexpr int kRight = 92;   // legend bar and its labels
constexpr int kBottom = 40;  // time labels
constexpr int kLegendGap = 16;
constexpr int kLegendWidth = 14;
constexpr int kTick = 5;

// Levels from kLowDb (black) to 0 dB (white).
constexpr float kLowDb = -120.0f;
constexpr int kLegendStepDb = 20;

const QColor kBackground(28, 28, 30);
const QColor kText(230, 230, 230);
const QColor kAxis(150, 150, 150);

struct ColourStop {
  float at;
  int r, g, b;
};

// Black through violet and red to yellow and white: levels stay apart to the eye over the whole
// range and the loud parts stand out.
constexpr std::array<ColourStop, 7> kStops = {{{0.00f, 0, 0, 0},
                                               {0.18f, 25, 0, 70},
                                               {0.38f, 115, 0, 140},
                                               {0.58f, 215, 30, 65},
                                               {0.76f, 255, 135, 0},
                                               {0.91f, 255, 225, 60},
                                               {1.00f, 255, 255, 255}}};

QRgb ColourAt(float fraction) {
  fraction = std::clamp(fraction, 0.0f, 1.0f);
  size_t upper = 1;
  while (upper + 1 < kStops.size() && kStops[upper].at < fraction)
    ++upper;
  const ColourStop& a = kStops[upper - 1];
  const ColourStop& b = kStops[upper];
  const float t = std::clamp((fraction - a.at) / (b.at - a.at), 0.0f, 1.0f);
  auto mix = [t](int from, int to) {
    return static_cast<int>(std::lround(from + (to - from) * t));
  };
  return qRgb(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

const std::array<QRgb, 256>& Palette() {
  static const std::array<QRgb, 256> palette = [] {
    std::array<QRgb, 256> colours{};
    for (size_t i = 0; i < colours.size(); ++i)
      colours[i] = ColourAt(static_cast<float>(i) / 255.0f);
    return colours;
  }();
  return palette;
}

QRgb ColourForDb(float db) {
  const float fraction = (db - kLowDb) / -kLowDb;
  const int index = std::clamp(static_cast<int>(std::lround(fraction * 255.0f)), 0, 255);
  return Palette()[static_cast<size_t>(index)];
}

// "3:05", "1:02:03".
QString TimeLabel(int seconds) {
  if (seconds >= 3600) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
  }
  return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// The first step of the list that gives no more than `most` ticks over `span`.
double TickStep(double span, int most, std::initializer_list<double> steps) {
  for (double step : steps) {
    if (span / step <= most)
      return step;
  }
  return std::max(1.0, std::ceil(span / most));
}

// The plot's pixels: each pixel shows the loudest cell it covers, so that a narrow tone or a
// short burst survives being drawn smaller than the grid.
QImage PlotImage(const Spectrogram& spectrogram, int width, int height) {
  QImage plot(width, height, QImage::Format_RGB32);
  plot.fill(ColourForDb(kLowDb));
  if (spectrogram.Columns <= 0 || spectrogram.Rows <= 0 || spectrogram.Seconds <= 0 ||
      spectrogram.SecondsPerColumn <= 0 ||
      spectrogram.Values.size() <
          static_cast<size_t>(spectrogram.Columns) * static_cast<size_t>(spectrogram.Rows))
    return plot;
  const int columns = spectrogram.Columns;
  const int rows = spectrogram.Rows;
  auto columnAt = [&](double x) {
    const double seconds = x / width * spectrogram.Seconds;
    return std::clamp(static_cast<int>(seconds / spectrogram.SecondsPerColumn), 0, columns - 1);
  };
  auto rowAt = [&](double y) {  // y from the top
    const double fraction = 1.0 - y / height;
    return std::clamp(static_cast<int>(std::lround(fraction * (rows - 1))), 0, rows - 1);
  };
  std::vector<float> columnMax(static_cast<size_t>(rows));
  for (int x = 0; x < width; ++x) {
    const int firstColumn = columnAt(x);
    const int lastColumn = std::max(firstColumn, columnAt(x + 1) - 1);
    for (int r = 0; r < rows; ++r) {
      float high = Spectrogram::kFloorDb;
      for (int c = firstColumn; c <= lastColumn; ++c)
        high = std::max(high, spectrogram.At(c, r));
      columnMax[static_cast<size_t>(r)] = high;
    }
    for (int y = 0; y < height; ++y) {
      const int top = rowAt(y);
      const int bottom = std::min(top, std::max(rowAt(y + 1) + 1, 0));
      float high = Spectrogram::kFloorDb;
      for (int r = bottom; r <= top; ++r)
        high = std::max(high, columnMax[static_cast<size_t>(r)]);
      plot.setPixel(x, y, ColourForDb(high));
    }
  }
  return plot;
}

}  // namespace

QImage DrawSpectrogram(const Spectrogram& spectrogram, const QString& title) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(kBackground);
  const QRect plot(kLeft, kTop, kWidth - kLeft - kRight, kHeight - kTop - kBottom);

  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = painter.font();
  font.setPixelSize(12);
  painter.setFont(font);
  const QFontMetrics metrics(font);

  painter.drawImage(plot.topLeft(), PlotImage(spectrogram, plot.width(), plot.height()));
  painter.setPen(kAxis);
  painter.drawRect(plot.adjusted(-1, -1, 0, 0));

  // Title.
  QFont titleFont = font;
  titleFont.setPixelSize(15);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  painter.setPen(kText);
  const QRect titleRect(kLeft, 0, kWidth - kLeft - 8, kTop - 4);
  painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetrics(titleFont).elidedText(title, Qt::ElideMiddle, titleRect.width()));
  painter.setFont(font);

  // Frequency axis, in kHz.
  const double nyquistKhz = spectrogram.Nyquist / 1000.0;
  if (nyquistKhz > 0) {
    const double step = TickStep(nyquistKhz, 12, {0.5, 1, 2, 5, 10, 20, 50, 100});
    for (double khz = 0; khz <= nyquistKhz + 1e-9; khz += step) {
      const int y =
          plot.bottom() - static_cast<int>(std::lround(khz / nyquistKhz * (plot.height() - 1)));
      painter.setPen(kAxis);
      painter.drawLine(plot.left() - 1 - kTick, y, plot.left() - 1, y);
      painter.setPen(kText);
      const QString label = QString::number(khz, 'g', 4);
      painter.drawText(QRect(0, y - 8, plot.left() - kTick - 4, 16),
                       Qt::AlignRight | Qt::AlignVCenter, label);
    }
  }
  painter.save();
  painter.translate(13, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRect(-40, -8, 80, 16), Qt::AlignCenter, QStringLiteral("kHz"));
  painter.restore();

  // Time axis.
  if (spectrogram.Seconds > 0) {
    const double step = TickStep(spectrogram.Seconds, 12,
                                 {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600});
    for (double seconds = 0; seconds <= spectrogram.Seconds + 1e-9; seconds += step) {
      const int x =
          plot.left() +
          static_cast<int>(std::lround(seconds / spectrogram.Seconds * (plot.width() - 1)));
      painter.setPen(kAxis);
      painter.drawLine(x, plot.bottom() + 1, x, plot.bottom() + 1 + kTick);
      painter.setPen(kText);
      const QString label = TimeLabel(static_cast<int>(std::lround(seconds)));
      const int labelWidth = metrics.horizontalAdvance(label);
      const int left = std::clamp(x - labelWidth / 2, 0, kWidth - labelWidth);
      painter.drawText(QPoint(left, plot.bottom() + kTick + 4 + metrics.ascent()), label);
    }
  }

  // Legend: the colour scale with its dB marks.
  const QRect bar(plot.right() + kLegendGap, plot.top(), kLegendWidth, plot.height());
  for (int y = 0; y < bar.height(); ++y) {
    const float db = kLowDb * static_cast<float>(y) / static_cast<float>(bar.height() - 1);
    painter.setPen(QColor::fromRgb(ColourForDb(db)));
    painter.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
  }
  painter.setPen(kAxis);
  painter.drawRect(bar.adjusted(-1, -1, 0, 0));
  for (int db = 0; db >= static_cast<int>(kLowDb); db -= kLegendStepDb) {
    const int y = bar.top() + static_cast<int>(std::lround(db / kLowDb * (bar.height() - 1)));
    painter.setPen(kAxis);
    painter.drawLine(bar.right() + 1, y, bar.right() + 4, y);
    painter.setPen(kText);
    painter.drawText(QRect(bar.right() + 7, y - 8, kWidth - bar.right() - 7, 16),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     db == 0 ? QStringLiteral("0 dB") : QString::number(db));
  }
  painter.end();
  return image;
}
