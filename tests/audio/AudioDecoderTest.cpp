#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <cmath>
#include <memory>

#include "AudioSignals.h"
#include "audio/AudioDecoder.h"
#include "support/TestSupport.h"

namespace {

using testsignals::Pcm;

// Every format the program reads, made by its own encoder from a 2-second 440 Hz sine at half
// scale. (Monkey's Audio has no encoder in Debian; FFmpeg's decoder for it is not covered here.)
struct FormatCase {
  const char* name;
  const char* file;
  int rate;
  int bits;               // 0: lossy
  bool lowEightBitsZero;  // a 24-bit file made of 16-bit samples
  // The encoder's command line; "@" before a name stands for the path in the test folder, "@@"
  // for the file made.
  const char* command;
};

void PrintTo(const FormatCase& format, std::ostream* out) {
  *out << format.name;
}

const FormatCase kCases[] = {
    {"Mp3", "sine.mp3", 44100, 0, false, "lame --quiet -b 192 @source.wav @@"},
    {"Flac", "sine.flac", 44100, 16, false, "flac -s -f -o @@ @source.wav"},
    {"Opus", "sine.opus", 48000, 0, false, "opusenc --quiet @source.wav @@"},
    {"Vorbis", "sine.ogg", 44100, 0, false, "oggenc -Q -o @@ @source.wav"},
    {"Aac", "sine.m4a", 44100, 0, false, "ffmpeg -v error -y -i @source.wav -c:a aac @@"},
    {"Alac", "sine-alac.m4a", 44100, 16, false, "ffmpeg -v error -y -i @source.wav -c:a alac @@"},
    {"WavPack", "sine.wv", 44100, 16, false, "wavpack -q -y @source.wav -o @@"},
    {"Musepack", "sine.mpc", 44100, 0, false, "mpcenc --silent --overwrite @source.wav @@"},
    {"Flac24Padded", "padded24.flac", 44100, 24, true, "flac -s -f -o @@ @padded24.wav"},
    {"WavPack24Padded", "padded24.wv", 44100, 24, true, "wavpack -q -y @padded24.wav -o @@"},
    {"Alac24Padded", "padded24.m4a", 44100, 24, true,
     "ffmpeg -v error -y -i @padded24.wav -c:a alac @@"},
    {"WavPack24", "real24.wv", 44100, 24, false, "wavpack -q -y @real24.wav -o @@"},
    {"Alac24", "real24.m4a", 44100, 24, false, "ffmpeg -v error -y -i @real24.wav -c:a alac @@"},
};

const Pcm& Source() {
  static const Pcm sine = testsignals::Sine(2.0, 440.0, 0.5);
  return sine;
}

class AudioDecoderTest : public ::testing::TestWithParam<FormatCase> {
 protected:
  // The sources, made once: the sine as 16-bit WAV, as a 24-bit WAV of the same 16-bit samples,
  // and as a real 24-bit FLAC.
  static void SetUpTestSuite() {
    folder_ = std::make_unique<testsignals::Folder>();
    folder_->Write16(QStringLiteral("source.wav"), Source());
    folder_->Convert(QStringLiteral("source.wav"), QStringLiteral("padded24.wav"),
                     {QStringLiteral("-c:a"), QStringLiteral("pcm_s24le")});
    folder_->WriteFlac24(QStringLiteral("real24.flac"), Source());
    folder_->Convert(QStringLiteral("real24.flac"), QStringLiteral("real24.wav"),
                     {QStringLiteral("-c:a"), QStringLiteral("pcm_s24le")});
  }
  static void TearDownTestSuite() { folder_.reset(); }

  // Runs the case's encoder; the path of the file it made.
  static QString Encode(const FormatCase& format) {
    const QString target = folder_->Path(QString::fromLatin1(format.file));
    QStringList arguments;
    for (const QString& word : QString::fromLatin1(format.command).split(QLatin1Char(' '))) {
      if (word == QStringLiteral("@@"))
        arguments << target;
      else if (word.startsWith(QLatin1Char('@')))
        arguments << folder_->Path(word.mid(1));
      else
        arguments << word;
    }
    QString output;
    const QString program = arguments.takeFirst();
    EXPECT_TRUE(testsignals::Run(program, arguments, &output)) << output.toStdString();
    return target;
  }

