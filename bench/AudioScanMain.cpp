// velmora_audio_scan: the per-track audio analysis over the files given, on a number of worker
// threads, then the album figures; one line per track on standard output. bench/compare.sh times
// it against loudgain and ffmpeg and takes its peak memory; --pictures also saves each track's
// spectrogram as a PNG.
//
//   velmora_audio_scan [--threads N] [--pictures DIR] FILE...

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>

#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "audio/AudioAnalysis.h"
#include "audio/picture/SpectrogramPicture.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: velmora_audio_scan [--threads N] [--pictures DIR] FILE...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int threads = 1;
  QString pictures;
  QStringList files;
  for (int i = 1; i < argc; ++i) {
    const QString argument = QString::fromLocal8Bit(argv[i]);
    if (argument == QStringLiteral("--threads") && i + 1 < argc)
      threads = QString::fromLocal8Bit(argv[++i]).toInt();
    else if (argument == QStringLiteral("--pictures") && i + 1 < argc)
      pictures = QString::fromLocal8Bit(argv[++i]);
    else
      files << argument;
  }
  if (files.isEmpty() || threads < 1)
    return Usage();

  std::unique_ptr<QCoreApplication> app;
  if (pictures.isEmpty()) {
    app = std::make_unique<QCoreApplication>(argc, argv);
  } else {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  }

  std::vector<TrackAudioResult> results(static_cast<size_t>(files.size()));
  std::atomic<qsizetype> next{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&] {
      for (qsizetype i = next++; i < files.size(); i = next++)
        results[static_cast<size_t>(i)] = AnalyseTrackAudio(files[i]);
    });
  }
  for (std::thread& worker : workers)
    worker.join();

  std::vector<TrackAudio> tracks;
  int failures = 0;
  for (qsizetype i = 0; i < files.size(); ++i) {
    const TrackAudioResult& result = results[static_cast<size_t>(i)];
    const QByteArray name = QFileInfo(files[i]).fileName().toUtf8();
    if (!result.Audio) {
      std::printf("%s: %s\n", name.constData(), result.Error.toUtf8().constData());
      ++failures;
      continue;
    }
    const TrackAudio& a = *result.Audio;
    std::printf(
        "%s: DR%d peak %.2f dB rms %.2f dB loudness %.2f LUFS range %.2f LU true peak %.2f dBTP "
        "gain %.2f dB track peak %.6f cutoff %.0f Hz%s%s (%d Hz, %d bit, %d ch, %.2f s)\n",
        name.constData(), a.Dr, a.Peak, a.Rms, a.Loudness, a.LoudnessRange, a.TruePeak, a.TrackGain,
        a.TrackPeak, a.Cutoff, a.LossySource ? " lossy-source" : "",
        a.Upsampled ? " upsampled" : "", a.SampleRate, a.Bits, a.Channels, a.Duration);
    if (!pictures.isEmpty()) {
      const QString title =
          QStringLiteral("%1  —  %2 Hz, %3")
              .arg(QFileInfo(files[i]).fileName())
              .arg(a.SampleRate)
              .arg(a.Bits > 0 ? QStringLiteral("%1 bit").arg(a.Bits) : QStringLiteral("lossy"));
      DrawSpectrogram(a.Spectrum, title)
          .save(QDir(pictures).filePath(QFileInfo(files[i]).completeBaseName() +
                                        QStringLiteral(".png")),
                "PNG");
    }
    tracks.push_back(a);
  }
  const AlbumAudio album = AnalyseAlbum(tracks);
  std::printf("album: DR%d loudness %.2f LUFS gain %.2f dB peak %.6f\n", album.Dr, album.Loudness,
              album.AlbumGain, album.AlbumPeak);
  return failures == 0 ? 0 : 1;
}
