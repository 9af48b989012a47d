#include "checksums/Checksums.h"

#include "platform/FileError.h"
#include "platform/FileStream.h"

#include <dlfcn.h>
#include <libdeflate.h>
#include <openssl/evp.h>
#include <openssl/opensslv.h>

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace {

// Half a megabyte per read keeps system calls rare and the block in the core's own cache while it
// is hashed; the result does not depend on the block size.
constexpr int64_t kBlockSize = 512 * 1024;

// One block buffer per thread, reused for every file: a fresh buffer per file would cost page
// faults (and zeroing) on every one of a thousand small tracks.
unsigned char* BlockBuffer() {
  thread_local const std::unique_ptr<unsigned char[]> buffer =
      std::make_unique_for_overwrite<unsigned char[]>(kBlockSize);
  return buffer.get();
}

// A checksum of a file that another program wrote to while it was read matches neither what the
// file was nor what it is: the bytes read must be the size it had when it was opened, and a fresh
// look at it must still show that size and modification time.
void RequireUnchanged(const FileStream& file, int64_t bytesRead) {
  if (bytesRead != file.Size() || !file.UnchangedSinceOpened()) {
    throw FileError(
        QStringLiteral("File changed while its checksum was computed: %1").arg(file.Path()));
  }
}

// Feeds the whole file to consume(data, length), block by block, straight from the reads at
// increasing offsets. False when a stop was requested before the end of the file.
template <typename Consume>
bool StreamFile(const QString& path, const std::stop_token& stop, Consume consume) {
  FileStream file(path);
  unsigned char* block = BlockBuffer();
  for (int64_t offset = 0;; offset += kBlockSize) {
    if (stop.stop_requested())
      return false;
    const int64_t got = file.ReadAt(offset, block, kBlockSize);
    if (got > 0)
      consume(block, static_cast<size_t>(got));
    // A short read is the end of the file (or a read error, which ends it just the same).
    if (got < kBlockSize) {
      RequireUnchanged(file, offset + std::max<int64_t>(got, 0));
      return true;
    }
  }
}

QString UpperHex(const QByteArray& bytes) {
  return QString::fromLatin1(bytes.toHex().toUpper());
}

#define VELMORA_CRYPTO_LIBRARY "libcrypto.so." QT_STRINGIFY(OPENSSL_VERSION_MAJOR)

// Only a missing or broken crypto library fails here; no file can cause it.
void Require(bool ok) {
  if (!ok) {
    throw ChecksumUnavailable(
        "MD5 checksums are unavailable: the crypto library " VELMORA_CRYPTO_LIBRARY
        " cannot be loaded");
  }
}

// libcrypto is opened on the first MD5 instead of being linked: loading and relocating it takes
// about as long at every start of the program as analysing two hundred small tracks, and most
// runs hash with CRC-32 or not at all.
struct Md5Library {
  decltype(&EVP_MD_CTX_new) newContext = nullptr;
  decltype(&EVP_MD_CTX_free) freeContext = nullptr;
  decltype(&EVP_md5) md5 = nullptr;
  decltype(&EVP_DigestInit_ex) init = nullptr;
  decltype(&EVP_DigestUpdate) update = nullptr;
  decltype(&EVP_DigestFinal_ex) final = nullptr;
};

template <typename Function>
void Bind(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  Require(function != nullptr);
}

Md5Library OpenMd5Library() {
  void* library = dlopen(VELMORA_CRYPTO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  Require(library != nullptr);
  Md5Library functions;
  Bind(library, "EVP_MD_CTX_new", functions.newContext);
  Bind(library, "EVP_MD_CTX_free", functions.freeContext);
  Bind(library, "EVP_md5", functions.md5);
  Bind(library, "EVP_DigestInit_ex", functions.init);
  Bind(library, "EVP_DigestUpdate", functions.update);
  Bind(library, "EVP_DigestFinal_ex", functions.final);
  return functions;  // the library stays loaded for the rest of the run
}

const Md5Library& Crypto() {
  static const Md5Library library = OpenMd5Library();
  return library;
}

struct DigestContextDeleter {
  void operator()(EVP_MD_CTX* context) const { Crypto().freeContext(context); }
};
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextDeleter>;

std::optional<QString> Crc32OfFile(const QString& path, const std::stop_token& stop) {
  uint32_t crc = 0;  // libdeflate takes the finished value of the part before as its start
  const bool complete = StreamFile(path, stop, [&crc](const unsigned char* data, size_t length) {
    crc = libdeflate_crc32(crc, data, length);
  });
  if (!complete)
    return std::nullopt;
  QByteArray bigEndian(4, Qt::Uninitialized);
  for (int i = 0; i < 4; ++i)
    bigEndian[i] = static_cast<char>(crc >> (24 - 8 * i) & 0xFF);
  return UpperHex(bigEndian);
}

std::optional<QString> Md5OfFile(const QString& path, const std::stop_token& stop) {
  const Md5Library& crypto = Crypto();
  const DigestContext context(crypto.newContext());
  Require(context != nullptr);
  Require(crypto.init(context.get(), crypto.md5(), nullptr) == 1);
  const bool complete = StreamFile(path, stop, [&](const unsigned char* data, size_t length) {
    Require(crypto.update(context.get(), data, length) == 1);
  });
  if (!complete)
    return std::nullopt;
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  Require(crypto.final(context.get(), digest, &length) == 1);
  return UpperHex(
      QByteArray(reinterpret_cast<const char*>(digest), static_cast<qsizetype>(length)));
}

}  // namespace

ChecksumKind ParseChecksumKind(const QString& text) {
  if (text == QLatin1String("SFV"))
    return ChecksumKind::Sfv;
  if (text == QLatin1String("MD5"))
    return ChecksumKind::Md5;
  return ChecksumKind::None;
}

QString FileCrc32(const QString& path) {
  return *Crc32OfFile(path, std::stop_token());
}

QString FileMd5(const QString& path) {
  return *Md5OfFile(path, std::stop_token());
}

QString ChecksumOfFile(ChecksumKind kind, const QString& path) {
  return *ChecksumOfFile(kind, path, std::stop_token());
}

std::optional<QString> ChecksumOfFile(ChecksumKind kind, const QString& path,
                                      std::stop_token stop) {
  switch (kind) {
    case ChecksumKind::Sfv:
      return Crc32OfFile(path, stop);
    case ChecksumKind::Md5:
      return Md5OfFile(path, stop);
    case ChecksumKind::None:
      break;
  }
  return QString();
}
