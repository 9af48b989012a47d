#include "audio/AudioDecoder.h"

#include "platform/FileStream.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Bounds on what a file may claim before it sizes a buffer or a loop.
constexpr int kMaxChannels = 8;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 768000;
constexpr int kMaxFrameSamples = 1 << 18;
// So many failures in a row and the rest of the stream is taken as undecodable.
constexpr int kMaxConsecutiveErrors = 100;
constexpr int kIoBufferSize = 64 * 1024;
// The containers of the formats the program reads, and WAV. Probing still looks at every
// demuxer, but a file that probes as anything else (a playlist, an image sequence) is refused.
constexpr const char* kAllowedDemuxers = "mp3,mpc,mpc8,ape,flac,ogg,mov,aac,wv,wav";

void SilenceFFmpegOnce() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

QString AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return QString::fromUtf8(text);
}

// The file as FFmpeg's I/O context reads it: positioned reads through the platform layer.
struct IoSource {
  FileHandle file;
  int64_t position = 0;
};

int ReadPacket(void* opaque, uint8_t* buffer, int size) {
  auto* source = static_cast<IoSource*>(opaque);
  const int64_t read = source->file.ReadAt(source->position, buffer, size);
  if (read <= 0)
    return AVERROR_EOF;
  source->position += read;
  return static_cast<int>(read);
}

int64_t SeekPacket(void* opaque, int64_t offset, int whence) {
  auto* source = static_cast<IoSource*>(opaque);
  const int64_t size = source->file.Size();
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE)
    return size;
  int64_t base = 0;
  if (whence == SEEK_CUR)
    base = source->position;
  else if (whence == SEEK_END)
    base = size;
  else if (whence != SEEK_SET)
    return AVERROR(EINVAL);
  if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0)
    return AVERROR(EINVAL);
  source->position = base + offset;
  return source->position;
}

// Demuxers that would open further files (playlists, segment lists) get nothing.
int RefuseNestedOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
  return AVERROR(EPERM);
}

bool IsDirectFormat(int format) {
  switch (format) {
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_S16P:
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S32P:
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_FLTP:
      return true;
    default:
      return false;
  }
}

int16_t FloatToInt16(float value) {
  const float scaled = std::clamp(value * 32768.0f, -32768.0f, 32767.0f);
  return static_cast<int16_t>(std::lrint(scaled));
}

int16_t Int32ToInt16(int32_t value) {
  const int64_t rounded = (static_cast<int64_t>(value) + 0x8000) >> 16;
  return static_cast<int16_t>(std::clamp<int64_t>(rounded, -32768, 32767));
}

}  // namespace

struct AudioDecoder::State {
  AudioFormat format;
  QString error;
  SampleViews views = SampleViews::Float;

  std::unique_ptr<IoSource> io;
  AVIOContext* avio = nullptr;
  AVFormatContext* container = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int streamIndex = -1;

  // Frames in a sample format converted through swresample, or with another channel layout.
  SwrContext* swr = nullptr;
  int swrInputFormat = -1;
  AVChannelLayout swrInputLayout{};
  AVChannelLayout outputLayout{};

  bool frameWaiting = false;  // the first frame, decoded by Open, not delivered yet
  bool draining = false;
  bool finished = false;
  int decodeErrors = 0;
  int consecutiveErrors = 0;
  int64_t framesDecoded = 0;

  // Integer samples OR-ed together, to see which low bits were ever used.
  uint32_t integerBitsSeen = 0;
  int integerContainerBits = 0;  // 16 or 32 while the decoder gives integers, 0 otherwise

  std::vector<float> planes;
  std::vector<const float*> pointers;
  std::vector<int16_t> int16;

  ~State() {
    swr_free(&swr);
    av_channel_layout_uninit(&swrInputLayout);
    av_channel_layout_uninit(&outputLayout);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&container);  // leaves the custom I/O context alone
    if (avio != nullptr) {
      av_freep(&avio->buffer);
      avio_context_free(&avio);
    }
  }

  bool Fail(const QString& reason) {
    error = reason;
    finished = true;
    return false;
  }

  // Counts a failed packet or frame; false once the stream is given up.
  bool CountError() {
    ++decodeErrors;
    if (++consecutiveErrors > kMaxConsecutiveErrors) {
      finished = true;
      return false;
    }
    return true;
  }

  bool OpenContainer(const QString& path);
  bool OpenCodec();
  bool ReceiveFrame();
  bool Deliver(AudioBlock& block);
  bool ConvertDirect(AudioBlock& block);
  bool ConvertResampled(AudioBlock& block);
  void PrepareBuffers(int frames);
  void FillInt16FromPlanes(int frames);
  void Publish(AudioBlock& block, int frames, int stride);
};

