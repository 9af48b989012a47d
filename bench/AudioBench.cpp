// Throughput of the per-track audio analysis (decode, DR, loudness, true peak, spectrum) on a
// 30-second 44.1 kHz stereo 16-bit FLAC made with ffmpeg, in seconds of audio per second.

#include <benchmark/benchmark.h>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "audio/AudioAnalysis.h"

namespace {

constexpr int kSeconds = 30;

// Pink noise in both channels (different in each), with a slow swell so that the loudness range
// and the DR blocks have something to measure, and a tone on top.
class NoiseTrack {
 public:
  NoiseTrack() {
    path_ = dir_.filePath(QStringLiteral("track.flac"));
    const QString seconds = QString::number(kSeconds);
    const QString graph =
        QStringLiteral(
            "anoisesrc=color=pink:amplitude=0.4:duration=%1:seed=1[a];"
            "anoisesrc=color=pink:amplitude=0.4:duration=%1:seed=2[b];"
            "sine=frequency=330:duration=%1[c];"
            "[a][b]join=inputs=2:channel_layout=stereo[n];[c]aformat=channel_layouts=stereo[t];"
            "[n][t]amix=inputs=2,volume='0.6+0.35*sin(2*PI*t/7)':eval=frame")
            .arg(seconds);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"),
                  QStringLiteral("-filter_complex"), graph, QStringLiteral("-ar"),
                  QStringLiteral("44100"), QStringLiteral("-sample_fmt"), QStringLiteral("s16"),
                  QStringLiteral("-c:a"), QStringLiteral("flac"), path_});
    made_ = ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
            ffmpeg.exitCode() == 0;
  }
  bool Made() const { return made_; }
  const QString& Path() const { return path_; }

 private:
  QTemporaryDir dir_;
  QString path_;
  bool made_ = false;
};

const NoiseTrack& Track() {
  static const NoiseTrack track;
  return track;
}

void BM_AnalyseTrackAudio(benchmark::State& state) {
  if (!Track().Made()) {
    state.SkipWithError("ffmpeg could not make the test track");
    return;
  }
  for (auto _ : state) {
    const TrackAudioResult result = AnalyseTrackAudio(Track().Path());
    if (!result.Audio) {
      state.SkipWithError(result.Error.toUtf8().constData());
      return;
    }
    benchmark::DoNotOptimize(result.Audio->Loudness);
  }
  state.counters["audio_seconds_per_second"] = benchmark::Counter(
      static_cast<double>(kSeconds), benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(state.iterations() * int64_t{kSeconds} * 44100 * 2 * 2);
}
BENCHMARK(BM_AnalyseTrackAudio)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
