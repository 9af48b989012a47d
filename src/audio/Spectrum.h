#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// A picture's worth of the track's spectrum: a fixed-size grid of levels whatever the length.
struct Spectrogram {
  int Columns = 0;              // time, left to right
  int Rows = 0;                 // frequency, row 0 at 0 Hz, the last row at Nyquist
  double Seconds = 0;           // the track's length
  double SecondsPerColumn = 0;  // the last column may cover less
  double Nyquist = 0;           // Hz
  // Columns × Rows levels in dB, column after column; a full-scale sine reads about 0 dB in its
  // row (each row shows the louder of its two FFT bins). Digital silence reads kFloorDb.
  std::vector<float> Values;

  static constexpr float kFloorDb = -150.0f;
  float At(int column, int row) const {
    return Values[static_cast<size_t>(column) * static_cast<size_t>(Rows) +
                  static_cast<size_t>(row)];
  }
};

// A spectrogram kept for drawing later at a quarter of the memory: the levels in whole decibels
// above the floor. A release of many tracks keeps one per track.
struct PackedSpectrogram {
  int Columns = 0;
  int Rows = 0;
  double Seconds = 0;
  double SecondsPerColumn = 0;
  double Nyquist = 0;
  std::vector<uint8_t> Levels;  // dB above Spectrogram::kFloorDb, 0 to 255

  static PackedSpectrogram Pack(const Spectrogram& spectrogram);
  Spectrogram Unpack() const;
};

struct SpectrumFindings {
  Spectrogram Picture;
  // The highest frequency that holds more than the noise floor in most of the frames with signal,
  // in Hz; 0 for digital silence.
  double Cutoff = 0;
  // How far the average level falls across the cut-off (dB, from the kilohertz below it to the
  // kilohertz above it): a lossy encoder's low-pass is a cliff, a dull recording a slope.
  double CutoffDrop = 0;
};

// The spectrum of a whole track in one pass: Hann-windowed FFT frames of 2048 samples with half
// overlap (FFmpeg's av_tx real transform) over the channels mixed to one.
//
// The spectrogram: each column averages the power of the frames that fall into it. The number of
// frames per column is chosen from the expected length so that there are up to kMaxColumns
// columns; when the track runs longer than expected, neighbouring columns are merged in pairs.
//
// The cut-off: per frame, the levels are taken in bands of 4 bins (about 86 Hz at 44.1 kHz), and
// the frame's cut-off is the top of the highest band above a threshold. The threshold sits 15 dB
// above the track's noise floor (the level that the quietest tenth of all bands stays under), but
// never below -140 dB or above -100 dB, so that full-band noise has no "floor" to speak of and
// 16-bit rounding noise (about -125 dB a bin here) stays under it. Frames whose loudest band is
// not 20 dB above the threshold (digital silence, fades) are left out; the track's cut-off is the
// median over the others.
class SpectrumAnalyser {
 public:
  static constexpr int kFrameSize = 2048;
  static constexpr int kRows = 512;
  static constexpr int kMaxColumns = 1000;

  SpectrumAnalyser(int sampleRate, double expectedSeconds);
  ~SpectrumAnalyser();
  SpectrumAnalyser(const SpectrumAnalyser&) = delete;
  SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

  // False when FFmpeg's transform could not be set up (out of memory).
  bool IsValid() const;
  void Add(const float* const* channels, int channelCount, int frames);
  SpectrumFindings Finish();

 private:
  struct State;
  std::unique_ptr<State> d_;
};