bool AudioDecoder::State::OpenContainer(const QString& path) {
  io = std::make_unique<IoSource>();
  if (!io->file.Open(path))
    return Fail(QStringLiteral("the file cannot be opened (%1)").arg(io->file.FailureReason()));
  auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
  if (buffer == nullptr)
    return Fail(QStringLiteral("out of memory"));
  avio = avio_alloc_context(buffer, kIoBufferSize, 0, io.get(), ReadPacket, nullptr, SeekPacket);
  if (avio == nullptr) {
    av_free(buffer);
    return Fail(QStringLiteral("out of memory"));
  }
  container = avformat_alloc_context();
  if (container == nullptr)
    return Fail(QStringLiteral("out of memory"));
  container->pb = avio;
  container->flags |= AVFMT_FLAG_CUSTOM_IO;
  container->io_open = RefuseNestedOpen;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "format_whitelist", kAllowedDemuxers, 0);
  const int opened = avformat_open_input(&container, "", nullptr, &options);
  av_dict_free(&options);
  if (opened < 0)  // avformat_open_input has freed the context
    return Fail(
        QStringLiteral("not an audio file this program reads (%1)").arg(AvErrorText(opened)));
  const int probed = avformat_find_stream_info(container, nullptr);
  if (probed < 0)
    return Fail(QStringLiteral("cannot read the streams (%1)").arg(AvErrorText(probed)));
  return true;
}

bool AudioDecoder::State::OpenCodec() {
  for (unsigned i = 0; i < container->nb_streams; ++i) {
    AVStream* stream = container->streams[i];
    if (streamIndex < 0 && stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
      streamIndex = static_cast<int>(i);
    else
      stream->discard = AVDISCARD_ALL;  // cover pictures, other tracks
  }
  if (streamIndex < 0)
    return Fail(QStringLiteral("the file holds no audio stream"));
  const AVStream* stream = container->streams[streamIndex];
  const AVCodecParameters* parameters = stream->codecpar;
  const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
  if (decoder == nullptr) {
    return Fail(QStringLiteral("no decoder for the codec %1")
                    .arg(QString::fromLatin1(avcodec_get_name(parameters->codec_id))));
  }
  codec = avcodec_alloc_context3(decoder);
  if (codec == nullptr || avcodec_parameters_to_context(codec, parameters) < 0)
    return Fail(QStringLiteral("out of memory"));
  // Tracks are analysed side by side on worker threads; one thread per decoder is enough.
  codec->thread_count = 1;
  codec->pkt_timebase = stream->time_base;
  const int opened = avcodec_open2(codec, decoder, nullptr);
  if (opened < 0)
    return Fail(QStringLiteral("cannot open the decoder (%1)").arg(AvErrorText(opened)));
  format.DecoderName = QString::fromLatin1(decoder->name);

  double seconds = 0;
  if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
    seconds = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
  else if (container->duration != AV_NOPTS_VALUE && container->duration > 0)
    seconds = static_cast<double>(container->duration) / AV_TIME_BASE;
  format.EstimatedSeconds = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 1e7) : 0.0;

  packet = av_packet_alloc();
  frame = av_frame_alloc();
  if (packet == nullptr || frame == nullptr)
    return Fail(QStringLiteral("out of memory"));
  return true;
}

