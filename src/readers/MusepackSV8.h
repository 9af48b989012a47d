#pragma once

#include <QString>
#include <cstdint>

class FileStream;

// The stream facts of a Musepack SV8 file ("MPCK" and a chain of packets): what its stream header,
// replay gain and encoder info packets say, and how many bytes its audio packets take.
struct MusepackSV8Header {
  // A stream header packet of stream version 8 was read whole and its checksum matched.
  bool Found = false;
  int StreamVersion = 0;
  int64_t SampleCount = 0;  // per channel, including the beginning silence; 0 when unknown
  int64_t BeginningSilence = 0;
  int SampleRate = 0;  // 0 for a rate index the format does not define
  int Channels = 0;
  bool MidSideStereo = false;
  int AudioBlockFrames = 0;  // frames per audio packet
  int MaxUsedBands = 0;
  // From the encoder info packet: "1.30.1" and the quality setting (mpcenc writes its --quality
  // plus 5, the number SV7 gave its profiles); empty and 0 without the packet.
  QString EncoderVersion;
  double Profile = 0;
  bool Pns = false;
  // A replay gain packet with a gain or peak set (encoders write one of zeros until the gain is
  // measured), and its values as stored.
  bool HasReplayGain = false;
  int16_t TitleGain = 0;
  uint16_t TitlePeak = 0;
  int16_t AlbumGain = 0;
  uint16_t AlbumPeak = 0;
  int64_t AudioStart = 0;  // file offset of the first audio packet; 0 without one
  int64_t AudioBytes = 0;  // from the first audio packet to the stream end packet (or `end`)

  // Seconds of the samples after the beginning silence; 0 without a rate.
  double Duration() const;
  // The channel words of TMPEGplus::ChannelMode: "Joint Stereo" with mid-side coding, "Stereo"
  // for two channels without, "Mono" for one, "Unknown" for any other count.
  QString ChannelMode() const;
};

// Reads the SV8 stream whose "MPCK" is at `start`, never past `end` (where the tags at the end of
// the file begin). Stops at the first audio packet, a packet key that is not two capital letters,
// or a size that cannot be right. False when there is no "MPCK" at `start`: the file is no SV8
// stream and the header is left reset; true otherwise, with header.Found telling whether the
// stream header was read.
bool ReadMusepackSV8(const FileStream& stream, int64_t start, int64_t end,
                     MusepackSV8Header& header);
