// The decoding module: the audio analysis, the PCM decoding of the rip-log check and the
// spectrogram pictures, with FFmpeg and Qt Gui behind one exported entry point.
#include "audio/AudioAnalysis.h"
#include "audio/AudioDecoder.h"
#include "audio/AudioEngine.h"
#include "audio/picture/SpectrogramPicture.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

namespace {

QString DecodePcm16(const QString& path, const Pcm16Sink& sink, std::stop_token stop) {
  AudioDecoder decoder;
  if (!decoder.Open(path, SampleViews::FloatAndInt16))
    return decoder.Error();
  AudioBlock block;
  while (!stop.stop_requested() && decoder.Next(block))
    sink(block.Interleaved16(), block.Channels());
  return decoder.Error();
}

QCoreApplication* NewPictureApplication(int& argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  return new QGuiApplication(argc, argv);
}

bool SaveSpectrogram(const Spectrogram& spectrogram, const QString& title, const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  return DrawSpectrogram(spectrogram, title).save(path, "PNG");
}

TrackAudioResult AnalyseTrack(const QString& path, const Pcm16Sink* pcm16, std::stop_token stop) {
  return AnalyseTrackAudio(path, std::move(stop), pcm16);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const AudioEngine* VelmoraAudioEngine() {
  static const AudioEngine engine{&AnalyseTrack, &AnalyseAlbum, &DecodePcm16,
                                  &NewPictureApplication, &SaveSpectrogram};
  return &engine;
}
