#include "analysis/StreamDescription.h"

#include "analysis/ReleaseSummary.h"

namespace {

QString KbitText(int bitRate) {
  return QString::number(bitRate) + QStringLiteral(" kbit/s");
}

QString RatioText(double ratio, const UserLocale& locale) {
  return locale.FormatFixed2(ratio) + QLatin1Char('%');
}

std::optional<QString> ChannelName(int channels) {
  switch (channels) {
    case 0:
      return QStringLiteral("Unknown");
    case 1:
      return QStringLiteral("Mono");
    case 2:
      return QStringLiteral("Stereo");
    default:
      return std::nullopt;
  }
}

QString LosslessSampleRate(int sampleRate, int bitsPerSample) {
  return QStringLiteral("%1 HZ / %2 Bit").arg(sampleRate).arg(bitsPerSample);
}

auto FixedQuality(const QString& label) {
  return [label](int64_t, const QString&) { return label; };
}

// Runs the reader on the file and keeps the values every reader has.
template <class Reader>
StreamDescription ReadWith(Reader& reader, const QString& path) {
  StreamDescription stream;
  StreamValues& values = stream.Values;
  values.Read = reader.ReadFromFile(path);
  if (values.Read) {
    values.Valid = reader.Valid();
    values.Duration = reader.Duration();
    values.SampleRate = reader.SampleRate();
    values.FileSize = reader.FileSize();
  }
  return stream;
}

StreamDescription DescribeMpeg(TMPEGaudio& mpeg, const QString& path) {
  StreamDescription stream = ReadWith(mpeg, path);
  stream.Values.BitRate = stream.Values.Read ? mpeg.BitRate() : 0;
  stream.RoundsSeconds = true;
  stream.BitrateText =
      (mpeg.IsVBR() ? QStringLiteral("VBR ") : QStringLiteral("CBR ")) + KbitText(mpeg.BitRate());
  stream.VersionText = mpeg.Version() + QLatin1Char(' ') + mpeg.Layer();
  stream.SampleRateText = QString::number(mpeg.SampleRate()) + QStringLiteral(" hz");
  stream.ChannelsText = mpeg.ChannelMode();
  stream.EncoderText = mpeg.Encoder();
  stream.Rate = mpeg.BitRate();
  stream.Quality = [](int64_t average, const QString&) { return MpegQuality(average); };
  return stream;
}

StreamDescription DescribeMusepack(TMPEGplus& musepack, const QString& path) {
  StreamDescription stream = ReadWith(musepack, path);
  stream.Values.BitRate = stream.Values.Read ? musepack.BitRate() : 0;
  stream.BitrateText = KbitText(musepack.BitRate());
  stream.VersionText = QStringLiteral("MP+ v") + QString::number(musepack.StreamVersion());
  stream.SampleRateText = QStringLiteral("44100 hz");
  stream.ChannelsText = musepack.ChannelMode();
  stream.EncoderText = QStringLiteral("MusePack (MPC)");
  stream.Rate = musepack.BitRate();
  stream.Quality = MusepackQuality;
  return stream;
}

StreamDescription DescribeMonkey(TMonkey& monkey, const QString& path, const UserLocale& locale) {
  StreamDescription stream = ReadWith(monkey, path);
  stream.Values.Ratio = stream.Values.Read ? monkey.Ratio() : 0;
  stream.Lossless = true;
  stream.BitrateText = RatioText(monkey.Ratio(), locale);
  stream.VersionText = QStringLiteral("Monkey v") + monkey.VersionString();
  stream.SampleRateText = LosslessSampleRate(monkey.SampleRate(), monkey.BitsPerSample());
  stream.ChannelsText = ChannelName(monkey.Channels());
  stream.EncoderText = QStringLiteral("Monkey's Audio (APE)");
  stream.Rate = monkey.Ratio();
  stream.Quality = FixedQuality(monkey.CompressionLevelText());
  return stream;
}

StreamDescription DescribeFlac(TFLACfile& flac, const QString& path, const UserLocale& locale) {
  StreamDescription stream = ReadWith(flac, path);  // the FLAC open error passes on
  stream.Values.Ratio = stream.Values.Read ? flac.Ratio() : 0;
  stream.Lossless = true;
  stream.BitrateText = RatioText(flac.Ratio(), locale);
  stream.VersionText = flac.Vendor();
  stream.SampleRateText = LosslessSampleRate(flac.SampleRate(), flac.BitsPerSample());
  stream.ChannelsText = ChannelName(flac.Channels());
  stream.EncoderText = QStringLiteral("Free Lossless Audio Codec (FLAC)");
  stream.Rate = flac.Ratio();
  stream.Quality = FixedQuality(QStringLiteral("Lossless"));
  if (!flac.Artist().isEmpty())
    stream.OwnTag = TagTexts{flac.Artist(), flac.Title(), flac.Album(), flac.Date(), flac.Genre()};
  return stream;
}

}  // namespace

StreamDescription ReadStreamDescription(AudioFormat format, ReaderSet& readers, const QString& path,
                                        const UserLocale& locale) {
  switch (format) {
    case AudioFormat::Mp3:
      return DescribeMpeg(readers.Mpeg, path);
    case AudioFormat::Mpc:
      return DescribeMusepack(readers.Musepack, path);
    case AudioFormat::Ape:
      return DescribeMonkey(readers.Monkey, path, locale);
    case AudioFormat::Flac:
      return DescribeFlac(readers.Flac, path, locale);
  }
  return {};
}
