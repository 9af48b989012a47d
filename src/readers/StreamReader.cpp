#include "readers/StreamReader.h"

#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "tags/ID3v2.h"

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

bool StreamReader::ReadFromFileAfterId3v2(const QString& fileName) {
  ResetData();
  try {
    const FileStream stream(fileName);
    TID3v2 id3v2;
    TagExtents tags;
    if (id3v2.ReadFromStream(stream) && id3v2.Exists())
      tags.Id3v2Size = id3v2.Size();
    return ReadFromStream(stream, tags);
  } catch (const FileError&) {
    ResetData();
    return false;
  }
}
