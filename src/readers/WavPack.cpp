#include "readers/WavPack.h"

#include "platform/ByteView.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "readers/KbpsRounding.h"
#include "tags/APETag.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

#include <QByteArray>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace {

constexpr int kHeaderLength = 32;
// ckSize counts the block less its first 8 bytes: a block holds at least the rest of its header.
constexpr uint32_t kMinCkSize = kHeaderLength - 8;
// WavPack never writes a block larger than 1 MiB; a larger size is damage, not a block to skip.
constexpr uint32_t kMaxCkSize = 1 << 20;
constexpr uint16_t kFirstDecodableVersion = 0x402;
constexpr uint16_t kLastDecodableVersion = 0x410;
// A damaged block hides at most one block's worth of bytes before the next header, so the search
// for that header gives up after this many.
constexpr int64_t kResyncWindow = 1 << 20;
constexpr int64_t kSearchChunk = 64 * 1024;
// Blocks without samples (metadata only) may come before the first audio block.
constexpr int kMaxLeadingBlocks = 64;
constexpr int kApeHeaderLength = 32;
constexpr uint32_t kUnknownLength = 0xFFFFFFFF;

constexpr uint32_t kBytesStoredMask = 0x3;
constexpr uint32_t kMonoFlag = 1u << 2;
constexpr uint32_t kHybridFlag = 1u << 3;
constexpr uint32_t kFloatFlag = 1u << 7;
constexpr uint32_t kInitialBlockFlag = 1u << 11;
constexpr int kShiftShift = 13;  // bits 13-17: bits left unused at the bottom of each sample
constexpr uint32_t kShiftMask = 0x1F;
constexpr int kRateShift = 23;  // bits 23-26: index into kSampleRates, 15 for any other rate
constexpr uint32_t kRateMask = 0xF;
constexpr uint32_t kDsdFlag = 1u << 31;

// Metadata sub-blocks: the id's low six bits name the content, the top two describe the size.
constexpr uint8_t kIdMask = 0x3F;
constexpr uint8_t kOddSizeFlag = 0x40;
constexpr uint8_t kLargeFlag = 0x80;
constexpr uint8_t kIdChannelInfo = 0x0D;
constexpr uint8_t kIdSampleRate = 0x27;
constexpr uint8_t kIdNewConfigBlock = 0x2A;

constexpr std::array<int, 15> kSampleRates = {6000,  8000,  9600,  11025, 12000,
                                              16000, 22050, 24000, 32000, 44100,
                                              48000, 64000, 88200, 96000, 192000};

struct BlockHeader {
  int64_t position = 0;
  uint32_t ckSize = 0;
  uint16_t version = 0;
  std::optional<int64_t> totalSamples;  // unset when the block says the length is unknown
  int64_t blockIndex = 0;
  uint32_t blockSamples = 0;
  uint32_t flags = 0;

  int64_t End() const { return position + 8 + ckSize; }
};

// What the metadata sub-blocks of the first audio block add to its header.
struct BlockMetadata {
  int channels = 0;  // 0 when the block carries no channel info
  int sampleRate = 0;
  bool newConfigBlock = false;
};

// The header at `position` when one that can be decoded lies there, wholly before `limit`.
std::optional<BlockHeader> ReadBlockHeader(const FileStream& stream, int64_t position,
                                           int64_t limit) {
  if (position < 0 || limit - position < kHeaderLength)
    return std::nullopt;
  QByteArray bytes(kHeaderLength, '\0');
  if (stream.ReadAt(position, bytes.data(), kHeaderLength) != kHeaderLength ||
      !bytes::Matches(bytes, 0, "wvpk")) {
    return std::nullopt;
  }
  BlockHeader header;
  header.position = position;
  header.ckSize = bytes::LE32(bytes, 4);
  header.version = bytes::LE16(bytes, 8);
  if (header.ckSize < kMinCkSize || header.ckSize > kMaxCkSize ||
      header.version < kFirstDecodableVersion || header.version > kLastDecodableVersion) {
    return std::nullopt;
  }
  // Version 5 widened the counts to 40 bits with a byte each in the header. A length whose low
  // 32 bits are all set means "unknown" whatever the high byte holds, so the writer skips those
  // values: every 2^32 - 1 counts take 2^32 codes, which the high byte's own value undoes.
  const bool wide = header.version >= 0x410;
  const int64_t indexHigh = wide ? bytes::U8(bytes, 10) : 0;
  const int64_t totalHigh = wide ? bytes::U8(bytes, 11) : 0;
  const uint32_t totalLow = bytes::LE32(bytes, 12);
  if (totalLow != kUnknownLength)
    header.totalSamples = static_cast<int64_t>(totalLow) + (totalHigh << 32) - totalHigh;
  header.blockIndex = static_cast<int64_t>(bytes::LE32(bytes, 16)) + (indexHigh << 32);
  header.blockSamples = bytes::LE32(bytes, 20);
  header.flags = bytes::LE32(bytes, 24);
  return header;
}

