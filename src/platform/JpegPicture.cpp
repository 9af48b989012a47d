#include "platform/JpegPicture.h"

#include "platform/FileStream.h"

#include <turbojpeg.h>

#include <memory>

namespace {

struct DecompressorDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using Decompressor = std::unique_ptr<void, DecompressorDeleter>;

bool ReadHeader(tjhandle handle, const QByteArray& bytes, int& width, int& height) {
  int subsampling = 0;
  int colorspace = 0;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  return tjDecompressHeader3(handle, data, static_cast<unsigned long>(bytes.size()), &width,
                             &height, &subsampling, &colorspace) == 0;
}

}  // namespace

JpegPicture DecodeJpeg(const QByteArray& bytes) {
  if (bytes.isEmpty() || bytes.size() > kMaxJpegFileBytes)
    return {};
  const Decompressor handle(tjInitDecompress());
  int width = 0;
  int height = 0;
  if (!handle || !ReadHeader(handle.get(), bytes, width, height) || width <= 0 || height <= 0 ||
      width > kMaxJpegSide || height > kMaxJpegSide) {
    return {};
  }
  JpegPicture picture;
  picture.Rgb = QByteArray(static_cast<qsizetype>(width) * height * 3, Qt::Uninitialized);
  // A warning (data cut short, a damaged segment) stops the decoding too: a half-grey picture is
  // no picture.
  const int decoded =
      tjDecompress2(handle.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()),
                    reinterpret_cast<unsigned char*>(picture.Rgb.data()), width, width * 3, height,
                    TJPF_RGB, TJFLAG_STOPONWARNING);
  if (decoded != 0)
    return {};
  picture.Width = width;
  picture.Height = height;
  return picture;
}

JpegPicture LoadJpegFile(const QString& path) {
  const FileHandle file(path);
  if (!file.IsValid() || file.Size() <= 0 || file.Size() > kMaxJpegFileBytes)
    return {};
  QByteArray bytes(static_cast<qsizetype>(file.Size()), Qt::Uninitialized);
  if (file.ReadAt(0, bytes.data(), bytes.size()) != bytes.size())
    return {};
  return DecodeJpeg(bytes);
}