  static std::unique_ptr<testsignals::Folder> folder_;
};

std::unique_ptr<testsignals::Folder> AudioDecoderTest::folder_;

TEST_P(AudioDecoderTest, DecodesTheWholeSineInBlocks) {
  const FormatCase& format = GetParam();
  const QString path = Encode(format);

  AudioDecoder decoder;
  ASSERT_TRUE(decoder.Open(path, SampleViews::FloatAndInt16)) << decoder.Error().toStdString();
  EXPECT_EQ(decoder.Format().SampleRate, format.rate);
  EXPECT_EQ(decoder.Format().Channels, 2);
  EXPECT_EQ(decoder.Format().BitsPerRawSample, format.bits);
  if (format.bits > 0) {
    EXPECT_NEAR(decoder.Format().EstimatedSeconds, 2.0, 0.01);
  }

  std::vector<int16_t> decoded;
  float peak = 0;
  int64_t frames = 0;
  AudioBlock block;
  while (decoder.Next(block)) {
    ASSERT_EQ(block.Channels(), 2);
    ASSERT_EQ(block.Interleaved16().size(), static_cast<size_t>(block.Frames()) * 2);
    for (int c = 0; c < 2; ++c) {
      for (float x : block.Channel(c))
        peak = std::max(peak, std::abs(x));
      EXPECT_EQ(block.ChannelPointers()[c], block.Channel(c).data());
    }
    decoded.insert(decoded.end(), block.Interleaved16().begin(), block.Interleaved16().end());
    frames += block.Frames();
  }
  EXPECT_TRUE(decoder.Error().isEmpty()) << decoder.Error().toStdString();
  EXPECT_EQ(decoder.DecodeErrors(), 0);
  EXPECT_EQ(decoder.FramesDecoded(), frames);
  EXPECT_NEAR(20 * std::log10(peak), 20 * std::log10(0.5), format.bits > 0 ? 0.001 : 1.0);
  EXPECT_EQ(decoder.LowEightBitsZero(), format.lowEightBitsZero);

  const double seconds = static_cast<double>(frames) / format.rate;
  if (format.bits == 16) {
    // What the rip-log check needs: the very samples of the source, all of them.
    EXPECT_EQ(decoded, testsignals::ToInt16(Source()));
    EXPECT_EQ(decoder.SignificantBits(), 16);
  } else if (format.bits == 0) {
    EXPECT_NEAR(seconds, 2.0, 0.06);  // encoder delay and padding taken off where the file says
    EXPECT_EQ(decoder.SignificantBits(), 0);
  } else {
    EXPECT_EQ(frames, Source().Frames());
    EXPECT_EQ(decoder.SignificantBits(), format.lowEightBitsZero ? 16 : 24);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, AudioDecoderTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// No path is ever given to FFmpeg's protocol layer: a name that looks like a URL or a protocol
// is just a file, and a playlist naming other files is refused.
TEST(AudioDecoderPaths, NamesAreFilesAndPlaylistsOpenNothing) {
  testsignals::Folder folder;
  const QString flac = folder.Path(QStringLiteral("concat:a|b.flac"));
  ASSERT_TRUE(QFile::copy(folder.Write16(QStringLiteral("plain.flac"), Source()), flac));
  AudioDecoder decoder;
  EXPECT_TRUE(decoder.Open(flac)) << decoder.Error().toStdString();

  TempFolder temp;
  const QString playlist = temp.Write(QStringLiteral("list.flac"),
                                      QByteArray("#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2,\n") +
                                          flac.toUtf8() + QByteArray("\n#EXT-X-ENDLIST\n"));
  EXPECT_FALSE(decoder.Open(playlist));
  EXPECT_FALSE(decoder.Error().isEmpty());
  AudioBlock block;
  EXPECT_FALSE(decoder.Next(block));
}

}  // namespace