bool AudioDecoder::State::ReceiveFrame() {
  while (!finished) {
    int result = avcodec_receive_frame(codec, frame);
    if (result >= 0) {
      if (frame->nb_samples > 0)
        return true;
      continue;
    }
    if (result == AVERROR_EOF) {
      finished = true;
      break;
    }
    if (result != AVERROR(EAGAIN)) {
      if (!CountError())
        break;
      continue;
    }
    if (draining) {
      finished = true;
      break;
    }
    result = av_read_frame(container, packet);
    if (result < 0) {
      // The end, or a container that cannot be read further: what was decoded stands.
      if (result != AVERROR_EOF)
        ++decodeErrors;
      avcodec_send_packet(codec, nullptr);
      draining = true;
      continue;
    }
    if (packet->stream_index != streamIndex) {
      av_packet_unref(packet);
      continue;
    }
    result = avcodec_send_packet(codec, packet);
    av_packet_unref(packet);
    if (result < 0 && result != AVERROR(EAGAIN) && !CountError())
      break;
  }
  return false;
}

void AudioDecoder::State::PrepareBuffers(int frames) {
  const size_t needed = static_cast<size_t>(format.Channels) * static_cast<size_t>(frames);
  if (planes.size() < needed)
    planes.resize(needed);
  pointers.resize(static_cast<size_t>(format.Channels));
  for (int c = 0; c < format.Channels; ++c)
    pointers[static_cast<size_t>(c)] = planes.data() + static_cast<std::ptrdiff_t>(c) * frames;
  if (views == SampleViews::FloatAndInt16 && int16.size() < needed)
    int16.resize(needed);
}

void AudioDecoder::State::FillInt16FromPlanes(int frames) {
  const int channels = format.Channels;
  for (int c = 0; c < channels; ++c) {
    const float* source = pointers[static_cast<size_t>(c)];
    int16_t* target = int16.data() + c;
    for (int i = 0; i < frames; ++i)
      target[static_cast<std::ptrdiff_t>(i) * channels] = FloatToInt16(source[i]);
  }
}

void AudioDecoder::State::Publish(AudioBlock& block, int frames, int stride) {
  block.frames_ = frames;
  block.channels_ = format.Channels;
  block.planes_ = planes.data();
  block.stride_ = stride;
  block.pointers_ = pointers.data();
  if (views == SampleViews::FloatAndInt16)
    block.int16_ = {int16.data(),
                    static_cast<size_t>(frames) * static_cast<size_t>(format.Channels)};
  else
    block.int16_ = {};
  framesDecoded += frames;
}

bool AudioDecoder::State::ConvertDirect(AudioBlock& block) {
  const int frames = frame->nb_samples;
  const int channels = format.Channels;
  PrepareBuffers(frames);
  const bool wantInt16 = views == SampleViews::FloatAndInt16;
  uint32_t bits = 0;
  switch (frame->format) {
    case AV_SAMPLE_FMT_S16: {
      const auto* source = reinterpret_cast<const int16_t*>(frame->data[0]);
      const size_t count = static_cast<size_t>(frames) * static_cast<size_t>(channels);
      for (int c = 0; c < channels; ++c) {
        float* target = planes.data() + static_cast<std::ptrdiff_t>(c) * frames;
        for (int i = 0; i < frames; ++i)
          target[i] = source[static_cast<std::ptrdiff_t>(i) * channels + c] * (1.0f / 32768.0f);
      }
      uint16_t seen = 0;
      for (size_t i = 0; i < count; ++i)
        seen |= static_cast<uint16_t>(source[i]);
      bits = static_cast<uint32_t>(seen) << 16;
      if (wantInt16)
        std::memcpy(int16.data(), source, count * sizeof(int16_t));
      integerContainerBits = 16;
      break;
    }
    case AV_SAMPLE_FMT_S16P: {
      uint16_t seen = 0;
      for (int c = 0; c < channels; ++c) {
        const auto* source = reinterpret_cast<const int16_t*>(frame->extended_data[c]);
        float* target = planes.data() + static_cast<std::ptrdiff_t>(c) * frames;
        for (int i = 0; i < frames; ++i) {
          target[i] = source[i] * (1.0f / 32768.0f);
          seen |= static_cast<uint16_t>(source[i]);
        }
        if (wantInt16) {
          int16_t* interleaved = int16.data() + c;
          for (int i = 0; i < frames; ++i)
            interleaved[static_cast<std::ptrdiff_t>(i) * channels] = source[i];
        }
      }
      bits = static_cast<uint32_t>(seen) << 16;
      integerContainerBits = 16;
      break;
    }
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_S32P: {
      const bool planar = frame->format == AV_SAMPLE_FMT_S32P;
      for (int c = 0; c < channels; ++c) {
        const auto* source = reinterpret_cast<const int32_t*>(
            planar ? frame->extended_data[c] : frame->data[0] + c * sizeof(int32_t));
        const std::ptrdiff_t step = planar ? 1 : channels;
        float* target = planes.data() + static_cast<std::ptrdiff_t>(c) * frames;
        for (int i = 0; i < frames; ++i) {
          const int32_t value = source[i * step];
          target[i] = static_cast<float>(value) * (1.0f / 2147483648.0f);
          bits |= static_cast<uint32_t>(value);
        }
        if (wantInt16) {
          int16_t* interleaved = int16.data() + c;
          for (int i = 0; i < frames; ++i)
            interleaved[static_cast<std::ptrdiff_t>(i) * channels] = Int32ToInt16(source[i * step]);
        }
      }
      integerContainerBits = 32;
      break;
    }
    case AV_SAMPLE_FMT_FLT: {
      const auto* source = reinterpret_cast<const float*>(frame->data[0]);
      for (int c = 0; c < channels; ++c) {
        float* target = planes.data() + static_cast<std::ptrdiff_t>(c) * frames;
        for (int i = 0; i < frames; ++i)
          target[i] = source[static_cast<std::ptrdiff_t>(i) * channels + c];
      }
      if (wantInt16)
        FillInt16FromPlanes(frames);
      integerContainerBits = 0;
      break;
    }
    default: {  // AV_SAMPLE_FMT_FLTP
      for (int c = 0; c < channels; ++c) {
        std::memcpy(planes.data() + static_cast<std::ptrdiff_t>(c) * frames,
                    frame->extended_data[c], static_cast<size_t>(frames) * sizeof(float));
      }
      if (wantInt16)
        FillInt16FromPlanes(frames);
      integerContainerBits = 0;
      break;
    }
  }
  integerBitsSeen |= bits;
  Publish(block, frames, frames);
  return true;
}

