#pragma once

#include "audio/AudioAnalysis.h"
#include "audio/Spectrum.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <stop_token>

class QCoreApplication;

// The audio analysis as the programs reach it. Decoding needs FFmpeg, whose libraries take tens
// of milliseconds to load: more than velmora-cli takes for a whole album of tags. So the decoding
// lives in a module of its own (libvelmora-audio.so), loaded the first time the audio pass or the
// rip-log check runs, and its entry points are these.

struct AudioEngine {
  // The analysis of one track; with a sink, its 16-bit samples too (see AnalyseTrackAudio).
  TrackAudioResult (*AnalyseTrack)(const QString& path, const Pcm16Sink* pcm16,
                                   std::stop_token stop);
  AlbumAudio (*AnalyseAlbum)(std::span<const TrackAudio> tracks);
  // Decodes a track to 16-bit samples (the rip-log check); why it failed, empty when it did not.
  QString (*DecodePcm16)(const QString& path, const Pcm16Sink& sink, std::stop_token stop);
  // An offscreen QGuiApplication, for a program without a window that still draws pictures.
  QCoreApplication* (*NewPictureApplication)(int& argc, char** argv);
  // Draws the spectrogram with its title and saves it as PNG; false when it cannot be written.
  bool (*SaveSpectrogram)(const Spectrogram& spectrogram, const QString& title,
                          const QString& path);
};

// The engine, loaded on first use and kept for the whole run: from $VELMORA_AUDIO_MODULE when
// set, else beside the executable, else from the installed library folder. Nothing, with the
// reason, when the module cannot be loaded.
const AudioEngine* LoadAudioEngine(QString* error = nullptr);

// The module's one exported symbol.
inline constexpr char kAudioEngineSymbol[] = "VelmoraAudioEngine";
