#pragma once

#include "model/Messages.h"
#include "platform/IniFile.h"

#include <QString>
#include <memory>

// A language file ("lang/<name>" under ProgramDir): INI text in the 8-bit code page, one section
// per kind of control plus the TEXTS messages. Whatever is missing reads as the empty text, and
// an applied empty text still replaces the caption it belongs to.
class LanguageFile {
 public:
  LanguageFile();
  static QString PathFor(const QString& programDir, const QString& name);

  // A file that does not exist loads as an empty one (returns false).
  bool Load(const QString& path);
  QString Text(const char* section, const char* key) const;

 private:
  std::unique_ptr<IniFile> ini_;
};

// Applies what the core keeps of a language: the eight messages and the first line of the note
// text (LABELS "6028"). The status text that follows is message 9001.
void ApplyLanguageTexts(const LanguageFile& language, MessageTable& messages, QString& noteText);