// The first position from `from` on where a decodable block header lies, searching no further
// than kResyncWindow bytes and never at or past `limit`; -1 when there is none.
int64_t FindBlock(const FileStream& stream, int64_t from, int64_t limit) {
  const int64_t searchEnd = std::min(limit, from + kResyncWindow);
  int64_t chunkStart = from;
  while (chunkStart < searchEnd) {
    // Chunks overlap by three bytes so that a marker split between two is still seen.
    const int64_t length = std::min(kSearchChunk, searchEnd - chunkStart + 3);
    QByteArray chunk(length, '\0');
    chunk.resize(std::max<int64_t>(0, stream.ReadAt(chunkStart, chunk.data(), length)));
    qsizetype at = chunk.indexOf("wvpk");
    while (at >= 0 && chunkStart + at < searchEnd) {
      if (ReadBlockHeader(stream, chunkStart + at, limit))
        return chunkStart + at;
      at = chunk.indexOf("wvpk", at + 1);
    }
    if (chunk.size() < length)
      break;  // the end of the file
    chunkStart += length - 3;
  }
  return -1;
}

// The block header at `position`, or the next one a search finds after damage there.
std::optional<BlockHeader> NextBlock(const FileStream& stream, int64_t position, int64_t limit) {
  if (std::optional<BlockHeader> header = ReadBlockHeader(stream, position, limit))
    return header;
  const int64_t found = FindBlock(stream, position + 1, limit);
  return found < 0 ? std::nullopt : ReadBlockHeader(stream, found, limit);
}

void ReadSubBlocks(QByteArrayView block, BlockMetadata& metadata) {
  int64_t position = kHeaderLength;
  while (bytes::Fits(block, position, 2)) {
    const uint8_t id = bytes::U8(block, position);
    const bool large = (id & kLargeFlag) != 0;
    const int64_t dataStart = position + (large ? 4 : 2);
    const int64_t words =
        large ? bytes::LE(block, position + 1, 3) : bytes::U8(block, position + 1);
    const int64_t stored = words * 2;  // sub-blocks are padded to whole 16-bit words
    if (!bytes::Fits(block, dataStart, stored))
      break;  // runs past the block, or past what the file holds of it
    const int64_t length = (id & kOddSizeFlag) != 0 && stored > 0 ? stored - 1 : stored;
    const QByteArrayView data = block.sliced(dataStart, length);
    switch (id & kIdMask) {
      case kIdChannelInfo:
        // The channel count, then the speaker mask. Since 5.0, six or seven bytes carry counts of
        // up to 4096 channels: twelve bits of count - 1 over the first and third bytes.
        if (length >= 6 && length <= 7)
          metadata.channels = (bytes::U8(data, 0) | (bytes::U8(data, 2) & 0x0F) << 8) + 1;
        else if (length >= 1 && length <= 5)
          metadata.channels = bytes::U8(data, 0);
        break;
      case kIdSampleRate:
        if (length == 3 || length == 4) {
          metadata.sampleRate =
              static_cast<int>(bytes::LE(data, 0, 3) | (bytes::U8(data, 3) & 0x7Fu) << 24);
        }
        break;
      case kIdNewConfigBlock:
        metadata.newConfigBlock = true;
        break;
      default:
        break;
    }
    position = dataStart + stored;
  }
}

