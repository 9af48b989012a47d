#pragma once

#include <QString>
#include <optional>
#include <stdexcept>
#include <stop_token>

// Checksums of whole track files, as the checksum lists and the track list show them. Files are
// opened by their Unicode path for reading, other readers allowed; a file that cannot be opened,
// or that another handle holds open for writing, throws FileError "Cannot open file %s".

// The checksum kinds the options offer: CRC-32 for SFV lists, MD5 for MD5 lists.
enum class ChecksumKind { None, Sfv, Md5 };
// "SFV" and "MD5", compared exactly; any other text selects no checksum and no list.
ChecksumKind ParseChecksumKind(const QString& text);

// MD5 comes from the system's crypto library, loaded when the first digest is made. Without it
// (or with a broken one) every MD5 throws this; no file can cause it.
class ChecksumUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// CRC-32 (the zip/PNG polynomial) as 8 upper-case hexadecimal digits.
QString FileCrc32(const QString& path);

// MD5 digest as 32 upper-case hexadecimal digits.
QString FileMd5(const QString& path);

// FileCrc32 for SFV, FileMd5 for MD5; no kind gives an empty text without touching the file.
QString ChecksumOfFile(ChecksumKind kind, const QString& path);

// The same for a caller that may give up on a long file: the stop request is looked at between
// blocks, and a file abandoned that way gives nothing instead of a checksum.
std::optional<QString> ChecksumOfFile(ChecksumKind kind, const QString& path, std::stop_token stop);
