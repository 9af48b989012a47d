#include "FuzzSupport.h"

#include "model/ChoiceLists.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"
#include "settings/SettingsStore.h"

#include <QDir>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

namespace {

bool HasLineBreak(const QStringList& lines) {
  for (const QString& line : lines) {
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
      return true;
  }
  return false;
}

// Every CR in a written file is followed by LF and every LF preceded by CR.
bool OnlyCrLfBreaks(const QByteArray& bytes, int unitSize) {
  const auto unitAt = [&](qsizetype index) {
    return unitSize == 1 ? static_cast<unsigned char>(bytes[index])
                         : static_cast<unsigned char>(bytes[index]) |
                               static_cast<unsigned char>(bytes[index + 1]) << 8;
  };
  const qsizetype start = unitSize == 2 ? 2 : 0;  // after FF FE
  const qsizetype units = (bytes.size() - start) / unitSize;
  for (qsizetype i = 0; i < units; ++i) {
    const unsigned unit = unitAt(start + i * unitSize);
    if (unit == '\r' && (i + 1 >= units || unitAt(start + (i + 1) * unitSize) != '\n'))
      return false;
    if (unit == '\n' && (i == 0 || unitAt(start + (i - 1) * unitSize) != '\r'))
      return false;
  }
  return true;
}

void CheckWrittenForms(const QStringList& lines, const CodePage& codePage) {
  const QByteArray eightBit = TextFile::Encode(lines, TextFile::Form::EightBit, codePage);
  fuzzing::Require(OnlyCrLfBreaks(eightBit, 1), "bare CR or LF in an 8-bit file");
  const QByteArray unicode = TextFile::Encode(lines, TextFile::Form::Unicode, codePage);
  fuzzing::Require(OnlyCrLfBreaks(unicode, 2), "bare CR or LF in a Unicode file");
  fuzzing::Require(TextFile::SplitLines(TextFile::Decode(unicode, codePage)) == lines,
                   "lines changed on their way through the Unicode form");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const CodePage& codePage = CodePage::System();
  const QStringList lines =
      TextFile::SplitLines(TextFile::Decode(fuzzing::BytesOf(data, size), codePage));
  fuzzing::Require(!HasLineBreak(lines), "a split line still holds a line break");
  CheckWrittenForms(lines, codePage);

  // The note and a list file, read from the program folder as the program does at start-up.
  fuzzing::WriteScratchFile(QStringLiteral("program/note.txt"), data, size);
  fuzzing::WriteScratchFile(QStringLiteral("program/enc.ini"), data, size);
  const QString programDir = QDir(fuzzing::ScratchFolder()).filePath(QStringLiteral("program"));
  QString note;
  fuzzing::Require(LoadNote(programDir, note, codePage), "the note file could not be read");
  ChoiceLists lists;
  LoadListFiles(programDir, lists, codePage);
  fuzzing::Require(lists.RipperPrograms == lines, "the list file read differently");
  return 0;
}