// Sums the samples of every group of blocks from `position` to `limit`. Multichannel streams
// spread one group of samples over several blocks, of which only the first has the initial-block
// flag. Only the block headers are read; a block cut short by the limit is not counted.
int64_t CountSamples(const FileStream& stream, int64_t position, int64_t limit) {
  int64_t total = 0;
  while (position < limit) {
    const std::optional<BlockHeader> header = NextBlock(stream, position, limit);
    if (!header || header->End() > limit)
      break;
    if (header->flags & kInitialBlockFlag) {
      total = std::min<int64_t>(total, std::numeric_limits<int64_t>::max() - header->blockSamples) +
              header->blockSamples;
    }
    position = header->End();
  }
  return total;
}

// Where the audio ends: before an ID3v1 tag (and Lyrics3 block) and an APE tag. The APE footer's
// size leaves out the header most writers put in front of the items, which is looked for. A tag
// size larger than what is left of the file is damage and left out.
int64_t AudioEnd(const FileStream& stream, int64_t fileSize, int64_t streamStart,
                 const TagExtents& tags) {
  int64_t end = fileSize;
  if (tags.Id3v1TotalSize > 0 && tags.Id3v1TotalSize <= end - streamStart)
    end -= tags.Id3v1TotalSize;
  if (tags.ApeTagExists && tags.ApeTagSize > 0 && tags.ApeTagSize <= end - streamStart) {
    end -= tags.ApeTagSize;
    char marker[8] = {};
    if (end - kApeHeaderLength >= streamStart &&
        stream.ReadAt(end - kApeHeaderLength, marker, sizeof marker) == sizeof marker &&
        bytes::Matches(QByteArrayView(marker, sizeof marker), 0, "APETAGEX")) {
      end -= kApeHeaderLength;
    }
  }
  return end;
}

}  // namespace

void TWavPack::ResetData() {
  data_ = Data();
}

bool TWavPack::ReadFromFile(const QString& fileName) {
  ResetData();
  try {
    const FileStream stream(fileName);
    TagExtents tags;
    TID3v2 id3v2;
    if (id3v2.ReadFromStream(stream) && id3v2.Exists())
      tags.Id3v2Size = id3v2.Size();
    TID3v1 id3v1;
    if (id3v1.ReadFromStream(stream)) {
      tags.Id3v1Exists = id3v1.Exists();
      tags.Id3v1TotalSize = id3v1.TotalSize();
    }
    TAPETag apeTag;
    if (apeTag.ReadFromStream(stream) && apeTag.Exists()) {
      tags.ApeTagExists = true;
      tags.ApeTagSize = apeTag.Size();
    }
    return ReadFromStream(stream, tags);
  } catch (const FileError&) {
    ResetData();
    return false;
  }
}