bool AudioDecoder::State::ConvertResampled(AudioBlock& block) {
  const int frames = frame->nb_samples;
  if (swr == nullptr || swrInputFormat != frame->format ||
      av_channel_layout_compare(&swrInputLayout, &frame->ch_layout) != 0) {
    swr_free(&swr);
    av_channel_layout_uninit(&swrInputLayout);
    if (av_channel_layout_copy(&swrInputLayout, &frame->ch_layout) < 0 ||
        swr_alloc_set_opts2(&swr, &outputLayout, AV_SAMPLE_FMT_FLTP, format.SampleRate,
                            &frame->ch_layout, static_cast<AVSampleFormat>(frame->format),
                            frame->sample_rate, 0, nullptr) < 0 ||
        swr_init(swr) < 0) {
      swr_free(&swr);
      return false;
    }
    swrInputFormat = frame->format;
  }
  PrepareBuffers(frames);
  std::vector<uint8_t*> targets(static_cast<size_t>(format.Channels));
  for (int c = 0; c < format.Channels; ++c)
    targets[static_cast<size_t>(c)] = reinterpret_cast<uint8_t*>(planes.data() + c * frames);
  const int converted = swr_convert(swr, targets.data(), frames,
                                    const_cast<const uint8_t**>(frame->extended_data), frames);
  if (converted <= 0)
    return false;
  // The planes stay laid out for `frames` even if fewer came out (none are held back when the
  // rate stays the same).
  if (views == SampleViews::FloatAndInt16)
    FillInt16FromPlanes(converted);
  integerContainerBits = 0;
  Publish(block, converted, frames);
  return true;
}

bool AudioDecoder::State::Deliver(AudioBlock& block) {
  // Another rate would need resampling with its own delay; a stream that switches rate is
  // damaged for this purpose, and those frames are skipped.
  if (frame->sample_rate != format.SampleRate || frame->nb_samples > kMaxFrameSamples ||
      frame->ch_layout.nb_channels < 1 || frame->ch_layout.nb_channels > kMaxChannels) {
    CountError();
    return false;
  }
  bool delivered = false;
  if (frame->ch_layout.nb_channels == format.Channels && IsDirectFormat(frame->format))
    delivered = ConvertDirect(block);
  else
    delivered = ConvertResampled(block);
  if (!delivered) {
    CountError();
    return false;
  }
  consecutiveErrors = 0;
  return true;
}

