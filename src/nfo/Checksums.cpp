#include "nfo/Checksums.h"

#include "platform/FileStream.h"

#include <libdeflate.h>
#include <openssl/evp.h>

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

// Large blocks keep system calls rare; the result does not depend on the block size.
constexpr int64_t kBlockSize = 1024 * 1024;

// Feeds the whole file to consume(data, length), block by block, never holding more than one
// block in memory.
template <typename Consume>
void StreamFile(const QString& path, Consume consume) {
  FileStream file(path);
  std::vector<unsigned char> block(kBlockSize);
  for (;;) {
    const int64_t got = file.Read(block.data(), kBlockSize);
    if (got > 0)
      consume(block.data(), static_cast<size_t>(got));
    // A short read is the end of the file (or a read error, which ends it just the same).
    if (got < kBlockSize)
      break;
  }
}

QString UpperHex(const QByteArray& bytes) {
  return QString::fromLatin1(bytes.toHex().toUpper());
}

struct DigestContextDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextDeleter>;

// Only an exhausted or broken crypto library fails here; no file can cause it.
void Require(bool ok) {
  if (!ok)
    throw std::runtime_error("MD5 digest unavailable");
}

}  // namespace

QString FileCrc32(const QString& path) {
  uint32_t crc = 0;  // libdeflate takes the finished value of the part before as its start
  StreamFile(path, [&crc](const unsigned char* data, size_t length) {
    crc = libdeflate_crc32(crc, data, length);
  });
  QByteArray bigEndian(4, Qt::Uninitialized);
  for (int i = 0; i < 4; ++i)
    bigEndian[i] = static_cast<char>(crc >> (24 - 8 * i) & 0xFF);
  return UpperHex(bigEndian);
}

QString FileMd5(const QString& path) {
  const DigestContext context(EVP_MD_CTX_new());
  Require(context != nullptr);
  Require(EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) == 1);
  StreamFile(path, [&context](const unsigned char* data, size_t length) {
    Require(EVP_DigestUpdate(context.get(), data, length) == 1);
  });
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  Require(EVP_DigestFinal_ex(context.get(), digest, &length) == 1);
  return UpperHex(
      QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length)));
}

QString ChecksumOfFile(const QString& kind, const QString& path) {
  if (kind == QLatin1String("SFV"))
    return FileCrc32(path);
  if (kind == QLatin1String("MD5"))
    return FileMd5(path);
  return QString();
}