bool TWavPack::ReadFromStream(const FileStream& stream, const TagExtents& tags) {
  ResetData();
  Data data;
  data.fileSize = std::max<int64_t>(stream.Size(), 0);
  const int64_t streamStart = std::clamp<int64_t>(tags.Id3v2Size, 0, data.fileSize);
  const int64_t audioEnd = AudioEnd(stream, data.fileSize, streamStart, tags);
  data_.fileSize = data.fileSize;

  // The first block may sit behind a few bytes of junk; the first one with samples describes
  // the stream.
  const int64_t firstBlock = FindBlock(stream, streamStart, audioEnd);
  if (firstBlock < 0)
    return false;
  data.audioStart = firstBlock;
  data.audioBytes = audioEnd - firstBlock;
  std::optional<BlockHeader> header = ReadBlockHeader(stream, firstBlock, audioEnd);
  for (int leading = 0; header && header->blockSamples == 0 && leading < kMaxLeadingBlocks;
       ++leading) {
    header = NextBlock(stream, header->End(), audioEnd);
  }
  if (!header || header->blockSamples == 0) {
    data_ = data;
    return true;
  }

  // A block is at most kMaxCkSize + 8 bytes; one cut short by the end of the file still has its
  // header and what metadata precedes the cut.
  const int64_t blockLength = std::min(header->End(), data.fileSize) - header->position;
  QByteArray block(blockLength, '\0');
  block.resize(std::max<int64_t>(0, stream.ReadAt(header->position, block.data(), blockLength)));
  BlockMetadata metadata;
  ReadSubBlocks(block, metadata);

  const uint32_t flags = header->flags;
  data.version = header->version;
  data.hybrid = (flags & kHybridFlag) != 0;
  data.floatingPoint = (flags & kFloatFlag) != 0;
  data.dsd = (flags & kDsdFlag) != 0;
  data.newConfigBlock = metadata.newConfigBlock;
  const int bytesPerSample = static_cast<int>(flags & kBytesStoredMask) + 1;
  const int shift = static_cast<int>((flags >> kShiftShift) & kShiftMask);
  data.bitsPerSample = std::max(bytesPerSample * 8 - shift, 0);
  const uint32_t rateIndex = (flags >> kRateShift) & kRateMask;
  data.sampleRate = rateIndex < kSampleRates.size() ? kSampleRates[rateIndex] : metadata.sampleRate;
  // Multichannel streams name their count in the first block; mono and stereo ones need not.
  if (metadata.channels > 0)
    data.channels = metadata.channels;
  else
    data.channels = (flags & kMonoFlag) != 0 ? 1 : 2;

  // The length in the header holds only for a stream that starts at its first sample; a file cut
  // out of a longer stream, or written to a pipe, has its samples counted instead.
  if (header->totalSamples && header->blockIndex == 0) {
    data.totalSamples = *header->totalSamples;
  } else {
    data.totalSamples = CountSamples(stream, header->position, audioEnd);
    data.lengthCounted = true;
  }
  data_ = data;
  return true;
}

bool TWavPack::Valid() const {
  return data_.version >= kFirstDecodableVersion && data_.version <= kLastDecodableVersion &&
         !data_.dsd && data_.sampleRate > 0 && data_.channels > 0 && data_.bitsPerSample > 0 &&
         Duration() > 0.1;
}

double TWavPack::Duration() const {
  if (data_.sampleRate <= 0)
    return 0;
  return static_cast<double>(data_.totalSamples) / data_.sampleRate;
}

// The blocks never name the release of WavPack that wrote them, only its generation: WavPack 5
// puts a new-config sub-block (empty when there is nothing to configure) into its blocks and
// writes stream version 0x410 when it uses a 5.0 feature, and WavPack 4 does neither. Either
// sign gives "5.0"; the stream versions 0x402 to 0x40F without one give "4.0".
QString TWavPack::EncoderVersion() const {
  if (data_.version == 0)
    return {};
  return data_.newConfigBlock || data_.version >= 0x410 ? QStringLiteral("5.0")
                                                        : QStringLiteral("4.0");
}

double TWavPack::Ratio() const {
  const double pcmBytes =
      static_cast<double>(data_.totalSamples) * data_.channels * data_.bitsPerSample / 8;
  if (pcmBytes <= 0)
    return 0;
  return static_cast<double>(data_.fileSize) / pcmBytes * 100;
}

int TWavPack::BitRate() const {
  const double duration = Duration();
  if (duration <= 0)
    return 0;
  return RoundKbps(static_cast<double>(data_.audioBytes) * 8 / duration / 1000);
}

StreamFacts TWavPack::Describe() const {
  StreamFacts facts;
  facts.Codec = data_.hybrid ? QStringLiteral("WavPack hybrid") : QStringLiteral("WavPack");
  facts.Channels = data_.channels;
  facts.BitsPerSample = data_.bitsPerSample;
  if (data_.hybrid)
    facts.BitRate = BitRate();
  else
    facts.Ratio = Ratio();
  facts.VersionText = QStringLiteral("WavPack ") + EncoderVersion();
  facts.SampleRateText = LosslessSampleRateText(data_.sampleRate, data_.bitsPerSample);
  facts.ChannelsText = ChannelCountText(data_.channels);
  facts.EncoderText = QStringLiteral("WavPack (WV)");
  facts.Quality = StreamFacts::QualityRule::Fixed;
  facts.QualityLabel = data_.hybrid ? QStringLiteral("Lossy (hybrid)") : QStringLiteral("Lossless");
  return facts;
}