AudioDecoder::AudioDecoder() : d_(std::make_unique<State>()) {}

AudioDecoder::~AudioDecoder() = default;

bool AudioDecoder::Open(const QString& path, SampleViews views) {
  SilenceFFmpegOnce();
  d_ = std::make_unique<State>();
  d_->views = views;
  if (!d_->OpenContainer(path) || !d_->OpenCodec())
    return false;
  if (!d_->ReceiveFrame())
    return d_->Fail(QStringLiteral("no audio could be decoded"));
  AudioFormat& format = d_->format;
  format.SampleRate = d_->frame->sample_rate;
  format.Channels = d_->frame->ch_layout.nb_channels;
  if (format.SampleRate < kMinSampleRate || format.SampleRate > kMaxSampleRate)
    return d_->Fail(QStringLiteral("unsupported sample rate %1 Hz").arg(format.SampleRate));
  if (format.Channels < 1 || format.Channels > kMaxChannels)
    return d_->Fail(QStringLiteral("unsupported channel count %1").arg(format.Channels));
  av_channel_layout_default(&d_->outputLayout, format.Channels);
  if (d_->frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE)
    av_channel_layout_copy(&d_->outputLayout, &d_->frame->ch_layout);

  const AVCodecDescriptor* descriptor = avcodec_descriptor_get(d_->codec->codec_id);
  const bool lossless = descriptor != nullptr && (descriptor->props & AV_CODEC_PROP_LOSSLESS) != 0;
  if (lossless) {
    int bits = d_->container->streams[d_->streamIndex]->codecpar->bits_per_raw_sample;
    if (bits <= 0)
      bits = d_->codec->bits_per_raw_sample;
    const auto sampleFormat = static_cast<AVSampleFormat>(d_->frame->format);
    if (bits <= 0 && !av_sample_fmt_is_planar(sampleFormat) && sampleFormat != AV_SAMPLE_FMT_FLT &&
        sampleFormat != AV_SAMPLE_FMT_DBL)
      bits = av_get_bytes_per_sample(sampleFormat) * 8;
    if (bits <= 0)
      bits = av_get_bytes_per_sample(av_get_packed_sample_fmt(sampleFormat)) * 8;
    format.BitsPerRawSample = std::clamp(bits, 0, 64);
  }
  d_->frameWaiting = true;
  return true;
}

const AudioFormat& AudioDecoder::Format() const {
  return d_->format;
}

bool AudioDecoder::Next(AudioBlock& block) {
  if (d_->codec == nullptr || !d_->error.isEmpty())
    return false;
  if (d_->frameWaiting) {
    d_->frameWaiting = false;
    if (d_->Deliver(block))
      return true;
  }
  while (d_->ReceiveFrame()) {
    if (d_->Deliver(block))
      return true;
  }
  return false;
}

const QString& AudioDecoder::Error() const {
  return d_->error;
}

int AudioDecoder::DecodeErrors() const {
  return d_->decodeErrors;
}

int64_t AudioDecoder::FramesDecoded() const {
  return d_->framesDecoded;
}

int AudioDecoder::SignificantBits() const {
  const int bits = d_->format.BitsPerRawSample;
  const int container = d_->integerContainerBits;
  if (bits <= 0 || container == 0 || d_->integerBitsSeen == 0)
    return 0;
  // FFmpeg puts the source's bits at the top of a wider container (24-bit FLAC comes as 32-bit
  // integers shifted left by 8), so the low bits of the container are never used; the ones that
  // matter are the lowest `bits` below the top. 16-bit containers were moved to the top of the
  // word when they were OR-ed in.
  const int unusedBelowSource = std::max(0, 32 - bits);
  const int zeroBits = std::countr_zero(d_->integerBitsSeen);
  return std::clamp(bits - (zeroBits - unusedBelowSource), 0, bits);
}

bool AudioDecoder::LowEightBitsZero() const {
  const int bits = d_->format.BitsPerRawSample;
  const int significant = SignificantBits();
  return bits > 16 && significant > 0 && significant <= bits - 8;
}
