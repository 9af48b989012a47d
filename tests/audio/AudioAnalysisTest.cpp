#include <gtest/gtest.h>

#include <QFile>

#include <ebur128.h>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <stop_token>
#include <string_view>
#include <thread>

#include "AudioSignals.h"
#include "audio/AudioAnalysis.h"
#include "audio/TruePeak.h"
#include "support/TestSupport.h"

namespace {

using testsignals::Pcm;

double Db(double linear) {
  return 20.0 * std::log10(linear);
}

TrackAudio Analyse(const QString& path) {
  EXPECT_FALSE(path.isEmpty()) << "the fixture could not be made";
  TrackAudioResult result = AnalyseTrackAudio(path);
  EXPECT_TRUE(result.Audio.has_value()) << result.Error.toStdString();
  return result.Audio.value_or(TrackAudio{});
}

// The DR meter's RMS of the samples as a 16-bit file holds them: sqrt(2 × mean square).
double MeterRmsDb(const Pcm& pcm) {
  double squares = 0;
  for (int16_t x : testsignals::ToInt16(pcm))
    squares += (x / 32768.0) * (x / 32768.0);
  return Db(std::sqrt(2.0 * squares / static_cast<double>(pcm.Samples.size())));
}

TEST(AudioAnalysisTest, FullScaleSineReadsZeroDecibelsEverywhere) {
  testsignals::Folder folder;
  const Pcm sine = testsignals::Sine(10.0, 1000.0, 32767.0 / 32768.0);
  const TrackAudio audio = Analyse(folder.Write16(QStringLiteral("sine.flac"), sine));

  EXPECT_EQ(audio.SampleRate, 44100);
  EXPECT_EQ(audio.Channels, 2);
  EXPECT_EQ(audio.Bits, 16);
  EXPECT_EQ(audio.Frames, 441000);
  EXPECT_DOUBLE_EQ(audio.Duration, 10.0);
  EXPECT_NEAR(audio.Peak, 0.0, 0.01);
  EXPECT_NEAR(audio.Rms, 0.0, 0.01);
  EXPECT_EQ(audio.Dr, 0);
  // BS.1770: a full-scale 1 kHz sine reads -3.01 LUFS in one channel, 0 in two.
  EXPECT_NEAR(audio.Loudness, 0.0, 0.05);
  EXPECT_NEAR(audio.LoudnessRange, 0.0, 0.05);
  EXPECT_NEAR(audio.TruePeak, 0.0, 0.05);
  EXPECT_NEAR(audio.TrackGain, -18.0, 0.05);
  EXPECT_NEAR(audio.TrackPeak, 1.0, 0.006);
  EXPECT_FALSE(audio.LossySource);
  EXPECT_FALSE(audio.Upsampled);
  EXPECT_EQ(audio.DecodeErrors, 0);

  // The picture: the tone's row near 0 dB, the rows far above it empty.
  const Spectrogram& picture = audio.Spectrum;
  EXPECT_EQ(picture.Rows, 512);
  EXPECT_GT(picture.Columns, 400);
  EXPECT_LE(picture.Columns, 1000);
  EXPECT_EQ(picture.Values.size(), static_cast<size_t>(picture.Columns) * 512);
  EXPECT_DOUBLE_EQ(picture.Nyquist, 22050.0);
  EXPECT_DOUBLE_EQ(picture.Seconds, 10.0);
  const int toneRow = static_cast<int>(std::lround(1000.0 / 22050.0 * 511));
  const int middle = picture.Columns / 2;
  EXPECT_NEAR(std::max(picture.At(middle, toneRow), picture.At(middle, toneRow + 1)), 0.0, 1.5);
  EXPECT_LT(picture.At(middle, 400), -90.0f);
}

// Per channel: ten 3-second blocks of a 1 kHz sine, each with one click, then a loud 1.5-second
// tail, which the DR meter counts as a block of its own.
//   left:  block RMS 0.1 0.1 0.05 ...; tail 0.2 with a click of 0.95. Loudest 20 % of 11 blocks
//          = 2: the tail and a 0.1 block, RMS20 = sqrt((0.2² + 0.1²) / 2); P2 = 0.9 (the click
//          of block 2; the tail's 0.95 is the highest). DR = 20·log10(0.9 / 0.1581) = 15.11.
//          Without the tail it would be 20·log10(0.8 / 0.1) = 18.06.
//   right: RMS20 = sqrt((0.25² + 0.2²) / 2) = 0.2264, P2 = 0.5: DR 6.88.
// The track's DR: round((15.11 + 6.88) / 2) = 11.
TEST(AudioAnalysisTest, BlockStructureGivesTheDrItWasBuiltFor) {
  struct Block {
    double seconds, left, leftClick, right, rightClick;
  };
  const Block blocks[] = {
      {3, 0.10, 0.50, 0.25, 0.40}, {3, 0.10, 0.90, 0.20, 0.60},   {3, 0.05, 0.30, 0.10, 0.50},
      {3, 0.05, 0.80, 0.10, 0.30}, {3, 0.05, 0.20, 0.05, 0.30},   {3, 0.02, 0.10, 0.05, 0.20},
      {3, 0.02, 0.10, 0.05, 0.20}, {3, 0.02, 0.10, 0.05, 0.20},   {3, 0.02, 0.10, 0.05, 0.20},
      {3, 0.02, 0.10, 0.05, 0.20}, {1.5, 0.20, 0.95, 0.01, 0.00},
  };
  Pcm pcm{44100, 2, {}};
  for (const Block& block : blocks) {
    Pcm left = testsignals::Sine(block.seconds, 1000.0, block.left, 44100, 1);
    Pcm right = testsignals::Sine(block.seconds, 1000.0, block.right, 44100, 1);
    const size_t middle = left.Samples.size() / 2 + 3;
    left.Samples[middle] = static_cast<float>(block.leftClick);
    if (block.rightClick > 0)
      right.Samples[middle] = static_cast<float>(block.rightClick);
    for (size_t i = 0; i < left.Samples.size(); ++i)
      pcm.Samples.insert(pcm.Samples.end(), {left.Samples[i], right.Samples[i]});
  }
  testsignals::Folder folder;
  const TrackAudio audio = Analyse(folder.Write16(QStringLiteral("blocks.flac"), pcm));

  EXPECT_EQ(audio.Dr, 11);
  EXPECT_NEAR(audio.Peak, Db(0.95), 0.01);
  EXPECT_NEAR(audio.Rms, MeterRmsDb(pcm), 0.01);
  EXPECT_NEAR(audio.Duration, 31.5, 1e-9);

  // Two tracks at once on two threads give what each gives alone.
  TrackAudioResult again;
  std::thread other([&] { again = AnalyseTrackAudio(folder.Path(QStringLiteral("blocks.flac"))); });
  const TrackAudio alone = Analyse(folder.Path(QStringLiteral("blocks.flac")));
  other.join();
  ASSERT_TRUE(again.Audio.has_value());
  EXPECT_EQ(again.Audio->Dr, alone.Dr);
  EXPECT_DOUBLE_EQ(again.Audio->Loudness, alone.Loudness);
  EXPECT_DOUBLE_EQ(again.Audio->TruePeak, alone.TruePeak);
  EXPECT_EQ(again.Audio->Spectrum.Values, alone.Spectrum.Values);
}

// Pink noise 12 dB quieter in its second half: the loudness range is the step, and its
// percentiles fall inside the two halves whatever the meters' short-term sampling (ffmpeg takes the
// short-term loudness every 0.1 s, libebur128 every second).
TEST(AudioAnalysisTest, LoudnessRangeAndTruePeakAgreeWithFfmpeg) {
  Pcm pcm = testsignals::PinkNoise(20.0, -18, 1);
  pcm.Append(testsignals::PinkNoise(20.0, -30, 2));

  testsignals::Folder folder;
  const QString path = folder.Write16(QStringLiteral("step.flac"), pcm);
  const TrackAudio audio = Analyse(path);
  const testsignals::FfmpegLoudness ffmpeg = testsignals::MeasureWithFfmpeg({path});
  ASSERT_TRUE(ffmpeg.Valid);

  // ffmpeg prints one decimal: 0.1 apart is one step of its figure.
  constexpr double kWithin = 0.1 + 1e-9;
  EXPECT_NEAR(audio.Loudness, ffmpeg.Integrated, kWithin);
  EXPECT_NEAR(audio.LoudnessRange, ffmpeg.Range, kWithin);
  EXPECT_NEAR(audio.LoudnessRange, 12.0, 0.5);
  EXPECT_NEAR(audio.TruePeak, ffmpeg.TruePeak, kWithin);
  EXPECT_GE(audio.TruePeak, audio.Peak);
  EXPECT_NEAR(audio.TrackGain, -18.0 - audio.Loudness, 1e-9);
  EXPECT_NEAR(audio.TrackPeak, std::pow(10.0, audio.TruePeak / 20.0), 1e-9);
}

// libebur128's own true-peak mode, on signals in memory.
TEST(AudioAnalysisTest, TruePeakAgreesWithLibebur128) {
  std::vector<std::pair<const char*, Pcm>> cases;
  cases.emplace_back("997 Hz sine", testsignals::Sine(3.0, 997.0, 0.9, 44100, 1));
  cases.emplace_back("pink noise", testsignals::PinkNoise(5.0, -12, 3, 44100, 1));
  // An eighth of the rate, every sample 22.5° off a crest: the true peak lies 0.69 dB above the
  // highest sample.
  cases.emplace_back("crests between samples", testsignals::Sine(2.0, 6000.0, 0.9, 48000, 1, 22.5));
  Pcm clipped = testsignals::Sine(2.0, 1000.0, 1.5, 44100, 1);
  for (float& x : clipped.Samples)
    x = std::clamp(x, -0.8f, 0.8f);
  cases.emplace_back("clipped 1 kHz sine", clipped);
  Pcm chord = testsignals::Sine(2.0, 5000.0, 0.45, 44100, 1);
  const Pcm low = testsignals::Sine(2.0, 1234.0, 0.4, 44100, 1);
  for (size_t i = 0; i < chord.Samples.size(); ++i)
    chord.Samples[i] += low.Samples[i];
  cases.emplace_back("5 kHz + 1234 Hz", chord);

  for (const auto& [name, pcm] : cases) {
    ebur128_state* state =
        ebur128_init(1, static_cast<unsigned long>(pcm.Rate), EBUR128_MODE_TRUE_PEAK);
    ASSERT_NE(state, nullptr);
    ebur128_add_frames_float(state, pcm.Samples.data(), pcm.Samples.size());
    double reference = 0;
    ASSERT_EQ(ebur128_true_peak(state, 0, &reference), EBUR128_SUCCESS);
    ebur128_destroy(&state);

    TruePeakMeter meter(1);
    // In uneven pieces, as a decoder hands them over.
    for (size_t at = 0; at < pcm.Samples.size(); at += 1153) {
      const int count = static_cast<int>(std::min<size_t>(1153, pcm.Samples.size() - at));
      meter.Add(0, pcm.Samples.data() + at, count);
    }
    meter.Finish();
    EXPECT_NEAR(Db(meter.Peak()), Db(reference), 0.1) << name;
    if (std::string_view(name) == "crests between samples") {
      EXPECT_NEAR(Db(meter.Peak()), Db(0.9), 0.1);
    }
  }
}

TEST(AudioAnalysisTest, TranscodeFromMp3IsALossySourceAndNoiseIsNot) {
  testsignals::Folder folder;
  const Pcm noise = testsignals::PinkNoise(12.0, -20.0, 5);
  const QString lossless = folder.Write16(QStringLiteral("noise.flac"), noise);
  const TrackAudio original = Analyse(lossless);
  // -20 dBFS RMS reads -16.99 dB by the DR meter's rule.
  EXPECT_NEAR(original.Rms, -20.0 + Db(std::sqrt(2.0)), 0.02);
  const std::vector<int16_t> samples = testsignals::ToInt16(noise);
  const auto loudest = std::max_element(samples.begin(), samples.end(), [](int16_t a, int16_t b) {
    return std::abs(a) < std::abs(b);
  });
  EXPECT_NEAR(original.Peak, Db(std::abs(*loudest) / 32768.0), 0.01);
  EXPECT_GT(original.Cutoff, 21500.0);
  EXPECT_FALSE(original.LossySource);

  ASSERT_TRUE(
      testsignals::Run(QStringLiteral("lame"),
                       {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128"),
                        folder.Write16(QStringLiteral("noise.wav"), noise),
                        folder.Path(QStringLiteral("noise.mp3"))}));
  const TrackAudio mp3 = Analyse(folder.Path(QStringLiteral("noise.mp3")));
  EXPECT_EQ(mp3.Bits, 0);
  EXPECT_FALSE(mp3.LossySource);  // a lossy file is what it says it is
  const TrackAudio transcode =
      Analyse(folder.Convert(QStringLiteral("noise.mp3"), QStringLiteral("transcode.flac"),
                             {QStringLiteral("-sample_fmt"), QStringLiteral("s16"),
                              QStringLiteral("-c:a"), QStringLiteral("flac")}));
  EXPECT_EQ(transcode.Bits, 16);
  EXPECT_TRUE(transcode.LossySource);
  EXPECT_GT(transcode.Cutoff, 15500.0);
  EXPECT_LT(transcode.Cutoff, 17500.0);
  EXPECT_NEAR(transcode.Cutoff, mp3.Cutoff, 300.0);
}

TEST(AudioAnalysisTest, HighRateFromACdSourceIsUpsampled) {
  testsignals::Folder folder;
  const Pcm noise = testsignals::PinkNoise(8.0, -20.0, 6);
  folder.Write16(QStringLiteral("cd.flac"), noise);
  const TrackAudio resampled = Analyse(folder.Convert(
      QStringLiteral("cd.flac"), QStringLiteral("up.flac"),
      {QStringLiteral("-af"), QStringLiteral("aresample=96000"), QStringLiteral("-sample_fmt"),
       QStringLiteral("s32"), QStringLiteral("-bits_per_raw_sample"), QStringLiteral("24")}));
  EXPECT_EQ(resampled.SampleRate, 96000);
  EXPECT_EQ(resampled.Bits, 24);
  EXPECT_TRUE(resampled.Upsampled);
  EXPECT_GT(resampled.Cutoff, 20000.0);
  EXPECT_LT(resampled.Cutoff, 30000.0);

  // CD samples in a 24-bit file: the low 8 bits are zero throughout.
  Pcm quantised = noise;
  for (float& x : quantised.Samples)
    x = static_cast<float>(std::lround(x * 32768.0) / 32768.0);
  const TrackAudio padded = Analyse(folder.WriteFlac24(QStringLiteral("padded.flac"), quantised));
  EXPECT_EQ(padded.Bits, 24);
  EXPECT_TRUE(padded.Upsampled);

  const TrackAudio genuine = Analyse(folder.WriteFlac24(
      QStringLiteral("hires.flac"), testsignals::PinkNoise(8.0, -20.0, 7, 96000)));
  EXPECT_FALSE(genuine.Upsampled);
  EXPECT_GT(genuine.Cutoff, 45000.0);
  const TrackAudio genuine44 = Analyse(folder.WriteFlac24(QStringLiteral("hires44.flac"), noise));
  EXPECT_FALSE(genuine44.Upsampled);
}

TEST(AudioAnalysisTest, DamagedFilesGiveAnErrorOrWhatCouldBeDecoded) {
  testsignals::Folder folder;
  const QString whole =
      folder.Write16(QStringLiteral("whole.flac"), testsignals::PinkNoise(6.0, -20, 8));
  QFile file(whole);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  file.close();
  auto write = [&folder](const QString& name, const QByteArray& content) {
    QFile out(folder.Path(name));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
    return out.fileName();
  };

  for (const QString& path : {write(QStringLiteral("empty.flac"), {}),
                              write(QStringLiteral("garbage.flac"), QByteArray(20000, '\x5a')),
                              write(QStringLiteral("header-only.flac"), bytes.left(200)),
                              folder.Path(QStringLiteral("missing.flac"))}) {
    const TrackAudioResult result = AnalyseTrackAudio(path);
    EXPECT_FALSE(result.Audio.has_value()) << path.toStdString();
    EXPECT_TRUE(result.Error.startsWith(QStringLiteral("Cannot decode the audio of ") + path))
        << result.Error.toStdString();
    EXPECT_FALSE(result.Stopped);
  }

  // Cut in the middle: the first half is there.
  const TrackAudio half = Analyse(write(QStringLiteral("half.flac"), bytes.left(bytes.size() / 2)));
  EXPECT_NEAR(half.Duration, 3.0, 0.3);
  // Garbage over a stretch in the middle: decoded around it, the failures counted.
  QByteArray holed = bytes;
  for (qsizetype i = bytes.size() / 3; i < bytes.size() / 3 + 40000; ++i)
    holed[i] = static_cast<char>(i * 7919 % 251);
  const TrackAudio damaged = Analyse(write(QStringLiteral("holed.flac"), holed));
  EXPECT_GT(damaged.DecodeErrors, 0);
  EXPECT_GT(damaged.Duration, 4.0);
  EXPECT_TRUE(std::isfinite(damaged.Loudness) && std::isfinite(damaged.TruePeak));

  // Digital silence: floors, never NaN or infinity.
  const TrackAudio silence =
      Analyse(folder.Write16(QStringLiteral("silence.flac"), testsignals::Sine(4.0, 1000.0, 0.0)));
  EXPECT_EQ(silence.Dr, 0);
  EXPECT_EQ(silence.Peak, TrackAudio::kSilenceDb);
  EXPECT_EQ(silence.TruePeak, TrackAudio::kSilenceDb);
  EXPECT_EQ(silence.Loudness, TrackAudio::kLoudnessFloor);
  EXPECT_EQ(silence.TrackGain, -18.0 - TrackAudio::kLoudnessFloor);
  EXPECT_EQ(silence.Cutoff, 0.0);
  EXPECT_EQ(silence.LoudnessRange, 0.0);

  std::stop_source stop;
  stop.request_stop();
  const TrackAudioResult stopped = AnalyseTrackAudio(whole, stop.get_token());
  EXPECT_TRUE(stopped.Stopped);
  EXPECT_FALSE(stopped.Audio.has_value());
}

// ReplayGain 2.0's album figures: the gating over both tracks together (as over the two played
// one after the other), the highest peak.
TEST(AudioAnalysisTest, AlbumGainAndPeakOverTwoTracks) {
  testsignals::Folder folder;
  const QString loud =
      folder.Write16(QStringLiteral("1.flac"), testsignals::PinkNoise(10.0, -14, 10));
  const QString quiet =
      folder.Write16(QStringLiteral("2.flac"), testsignals::PinkNoise(20.0, -30, 11));
  const std::vector<TrackAudio> tracks = {Analyse(loud), Analyse(quiet)};
  const AlbumAudio album = AnalyseAlbum(tracks);

  const testsignals::FfmpegLoudness together = testsignals::MeasureWithFfmpeg({loud, quiet});
  ASSERT_TRUE(together.Valid);
  EXPECT_NEAR(album.Loudness, together.Integrated, 0.1 + 1e-9);  // ffmpeg prints one decimal
  // Not the mean of the tracks: the louder track dominates the energy.
  EXPECT_GT(album.Loudness, (tracks[0].Loudness + tracks[1].Loudness) / 2 + 3);
  EXPECT_DOUBLE_EQ(album.AlbumGain, -18.0 - album.Loudness);
  EXPECT_DOUBLE_EQ(album.AlbumPeak, std::max(tracks[0].TrackPeak, tracks[1].TrackPeak));
  EXPECT_EQ(album.Dr, static_cast<int>(std::lround((tracks[0].Dr + tracks[1].Dr) / 2.0)));

  const AlbumAudio none = AnalyseAlbum({});
  EXPECT_EQ(none.Loudness, TrackAudio::kLoudnessFloor);
  EXPECT_EQ(none.AlbumPeak, 0.0);
}

}  // namespace
