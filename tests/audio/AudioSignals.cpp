#include "AudioSignals.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace testsignals {

Pcm Sine(double seconds, double frequency, double amplitude, int rate, int channels, double phase) {
  Pcm pcm{rate, channels, {}};
  const auto frames = static_cast<int64_t>(std::llround(seconds * rate));
  pcm.Samples.reserve(static_cast<size_t>(frames * channels));
  for (int64_t i = 0; i < frames; ++i) {
    const double value =
        amplitude * std::sin(2.0 * std::numbers::pi * (frequency * i / rate + phase / 360.0));
    for (int c = 0; c < channels; ++c)
      pcm.Samples.push_back(static_cast<float>(value));
  }
  return pcm;
}

Pcm PinkNoise(double seconds, double rmsDb, uint32_t seed, int rate, int channels) {
  Pcm pcm{rate, channels, {}};
  const auto frames = static_cast<int64_t>(std::llround(seconds * rate));
  pcm.Samples.resize(static_cast<size_t>(frames * channels));
  for (int c = 0; c < channels; ++c) {
    // Paul Kellet's filter over white noise from a small LCG: 3 dB per octave to within a
    // fraction of a dB over the audio band.
    uint32_t state = seed * 7919u + static_cast<uint32_t>(c) * 104729u + 1u;
    double b0 = 0, b1 = 0, b2 = 0, b3 = 0, b4 = 0, b5 = 0, b6 = 0;
    for (int64_t i = 0; i < frames; ++i) {
      state = state * 1664525u + 1013904223u;
      const double white = (static_cast<double>(state >> 8) / 16777216.0) * 2.0 - 1.0;
      b0 = 0.99886 * b0 + white * 0.0555179;
      b1 = 0.99332 * b1 + white * 0.0750759;
      b2 = 0.96900 * b2 + white * 0.1538520;
      b3 = 0.86650 * b3 + white * 0.3104856;
      b4 = 0.55000 * b4 + white * 0.5329522;
      b5 = -0.7616 * b5 - white * 0.0168980;
      const double pink = b0 + b1 + b2 + b3 + b4 + b5 + b6 + white * 0.5362;
      b6 = white * 0.115926;
      pcm.Samples[static_cast<size_t>(i * channels + c)] = static_cast<float>(pink);
    }
  }
  double squares = 0;
  for (float x : pcm.Samples)
    squares += static_cast<double>(x) * x;
  const double gain =
      std::pow(10.0, rmsDb / 20.0) / std::sqrt(squares / static_cast<double>(pcm.Samples.size()));
  for (float& x : pcm.Samples)
    x = static_cast<float>(x * gain);
  return pcm;
}

std::vector<int16_t> ToInt16(const Pcm& pcm) {
  std::vector<int16_t> samples(pcm.Samples.size());
  std::transform(pcm.Samples.begin(), pcm.Samples.end(), samples.begin(), [](float x) {
    return static_cast<int16_t>(std::clamp(std::lround(x * 32768.0), -32768L, 32767L));
  });
  return samples;
}

bool Run(const QString& program, const QStringList& arguments, QString* output) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  const bool finished = process.waitForFinished(120000);
  if (output != nullptr)
    *output = QString::fromUtf8(process.readAll());
  return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

namespace {

QString WriteRaw(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    return {};
  return path;
}

QStringList RawInput(const QString& format, const Pcm& pcm, const QString& raw) {
  return {QStringLiteral("-v"),
          QStringLiteral("error"),
          QStringLiteral("-y"),
          QStringLiteral("-f"),
          format,
          QStringLiteral("-ar"),
          QString::number(pcm.Rate),
          QStringLiteral("-ac"),
          QString::number(pcm.Channels),
          QStringLiteral("-i"),
          raw};
}

}  // namespace

QString Folder::Write16(const QString& name, const Pcm& pcm, const QStringList& codec) {
  const std::vector<int16_t> samples = ToInt16(pcm);
  const QString raw =
      WriteRaw(Path(name + QStringLiteral(".s16")),
               QByteArray(reinterpret_cast<const char*>(samples.data()),
                          static_cast<qsizetype>(samples.size() * sizeof(int16_t))));
  const QString path = Path(name);
  if (raw.isEmpty() || !Run(QStringLiteral("ffmpeg"), RawInput(QStringLiteral("s16le"), pcm, raw) +
                                                          codec + QStringList{path}))
    return {};
  return path;
}

QString Folder::WriteFlac24(const QString& name, const Pcm& pcm) {
  std::vector<int32_t> samples(pcm.Samples.size());
  std::transform(pcm.Samples.begin(), pcm.Samples.end(), samples.begin(), [](float x) {
    return static_cast<int32_t>(std::clamp(std::lround(x * 8388608.0), -8388608L, 8388607L)) * 256;
  });
  const QString raw =
      WriteRaw(Path(name + QStringLiteral(".s32")),
               QByteArray(reinterpret_cast<const char*>(samples.data()),
                          static_cast<qsizetype>(samples.size() * sizeof(int32_t))));
  const QString path = Path(name);
  if (raw.isEmpty() ||
      !Run(QStringLiteral("ffmpeg"),
           RawInput(QStringLiteral("s32le"), pcm, raw) +
               QStringList{QStringLiteral("-sample_fmt"), QStringLiteral("s32"),
                           QStringLiteral("-bits_per_raw_sample"), QStringLiteral("24"), path}))
    return {};
  return path;
}

QString Folder::Convert(const QString& from, const QString& to, const QStringList& arguments) {
  const QString path = Path(to);
  if (!Run(QStringLiteral("ffmpeg"),
           QStringList{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                       QStringLiteral("-i"), Path(from)} +
               arguments + QStringList{path}))
    return {};
  return path;
}

FfmpegLoudness MeasureWithFfmpeg(const QStringList& inputs) {
  QStringList arguments{QStringLiteral("-nostats"), QStringLiteral("-hide_banner")};
  for (const QString& input : inputs)
    arguments << QStringLiteral("-i") << input;
  QString chain;
  for (qsizetype i = 0; i < inputs.size(); ++i)
    chain += QStringLiteral("[%1:a]").arg(i);
  arguments << QStringLiteral("-filter_complex")
            << chain + QStringLiteral("concat=n=%1:v=0:a=1,ebur128=peak=true").arg(inputs.size())
            << QStringLiteral("-f") << QStringLiteral("null") << QStringLiteral("-");
  QString output;
  FfmpegLoudness result;
  if (!Run(QStringLiteral("ffmpeg"), arguments, &output))
    return result;
  // The summary at the end: "I: -23.0 LUFS", "LRA: 5.1 LU", "Peak: -1.2 dBFS".
  const qsizetype summary = output.lastIndexOf(QStringLiteral("Summary:"));
  const QString tail = output.mid(summary);
  auto number = [&tail](const QString& pattern, bool* ok) {
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(tail);
    *ok = match.hasMatch();
    return match.captured(1).toDouble();
  };
  bool ok[3] = {};
  result.Integrated = number(QStringLiteral(R"(I:\s+(-?[0-9.]+) LUFS)"), &ok[0]);
  result.Range = number(QStringLiteral(R"(LRA:\s+(-?[0-9.]+) LU)"), &ok[1]);
  result.TruePeak = number(QStringLiteral(R"(Peak:\s+(-?[0-9.]+) dBFS)"), &ok[2]);
  result.Valid = summary >= 0 && ok[0] && ok[1] && ok[2];
  return result;
}

}  // namespace testsignals
