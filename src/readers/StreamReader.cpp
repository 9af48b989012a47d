#include "readers/StreamReader.h"

std::optional<QString> ChannelCountText(int channels) {
  switch (channels) {
    case 0:
      return QStringLiteral("Unknown");
    case 1:
      return QStringLiteral("Mono");
    case 2:
      return QStringLiteral("Stereo");
    default:
      return std::nullopt;
  }
}

QString LosslessSampleRateText(int sampleRate, int bitsPerSample) {
  return QStringLiteral("%1 HZ / %2 Bit").arg(sampleRate).arg(bitsPerSample);
}
