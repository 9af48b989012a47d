#pragma once

#include "readers/StreamReader.h"
#include "tags/APETag.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// The first genuine frame of an MPEG audio stream and its decoded header fields. The codes keep
// the values of the header bits; the reset values (1 for the version, 3 for the sample rate, 4 for
// the mode, 2 for the emphasis) are the "unknown" entries of the name tables.
struct FrameData {
  bool Found = false;
  // Offset within the search window, then (after the search) from the start of the file.
  int64_t Position = 0;
  uint16_t Size = 0;  // length of this frame in bytes
  bool XingZeroes = false;
  std::array<uint8_t, 4> HeaderBytes{};
  uint8_t VersionID = 1;       // 0 = MPEG 2.5, 1 = reserved, 2 = MPEG 2, 3 = MPEG 1
  uint8_t LayerID = 0;         // 0 = reserved, 1 = layer III, 2 = layer II, 3 = layer I
  bool ProtectionBit = false;  // a CRC follows the header
  uint16_t BitRateID = 0;
  uint16_t SampleRateID = 3;
  bool PaddingBit = false;
  bool PrivateBit = false;
  uint8_t ModeID = 4;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
  uint8_t ModeExtensionID = 4;
  bool CopyrightBit = false;
  bool OriginalBit = false;
  uint8_t EmphasisID = 2;
};

// A Xing or VBRI header inside the first frame.
struct VBRData {
  bool Found = false;
  QByteArray ID;  // "Xing" or "VBRI"
  // Both counts are unsigned 32-bit numbers in the file; kept 64-bit so that large streams stay
  // positive.
  int64_t Frames = 0;
  int64_t Bytes = 0;
  uint8_t Scale = 0;
  QByteArray VendorID;  // the 8 bytes after a Xing header, as stored; empty for VBRI
  char VendorNext = 0;  // the byte after them
};

// Reads an MPEG audio file (MPEG 1, 2 and 2.5, layers I to III): finds the first frame after
// the ID3v2 tag, its VBR header and an encoder tag, and derives bit rate, encoder and duration.
class TMPEGaudio : public StreamReader {
 public:
  TMPEGaudio() { ResetData(); }

  // False when the file cannot be opened or a read fails; true otherwise, also when no frame
  // is found (then the reader is reset and not valid).
  bool ReadFromFile(const QString& fileName) override;
  bool ReadFromStream(const FileStream& stream, const TagExtents& tags) override;
  void ResetData() override;

  // A frame was found with a bit rate of 8 to 448 kbit/s and at least 0.1 s of playing time.
  bool Valid() const override;
  int64_t FileSize() const override { return data_.fileSize; }
  // "LAME" with the 4 characters after it, or "GOGO", found by scanning; empty when none.
  const QByteArray& VendorID() const { return data_.vendorID; }
  const VBRData& VBR() const { return data_.vbr; }
  const FrameData& Frame() const { return data_.frame; }
  int64_t AudioStart() const { return data_.audioStart; }
  int64_t AudioEnd() const { return data_.audioEnd; }

  bool IsVBR() const { return data_.vbr.Found; }
  // kbit/s: the average from the VBR header when it counts frames, else the frame's table rate.
  int BitRate() const;
  int SampleRate() const override;
  QString Version() const;
  QString Layer() const;
  QString ChannelMode() const;
  // 0 Unknown, 1 Xing, 2 FhG, 3 LAME, 4 Blade, 5 GoGo, 6 Shine, 7 QDesign.
  uint8_t EncoderID() const;
  // The encoder name, with the LAME version appended when the vendor text carries one.
  QString Encoder() const;
  double Duration() const override;
  StreamFacts Describe() const override;

  const TID3v1& ID3v1() const { return id3v1_; }
  const TID3v2& ID3v2() const { return id3v2_; }
  const TAPETag& APEtag() const { return apeTag_; }

 private:
  struct Data {
    int64_t fileSize = 0;
    QByteArray vendorID;
    char vendorNext = 0;  // the byte after the vendor text
    VBRData vbr;
    FrameData frame;
    int64_t audioStart = 0;
    int64_t audioEnd = 0;
  };

  void ReadStream(const FileStream& stream, const TagExtents& tags);

  Data data_;
  TID3v1 id3v1_;
  TID3v2 id3v2_;
  TAPETag apeTag_;
};
