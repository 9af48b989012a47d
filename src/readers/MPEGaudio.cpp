#include "readers/MPEGaudio.h"

#include "platform/ByteView.h"
#include "platform/FileStream.h"
#include "readers/KbpsRounding.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string_view>

namespace {

// The stream is searched in blocks of this size; 1728 bytes is the longest frame the search
// expects, so every candidate position leaves room to confirm the next header.
constexpr int kFrameWindow = 3458;
constexpr int kLongestFrame = 1728;
constexpr int kLastCandidate = kFrameWindow - kLongestFrame - 1;
constexpr int kHeaderLength = 4;
constexpr int kVendorScanStart = kFrameWindow - 8;
constexpr int kID3v1Length = 128;

constexpr uint8_t kReservedVersion = 1;
constexpr uint8_t kMpeg1 = 3;
constexpr uint8_t kReservedLayer = 0;
constexpr uint8_t kLayer2 = 2;
constexpr uint8_t kLayer1 = 3;
constexpr uint8_t kStereo = 0;
constexpr uint8_t kDualChannel = 2;
constexpr uint8_t kMono = 3;
constexpr uint8_t kReservedEmphasis = 2;

constexpr uint8_t kUnknownEncoder = 0;
constexpr uint8_t kXing = 1;
constexpr uint8_t kFhG = 2;
constexpr uint8_t kLame = 3;
constexpr uint8_t kBlade = 4;
constexpr uint8_t kGoGo = 5;
constexpr uint8_t kShine = 6;
constexpr uint8_t kQDesign = 7;

constexpr std::array<std::string_view, 4> kVersionNames = {"MPEG 2.5", "MPEG ?", "MPEG 2",
                                                           "MPEG 1"};
constexpr std::array<std::string_view, 4> kLayerNames = {"Layer ?", "Layer III", "Layer II",
                                                         "Layer I"};
constexpr std::array<std::string_view, 5> kChannelModeNames = {"Stereo", "Joint Stereo",
                                                               "Dual Channel", "Mono", "Unknown"};
constexpr std::array<std::string_view, 8> kEncoderNames = {"Unknown", "Xing", "FhG",   "LAME",
                                                           "Blade",   "GoGo", "Shine", "QDesign"};

// Hz by VersionID (MPEG 2.5, reserved, MPEG 2, MPEG 1) and SampleRateID.
constexpr int kSampleRates[4][4] = {
    {11025, 12000, 8000, 0}, {0, 0, 0, 0}, {22050, 24000, 16000, 0}, {44100, 48000, 32000, 0}};

using BitRateRow = std::array<int, 16>;
constexpr BitRateRow kNoBitRates{};
constexpr BitRateRow kMpeg1Layer1 = {0,   32,  64,  96,  128, 160, 192, 224,
                                     256, 288, 320, 352, 384, 416, 448, 0};
constexpr BitRateRow kMpeg1Layer2 = {0,   32,  48,  56,  64,  80,  96,  112,
                                     128, 160, 192, 224, 256, 320, 384, 0};
constexpr BitRateRow kMpeg1Layer3 = {0,   32,  40,  48,  56,  64,  80,  96,
                                     112, 128, 160, 192, 224, 256, 320, 0};
// MPEG 2 and 2.5 (low sampling frequencies); layers II and III share one row.
constexpr BitRateRow kLowRateLayer1 = {0,   32,  48,  56,  64,  80,  96,  112,
                                       128, 144, 160, 176, 192, 224, 256, 0};
constexpr BitRateRow kLowRateLayers2And3 = {0,  8,  16, 24,  32,  40,  48,  56,
                                            64, 80, 96, 112, 128, 144, 160, 0};

// kbit/s by VersionID and LayerID (reserved, III, II, I).
constexpr std::array<std::array<const BitRateRow*, 4>, 4> kBitRates = {{
    {&kNoBitRates, &kLowRateLayers2And3, &kLowRateLayers2And3, &kLowRateLayer1},
    {&kNoBitRates, &kNoBitRates, &kNoBitRates, &kNoBitRates},
    {&kNoBitRates, &kLowRateLayers2And3, &kLowRateLayers2And3, &kLowRateLayer1},
    {&kNoBitRates, &kMpeg1Layer3, &kMpeg1Layer2, &kMpeg1Layer1},
}};

QString Name(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

int TableBitRate(const FrameData& frame) {
  return (*kBitRates[frame.VersionID & 3][frame.LayerID & 3])[frame.BitRateID & 15];
}

int TableSampleRate(const FrameData& frame) {
  return kSampleRates[frame.VersionID & 3][frame.SampleRateID & 3];
}

// Bytes per frame for each kbit/s per sample rate: one eighth of the samples in a frame.
int Coefficient(const FrameData& frame) {
  if (frame.LayerID == kReservedLayer)
    return 0;
  if (frame.VersionID == kMpeg1)
    return frame.LayerID == kLayer1 ? 48 : 144;
  if (frame.LayerID == kLayer1)
    return 24;
  return frame.LayerID == kLayer2 ? 144 : 72;
}

int PaddingBytes(const FrameData& frame) {
  if (!frame.PaddingBit)
    return 0;
  return frame.LayerID == kLayer1 ? 4 : 1;
}

int FrameLength(const FrameData& frame) {
  const int sampleRate = TableSampleRate(frame);
  if (sampleRate == 0)
    return 0;
  return Coefficient(frame) * TableBitRate(frame) * 1000 / sampleRate + PaddingBytes(frame);
}

FrameData DecodeHeader(QByteArrayView window, int64_t position) {
  FrameData frame;
  for (int i = 0; i < kHeaderLength; ++i)
    frame.HeaderBytes[i] = bytes::U8(window, position + i);
  const uint8_t b1 = frame.HeaderBytes[1];
  const uint8_t b2 = frame.HeaderBytes[2];
  const uint8_t b3 = frame.HeaderBytes[3];
  frame.VersionID = (b1 >> 3) & 3;
  frame.LayerID = (b1 >> 1) & 3;
  frame.ProtectionBit = (b1 & 1) == 0;
  frame.BitRateID = b2 >> 4;
  frame.SampleRateID = (b2 >> 2) & 3;
  frame.PaddingBit = (b2 & 2) != 0;
  frame.PrivateBit = (b2 & 1) != 0;
  frame.ModeID = b3 >> 6;
  frame.ModeExtensionID = (b3 >> 4) & 3;
  frame.CopyrightBit = (b3 & 8) != 0;
  frame.OriginalBit = (b3 & 4) != 0;
  frame.EmphasisID = b3 & 3;
  return frame;
}

// Free-format streams (bit-rate index 0) are not recognised.
bool IsFrameHeader(QByteArrayView window, int64_t position) {
  if (bytes::U8(window, position) != 0xFF || (bytes::U8(window, position + 1) & 0xE0) != 0xE0) {
    return false;
  }
  const FrameData frame = DecodeHeader(window, position);
  return frame.VersionID != kReservedVersion && frame.LayerID != kReservedLayer &&
         frame.BitRateID != 0 && frame.BitRateID != 15 && frame.SampleRateID != 3 &&
         frame.EmphasisID != kReservedEmphasis;
}

// Where a Xing or VBRI header stands after the frame header: behind the side information,
// whose size depends on the version and on mono; the CRC does not move it.
int VBRHeaderOffset(const FrameData& frame) {
  const bool mono = frame.ModeID == kMono;
  if (frame.VersionID == kMpeg1)
    return mono ? 21 : 36;
  return mono ? 13 : 21;
}

// The frame and byte counts stand at fixed places; a Xing flags word is not consulted.
void ReadVBRHeader(QByteArrayView window, int64_t position, VBRData& vbr) {
  if (bytes::Matches(window, position, "Xing")) {
    vbr.Found = true;
    vbr.ID = QByteArray("Xing");
    vbr.Frames = bytes::BE32(window, position + 8);
    vbr.Bytes = bytes::BE32(window, position + 12);
    vbr.Scale = bytes::U8(window, position + 119);
    vbr.VendorID = window.sliced(position + 120, 8).toByteArray();
    vbr.VendorNext = static_cast<char>(bytes::U8(window, position + 128));
  } else if (bytes::Matches(window, position, "VBRI")) {
    vbr.Found = true;
    vbr.ID = QByteArray("VBRI");
    vbr.Scale = bytes::U8(window, position + 9);
    vbr.Bytes = bytes::BE32(window, position + 10);
    vbr.Frames = bytes::BE32(window, position + 14);
    vbr.VendorID.clear();
  }
}

bool AllZero(QByteArrayView bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

// A header counts as the first frame only when another header follows at the distance its
// length gives; a lone header-like pattern in garbage is skipped. The VBR data is left as it
// was when no frame is accepted.
FrameData FindFrame(QByteArrayView window, VBRData& vbr) {
  for (int position = 0; position <= kLastCandidate; ++position) {
    if (!IsFrameHeader(window, position))
      continue;
    FrameData frame = DecodeHeader(window, position);
    const int length = FrameLength(frame);
    if (position + length + kHeaderLength > kFrameWindow ||
        !IsFrameHeader(window, position + length)) {
      continue;
    }
    frame.Found = true;
    frame.Position = position;
    frame.Size = static_cast<uint16_t>(length);
    frame.XingZeroes = AllZero(window.sliced(position + kHeaderLength, 6));
    ReadVBRHeader(window, position + VBRHeaderOffset(frame), vbr);
    return frame;
  }
  return FrameData();
}

// Scans backwards from the end of the window over at most limit + 1 positions for "LAME" with
// its four version characters, or "GOGO". The scan runs over thousands of positions for every
// file, so the first letter is tested before a whole word is compared.
// The vendor text and the byte after it: the four version characters of "LAME3.100" leave its
// last digit outside the eight bytes.
QByteArray FindVendorID(QByteArrayView window, int limit, char* next = nullptr) {
  const int last = std::min(limit, kVendorScanStart);
  for (int i = 0; i <= last; ++i) {
    const int position = kVendorScanStart - i;
    const uint8_t first = bytes::U8(window, position);
    if (first == 'L' && bytes::Matches(window, position, "LAME")) {
      if (next)
        *next = static_cast<char>(bytes::U8(window, position + 8));
      return window.sliced(position, 8).toByteArray();
    }
    if (first == 'G' && bytes::Matches(window, position, "GOGO"))
      return QByteArray("GOGO");
  }
  return {};
}

// One window of the file; bytes past the end of the file read as zero, never as what an
// earlier window held there.
QByteArray ReadWindow(const FileStream& stream, int64_t offset, int64_t& bytesRead) {
  QByteArray window(kFrameWindow, '\0');
  bytesRead = stream.ReadAt(offset, window.data(), window.size());
  return window;
}

QByteArrayView Prefix(const QByteArray& text) {
  return QByteArrayView(text).first(std::min<qsizetype>(4, text.size()));
}

uint8_t VBREncoderID(const VBRData& vbr, const QByteArray& vendorID) {
  uint8_t id = kUnknownEncoder;
  const QByteArrayView vbrVendor = Prefix(vbr.VendorID);
  if (vbrVendor == "LAME")
    id = kLame;
  if (vbrVendor == "GOGO" || vbrVendor == "MPGE")
    id = kGoGo;
  if (vbr.ID == "Xing" && vbrVendor != "LAME" && vbrVendor != "GOGO" && vbrVendor != "MPGE") {
    id = kXing;
  }
  if (vbr.ID == "VBRI")
    id = kFhG;
  if (Prefix(vendorID) == "LAME")
    id = kLame;
  return id;
}

// Guesses from header bits that particular encoders set; later rules override earlier ones.
uint8_t CBREncoderID(const FrameData& frame, const QByteArray& vendorID) {
  uint8_t id = kFhG;
  if (frame.OriginalBit && frame.ProtectionBit)
    id = kLame;
  if (TableBitRate(frame) <= 160 && frame.ModeID == kStereo)
    id = kBlade;
  if (frame.CopyrightBit && frame.OriginalBit && !frame.ProtectionBit)
    id = kXing;
  if (frame.XingZeroes && frame.OriginalBit)
    id = kXing;
  if (frame.LayerID == kLayer2)
    id = kQDesign;
  if (frame.ModeID == kDualChannel && frame.ProtectionBit)
    id = kShine;
  if (Prefix(vendorID) == "LAME")
    id = kLame;
  if (Prefix(vendorID) == "GOGO")
    id = kGoGo;
  return id;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "LAME3.97" carries a version "3.97"; "LAME3.9x" does not.
bool HasLameVersion(const QByteArray& text) {
  return text.size() >= 8 && IsDigit(text[4]) && text[5] == '.' && IsDigit(text[6]) &&
         IsDigit(text[7]);
}

}  // namespace

void TMPEGaudio::ResetData() {
  data_ = Data();
  id3v1_.ResetData();
  id3v2_.ResetData();
  apeTag_.ResetData();
}

bool TMPEGaudio::ReadFromFile(const QString& fileName) {
  ResetData();
  bool result = false;
  try {
    // The tags are read through the same stream: one open per file is all the reading needs.
    const FileStream stream(fileName);
    result = true;
    if (id3v2_.ReadFromStream(stream) && id3v1_.ReadFromStream(stream)) {
      TagExtents tags;
      tags.Id3v2Size = id3v2_.Size();
      tags.Id3v1Exists = id3v1_.Exists();
      tags.Id3v1TotalSize = id3v1_.TotalSize();
      ReadStream(stream, tags);
    }
  } catch (const std::exception&) {
    result = false;
  }
  if (!data_.frame.Found)
    ResetData();
  return result;
}

bool TMPEGaudio::ReadFromStream(const FileStream& stream, const TagExtents& tags) {
  ResetData();
  bool result = true;
  try {
    ReadStream(stream, tags);
  } catch (const std::exception&) {
    result = false;
  }
  if (!data_.frame.Found)
    ResetData();
  return result;
}

void TMPEGaudio::ReadStream(const FileStream& stream, const TagExtents& tags) {
  data_.fileSize = stream.Size();

  int64_t windowStart = tags.Id3v2Size;
  int64_t bytesRead = 0;
  QByteArray window = ReadWindow(stream, windowStart, bytesRead);
  data_.frame = FindFrame(window, data_.vbr);
  data_.vendorID = FindVendorID(window, data_.frame.Size * 5, &data_.vendorNext);
  // Frames that straddle two windows are not seen; as frames repeat, a later one is found.
  while (!data_.frame.Found && bytesRead == kFrameWindow) {
    windowStart += kFrameWindow;
    window = ReadWindow(stream, windowStart, bytesRead);
    data_.frame = FindFrame(window, data_.vbr);
  }
  if (!data_.frame.Found)
    return;

  data_.frame.Position += windowStart;
  data_.audioStart = data_.frame.Position;
  data_.audioEnd = data_.fileSize - tags.Id3v1TotalSize;
  if (data_.vendorID.isEmpty()) {
    // Encoders that write no VBR header may leave their tag near the end of the stream.
    const int64_t endWindowStart =
        data_.fileSize - kFrameWindow - (tags.Id3v1Exists ? kID3v1Length : 0);
    if (endWindowStart >= 0) {
      window = ReadWindow(stream, endWindowStart, bytesRead);
      data_.vendorID = FindVendorID(window, data_.frame.Size * 5, &data_.vendorNext);
    }
  }
}

bool TMPEGaudio::Valid() const {
  const int bitRate = BitRate();
  return data_.frame.Found && bitRate >= 8 && bitRate <= 448 && Duration() >= 0.1;
}

int TMPEGaudio::BitRate() const {
  const FrameData& frame = data_.frame;
  const VBRData& vbr = data_.vbr;
  if (!vbr.Found || vbr.Frames <= 0)
    return TableBitRate(frame);
  const int coefficient = Coefficient(frame);
  if (coefficient == 0)
    return 0;
  // A byte count below the padding of the frames is damaged; it gives no bit rate, not a negative
  // one (the stream is then not valid either way).
  const double bytesPerFrame =
      std::max(0.0, static_cast<double>(vbr.Bytes) / vbr.Frames - PaddingBytes(frame));
  return RoundKbps(bytesPerFrame * SampleRate() / coefficient / 1000);
}

int TMPEGaudio::SampleRate() const {
  return TableSampleRate(data_.frame);
}

QString TMPEGaudio::Version() const {
  return Name(kVersionNames[data_.frame.VersionID & 3]);
}

QString TMPEGaudio::Layer() const {
  return Name(kLayerNames[data_.frame.LayerID & 3]);
}

QString TMPEGaudio::ChannelMode() const {
  return Name(
      kChannelModeNames[std::min<size_t>(data_.frame.ModeID, kChannelModeNames.size() - 1)]);
}

uint8_t TMPEGaudio::EncoderID() const {
  if (!data_.frame.Found)
    return kUnknownEncoder;
  if (data_.vbr.Found)
    return VBREncoderID(data_.vbr, data_.vendorID);
  return CBREncoderID(data_.frame, data_.vendorID);
}

QString TMPEGaudio::Encoder() const {
  const uint8_t id = EncoderID();
  QString name = Name(kEncoderNames[std::min<size_t>(id, kEncoderNames.size() - 1)]);
  const bool own = !data_.vendorID.isEmpty();
  const QByteArray& versionText = own ? data_.vendorID : data_.vbr.VendorID;
  if (id == kLame && HasLameVersion(versionText)) {
    name += QLatin1Char(' ') + QString::fromLatin1(versionText.mid(4, 4));
    // "LAME3.100": a digit right after the four characters belongs to the version.
    const char next = own ? data_.vendorNext : data_.vbr.VendorNext;
    if (IsDigit(next))
      name += QLatin1Char(next);
  }
  return name;
}

double TMPEGaudio::Duration() const {
  const FrameData& frame = data_.frame;
  if (!frame.Found)
    return 0;
  if (data_.vbr.Found && data_.vbr.Frames > 0) {
    const int sampleRate = SampleRate();
    if (sampleRate == 0)
      return 0;
    const int64_t samples = static_cast<int64_t>(Coefficient(frame)) * data_.vbr.Frames * 8;
    return static_cast<double>(samples) / sampleRate;
  }
  const int bitRate = BitRate();
  if (bitRate <= 0)
    return 0;
  return static_cast<double>(data_.audioEnd - data_.audioStart) / bitRate / 1000 * 8;
}

StreamFacts TMPEGaudio::Describe() const {
  StreamFacts facts;
  QString version = Version();
  version.replace(QStringLiteral("MPEG "), QStringLiteral("MPEG-"));
  facts.Codec = version + QLatin1Char(' ') + Layer();
  facts.Channels = data_.frame.ModeID == 3 ? 1 : 2;
  facts.BitRate = BitRate();
  facts.BitratePrefix = IsVBR() ? QStringLiteral("VBR ") : QStringLiteral("CBR ");
  facts.RoundsSeconds = true;
  facts.VersionText = Version() + QLatin1Char(' ') + Layer();
  facts.SampleRateText = QString::number(SampleRate()) + QStringLiteral(" hz");
  facts.ChannelsText = ChannelMode();
  facts.EncoderText = Encoder();
  facts.Quality = StreamFacts::QualityRule::MpegLadder;
  return facts;
}
