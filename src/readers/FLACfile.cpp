#include "readers/FLACfile.h"

#include "platform/ByteView.h"
#include "platform/FileStream.h"
#include "readers/VorbisComment.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr int kBlockHeaderLength = 4;
constexpr int kStreamInfoLength = 34;
constexpr uint8_t kLastBlockFlag = 0x80;
constexpr uint8_t kBlockTypeMask = 0x7F;
constexpr uint8_t kStreamInfo = 0;
constexpr uint8_t kVorbisComment = 4;
constexpr uint8_t kPicture = 6;
// Real files carry a handful of metadata blocks; a file made of millions of empty blocks is
// hostile and would otherwise cost one table entry and one read for every four bytes.
constexpr int kMaxBlocks = 65536;

constexpr std::array<std::string_view, 21> kPictureTypeNames = {
    "Other",
    "32x32 pixels \"file icon\" (PNG only)",
    "Other file icon",
    "Cover (front)",
    "Cover (back)",
    "Leaflet page",
    "Media (e.g. label side of CD)",
    "Lead artist/lead performer/soloist",
    "Artist/performer",
    "Conductor",
    "Band/Orchestra",
    "Composer",
    "Lyricist/text writer",
    "Recording Location",
    "During recording",
    "During performance",
    "Movie/video screen capture",
    "A bright coloured fish",
    "Illustration",
    "Band/artist logotype",
    "Publisher/Studio logotype",
};

// Reads fields of one block straight from the file and never past the end of the block or of
// the file, so that a hostile length ends the parse instead of sizing an allocation, and large
// picture data need not be loaded to reach the fields in front of it.
class BlockCursor {
 public:
  BlockCursor(const FileStream& stream, int64_t start, int64_t end)
      : stream_(stream), position_(start), end_(end) {}

  int64_t Position() const { return position_; }
  int64_t Remaining() const { return end_ - position_; }

  bool Take(int64_t count, QByteArray& out) {
    if (count < 0 || count > end_ - position_)
      return false;
    out.resize(count);
    if (stream_.ReadAt(position_, out.data(), count) != count)
      return false;
    position_ += count;
    return true;
  }
  bool BE32(uint32_t& value) {
    QByteArray bytes;
    if (!Take(4, bytes))
      return false;
    value = bytes::BE32(bytes, 0);
    return true;
  }

 private:
  const FileStream& stream_;
  int64_t position_;
  int64_t end_;
};

QString DecodeTrimmedUtf8(QByteArrayView text) {
  return QString::fromUtf8(TrimBlanksAndControls(text));
}

// The packed fields of STREAMINFO from byte 10 on: 20 bits of sample rate, 3 of channels - 1,
// 5 of bits per sample - 1, 36 of total samples, then the MD5 signature.
void UnpackStreamInfo(QByteArrayView s, FLACFileInfo& info) {
  const uint8_t s12 = bytes::U8(s, 12);
  const uint8_t s13 = bytes::U8(s, 13);
  info.sampleRate = bytes::U8(s, 10) << 12 | bytes::U8(s, 11) << 4 | s12 >> 4;
  info.channels = ((s12 >> 1) & 0x07) + 1;
  info.bitsPerSample = ((s12 & 0x01) << 4 | s13 >> 4) + 1;
  info.samples = static_cast<int64_t>(s13 & 0x0F) << 32 | bytes::BE32(s, 14);
  info.duration = info.samples > 0 && info.sampleRate > 0
                      ? static_cast<double>(info.samples) / info.sampleRate
                      : 0;
  for (size_t i = 0; i < info.md5Signature.size(); ++i) {
    info.md5Signature[i] = bytes::U8(s, 18 + static_cast<int64_t>(i));
  }
}

// The picture's fields in front of its data; false when they run past the block.
bool ReadPicture(BlockCursor& cursor, TPictureTag& picture) {
  uint32_t mimeLength = 0;
  uint32_t descriptionLength = 0;
  QByteArray description;
  if (!cursor.BE32(picture.PictureType) || !cursor.BE32(mimeLength) ||
      !cursor.Take(mimeLength, picture.MimeType) || !cursor.BE32(descriptionLength) ||
      !cursor.Take(descriptionLength, description) || !cursor.BE32(picture.Width) ||
      !cursor.BE32(picture.Height) || !cursor.BE32(picture.ColorDepth) ||
      !cursor.BE32(picture.Colors) || !cursor.BE32(picture.DataLength)) {
    return false;
  }
  picture.Description = DecodeTrimmedUtf8(description);
  picture.DataOffset = cursor.Position();
  return true;
}

