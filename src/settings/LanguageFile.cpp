#include "settings/LanguageFile.h"

#include "platform/TextFile.h"

#include <QDir>

LanguageFile::LanguageFile() : ini_(std::make_unique<IniFile>()) {}

QString LanguageFile::PathFor(const QString& programDir, const QString& name) {
  return QDir(programDir).filePath(QStringLiteral("lang/") + name);
}

bool LanguageFile::Load(const QString& path) {
  return ini_->Load(path);
}

QString LanguageFile::Text(const char* section, const char* key) const {
  return ini_->Read(QString::fromLatin1(section), QString::fromLatin1(key));
}

void ApplyLanguageTexts(const LanguageFile& language, MessageTable& messages, QString& noteText) {
  for (const Message message : kMessages) {
    const QByteArray key = QByteArray::number(static_cast<int>(message));
    messages.Set(message, language.Text("TEXTS", key.constData()));
  }
  QStringList note = TextFile::SplitLines(noteText);
  const QString firstLine = language.Text("LABELS", "6028");
  if (note.isEmpty()) {
    note.append(firstLine);
  } else {
    note[0] = firstLine;
  }
  noteText = note.join(QLatin1Char('\n'));
}
