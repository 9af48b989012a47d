#pragma once

#include "platform/CodePage.h"

#include <QString>
#include <memory>

// A Windows-style INI file: sections and keys compared without regard to case, "key=value"
// lines without blanks, values stored in the 8-bit code page. Sections and keys that the program
// does not know are kept as they were when the file is written back.
class IniFile {
 public:
  explicit IniFile(const CodePage& codePage = CodePage::System());
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // Loads the file; a missing or unreadable file gives an empty one (returns false).
  bool Load(const QString& path);
  // Loads from bytes (for tests and for files already in memory).
  void LoadBytes(const QByteArray& bytes);

  bool Has(const QString& section, const QString& key) const;
  QString Read(const QString& section, const QString& key,
               const QString& fallback = QString()) const;
  void Write(const QString& section, const QString& key, const QString& value);

  QByteArray SaveBytes() const;
  // Writes through a temporary file; throws FileError "Cannot create file %s".
  void Save(const QString& path) const;

 private:
  struct Impl;
  CodePage codePage_;
  std::unique_ptr<Impl> impl_;
};