// The body of one block; a body cut short by the end of the file gives what is there.
void ReadBlockBody(uint8_t type, BlockCursor body, int blockIndex, FLACFileInfo& info) {
  QByteArray bytes;
  // A stream has exactly one STREAMINFO, the first block. A later block of that type (a damaged
  // block before it can make the walk read one out of picture data) is listed, nothing more.
  if (type == kStreamInfo && blockIndex == 0) {
    if (body.Take(kStreamInfoLength, bytes))
      UnpackStreamInfo(bytes, info);
  } else if (type == kVorbisComment) {
    if (body.Take(body.Remaining(), bytes))
      ReadVorbisComment(bytes, info.tags);
  } else if (type == kPicture) {
    TPictureTag picture;
    picture.BlockIndex = blockIndex;
    if (ReadPicture(body, picture))
      info.pictures.push_back(std::move(picture));
  }
}

// Fills info from the metadata blocks; false when the file does not start with "fLaC".
bool WalkMetadata(const FileStream& stream, FLACFileInfo& info) {
  info.fileSize = stream.Size();
  QByteArray marker(4, '\0');
  if (stream.ReadAt(0, marker.data(), marker.size()) != marker.size() || marker != "fLaC") {
    return false;
  }
  int64_t blockStart = marker.size();
  bool lastBlock = false;
  // Ends at the last-block flag, at a block header cut short by the end of the file, or when a
  // block reaches the end of the file.
  while (!lastBlock && blockStart < info.fileSize && info.blocks.size() < kMaxBlocks) {
    QByteArray header(kBlockHeaderLength, '\0');
    if (stream.ReadAt(blockStart, header.data(), header.size()) != header.size())
      break;
    lastBlock = (bytes::U8(header, 0) & kLastBlockFlag) != 0;
    const uint8_t type = bytes::U8(header, 0) & kBlockTypeMask;
    const int64_t bodyStart = blockStart + kBlockHeaderLength;
    const int64_t nextStart = bodyStart + bytes::BE24(header, 1);
    const BlockCursor body(stream, bodyStart, std::min(nextStart, info.fileSize));
    ReadBlockBody(type, body, static_cast<int>(info.blocks.size()), info);
    info.blocks.push_back({type, blockStart, nextStart - blockStart});
    blockStart = nextStart;
  }
  return true;
}

}  // namespace

void TFLACfile::ResetData() {
  data_ = FLACFileInfo();
}

bool TFLACfile::ReadFromFile(const QString& fileName) {
  ResetData();
  const FileStream stream(fileName);  // its open error passes to the caller
  if (!ReadFromStream(stream, TagExtents{}))
    return false;
  fileName_ = fileName;
  return true;
}

bool TFLACfile::ReadFromStream(const FileStream& stream, const TagExtents&) {
  ResetData();
  FLACFileInfo info;
  if (!WalkMetadata(stream, info))
    return false;
  fileName_ = stream.Path();
  data_ = std::move(info);
  return true;
}

StreamFacts TFLACfile::Describe() const {
  StreamFacts facts;
  facts.Codec = QStringLiteral("FLAC");
  facts.Channels = data_.channels;
  facts.BitsPerSample = data_.bitsPerSample;
  facts.Ratio = Ratio();
  facts.VersionText = data_.tags.vendor;
  facts.SampleRateText = LosslessSampleRateText(data_.sampleRate, data_.bitsPerSample);
  facts.ChannelsText = ChannelCountText(data_.channels);
  facts.EncoderText = QStringLiteral("Free Lossless Audio Codec (FLAC)");
  facts.QualityLabel = QStringLiteral("Lossless");
  facts.OwnTagName = QStringLiteral("VorbisComment");
  const VorbisCommentFields& tags = data_.tags;
  if (!tags.artist.isEmpty()) {
    facts.OwnTag =
        OwnTagTexts{tags.artist, tags.title, tags.album, tags.date, tags.genre, tags.albumArtist};
  }
  return facts;
}

bool TFLACfile::Valid() const {
  return data_.channels > 0 && data_.sampleRate > 0 && data_.duration > 0.1 &&
         data_.bitsPerSample >= 4;
}

double TFLACfile::Ratio() const {
  if (data_.duration <= 0 || data_.blocks.empty())
    return 0;
  const double pcmBytes =
      static_cast<double>(data_.samples) * data_.channels * data_.bitsPerSample / 8;
  return static_cast<double>(data_.fileSize) / pcmBytes * 100;
}

QString TFLACfile::PictureTypeName(uint32_t pictureType) {
  if (pictureType >= kPictureTypeNames.size())
    return {};
  const std::string_view name = kPictureTypeNames[pictureType];
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
