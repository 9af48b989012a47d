#include "readers/Monkey.h"

#include "platform/ByteView.h"
#include "platform/FileStream.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <string_view>

namespace {

constexpr int kFirstDescriptorVersion = 3980;
constexpr int kMarkerLength = 6;       // "MAC " and the version
constexpr int kDescriptorLength = 52;  // from 3980 on
constexpr int kHeaderLength = 24;      // from 3980 on, after the descriptor
constexpr int kOldHeaderLength = 36;   // before 3980
constexpr int kWavHeaderLength = 44;
constexpr int kLevelStep = 1000;

constexpr uint16_t kFlag8Bit = 1;
constexpr uint16_t kFlag24Bit = 8;

constexpr std::array<std::string_view, 7> kCompressionLevelNames = {
    "Unknown", "Fast", "Normal", "High", "Extra High", "Insane", "BrainDead"};

QByteArray ReadBytes(const FileStream& stream, int64_t offset, int64_t count) {
  QByteArray bytes(count, '\0');
  bytes.resize(std::max<int64_t>(0, stream.ReadAt(offset, bytes.data(), count)));
  return bytes;
}

// Old encoders sized their frames by version and, for 3800, by compression level.
uint32_t OldBlocksPerFrame(int version, int compressionLevel) {
  if (version >= 3950)
    return 294912;
  if (version >= 3900)
    return 73728;
  if (version >= 3800 && compressionLevel == 4000)
    return 73728;
  return 9216;
}

int BitsPerSampleFromFlags(uint16_t flags) {
  if (flags & kFlag24Bit)
    return 24;
  if (flags & kFlag8Bit)
    return 8;
  return 16;
}

// Every frame but the last holds blocksPerFrame samples. Hostile counts can exceed 63 bits; the
// product is formed unsigned and held at the largest count.
int64_t SampleCount(uint32_t totalFrames, uint32_t blocksPerFrame, uint32_t finalFrameBlocks) {
  if (totalFrames == 0)
    return 0;
  const uint64_t samples =
      static_cast<uint64_t>(totalFrames - 1) * blocksPerFrame + finalFrameBlocks;
  return static_cast<int64_t>(std::min<uint64_t>(samples, std::numeric_limits<int64_t>::max()));
}

QString LevelName(int level) {
  if (level % kLevelStep == 0 &&
      level / kLevelStep < static_cast<int>(kCompressionLevelNames.size())) {
    const std::string_view name = kCompressionLevelNames[level / kLevelStep];
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  }
  return QString::number(level);
}

}  // namespace

void TMonkey::ResetData() {
  data_ = Data();
  id3v1_.ResetData();
  id3v2_.ResetData();
  apeTag_.ResetData();
}

bool TMonkey::ReadFromFile(const QString& fileName) {
  ResetData();
  try {
    const FileStream stream(fileName);
    id3v2_.ReadFromStream(stream);
    id3v1_.ReadFromStream(stream);
    apeTag_.ReadFromStream(stream);
    TagExtents tags;
    tags.Id3v2Size = id3v2_.Exists() ? id3v2_.Size() : 0;
    return ReadStream(stream, tags);
  } catch (const std::exception&) {
    return false;
  }
}

bool TMonkey::ReadFromStream(const FileStream& stream, const TagExtents& tags) {
  ResetData();
  try {
    return ReadStream(stream, tags);
  } catch (const std::exception&) {
    ResetData();
    return false;
  }
}

bool TMonkey::ReadStream(const FileStream& stream, const TagExtents& tags) {
  if (!ReadHeader(stream, tags.Id3v2Size))
    return false;
  data_.compressionLevelText = LevelName(data_.compressionLevel);
  if (data_.sampleRate > 0) {
    data_.duration = static_cast<double>(data_.totalSamples) / data_.sampleRate;
  }
  data_.valid = data_.bitsPerSample > 0 && data_.sampleRate > 0 && data_.totalSamples > 0 &&
                data_.channels > 0;
  return data_.valid;
}

bool TMonkey::ReadHeader(const FileStream& stream, int64_t start) {
  data_.fileSize = stream.Size();
  const QByteArray marker = ReadBytes(stream, start, kMarkerLength);
  if (marker.size() != kMarkerLength || !bytes::Matches(marker, 0, "MAC "))
    return false;
  data_.version = bytes::LE16(marker, 4);
  data_.versionString = QString::asprintf("%4.2f", data_.version / 1000.0);

  if (data_.version >= kFirstDescriptorVersion) {
    const QByteArray descriptor = ReadBytes(stream, start, kDescriptorLength);
    if (descriptor.size() != kDescriptorLength)
      return false;
    // The header follows the descriptor at its stated length; a length pointing past the end
    // of the file leaves no header to read.
    const int64_t headerStart = start + bytes::LE32(descriptor, 8);
    const int64_t headerLength = std::min<int64_t>(bytes::LE32(descriptor, 12), kHeaderLength);
    if (headerStart + headerLength > data_.fileSize)
      return false;
    QByteArray header(kHeaderLength, '\0');
    if (stream.ReadAt(headerStart, header.data(), headerLength) != headerLength)
      return false;
    data_.compressionLevel = bytes::LE16(header, 0);
    data_.formatFlags = bytes::LE16(header, 2);
    data_.bitsPerSample = bytes::LE16(header, 16);
    data_.channels = bytes::LE16(header, 18);
    data_.sampleRate = static_cast<int>(bytes::LE32(header, 20));
    data_.totalSamples =
        SampleCount(bytes::LE32(header, 12), bytes::LE32(header, 4), bytes::LE32(header, 8));
    return true;
  }

  const QByteArray header = ReadBytes(stream, start, kOldHeaderLength);
  if (header.size() != kOldHeaderLength)
    return false;
  data_.compressionLevel = bytes::LE16(header, 6);
  data_.formatFlags = bytes::LE16(header, 8);
  data_.channels = bytes::LE16(header, 10);
  data_.sampleRate = static_cast<int>(bytes::LE32(header, 12));
  data_.bitsPerSample = BitsPerSampleFromFlags(bytes::LE16(header, 8));
  data_.totalSamples =
      SampleCount(bytes::LE32(header, 24), OldBlocksPerFrame(data_.version, data_.compressionLevel),
                  bytes::LE32(header, 28));
  return true;
}

double TMonkey::Ratio() const {
  if (!data_.valid)
    return 0;
  const double wavBytes =
      static_cast<double>(data_.totalSamples) * data_.channels * data_.bitsPerSample / 8 +
      kWavHeaderLength;
  return static_cast<double>(data_.fileSize) / wavBytes * 100;
}

StreamFacts TMonkey::Describe() const {
  StreamFacts facts;
  facts.Codec = QStringLiteral("Monkey's Audio");
  facts.Channels = data_.channels;
  facts.BitsPerSample = data_.bitsPerSample;
  facts.Ratio = Ratio();
  facts.VersionText = QStringLiteral("Monkey v") + data_.versionString;
  facts.SampleRateText = LosslessSampleRateText(data_.sampleRate, data_.bitsPerSample);
  facts.ChannelsText = ChannelCountText(data_.channels);
  facts.EncoderText = QStringLiteral("Monkey's Audio (APE)");
  facts.QualityLabel = data_.compressionLevelText;
  return facts;
}
