#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <vector>

// Test signals with known answers, written as real files by real encoders (ffmpeg, lame, flac,
// opusenc, ...) into a temporary folder.
namespace testsignals {

// Interleaved samples, full scale = 1.0.
struct Pcm {
  int Rate = 44100;
  int Channels = 2;
  std::vector<float> Samples;

  int64_t Frames() const { return static_cast<int64_t>(Samples.size()) / Channels; }
  void Append(const Pcm& other) {
    Samples.insert(Samples.end(), other.Samples.begin(), other.Samples.end());
  }
};

// A sine in every channel; amplitude linear, frequency in Hz, phase in degrees.
Pcm Sine(double seconds, double frequency, double amplitude, int rate = 44100, int channels = 2,
         double phase = 0);
// Pink noise (independent in each channel) scaled so that its true RMS is `rmsDb` dBFS.
Pcm PinkNoise(double seconds, double rmsDb, uint32_t seed, int rate = 44100, int channels = 2);
// The samples rounded to 16-bit integers, as a 16-bit file holds them.
std::vector<int16_t> ToInt16(const Pcm& pcm);

// Runs a program to its end; false (with its output in `output`) when it failed.
bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr);

class Folder {
 public:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  // A 16-bit file of the samples, in the format its name ends with (.flac, .wav ...), by ffmpeg.
  QString Write16(const QString& name, const Pcm& pcm, const QStringList& codec = {});
  // A 24-bit FLAC of the samples.
  QString WriteFlac24(const QString& name, const Pcm& pcm);
  // ffmpeg from a file of this folder to another with the given arguments in between.
  QString Convert(const QString& from, const QString& to, const QStringList& arguments);

 private:
  QTemporaryDir dir_;
};

// What ffmpeg's ebur128 filter says of a file: integrated loudness, loudness range, true peak.
struct FfmpegLoudness {
  double Integrated = 0;
  double Range = 0;
  double TruePeak = 0;
  bool Valid = false;
};
FfmpegLoudness MeasureWithFfmpeg(const QStringList& inputs);

}  // namespace testsignals
