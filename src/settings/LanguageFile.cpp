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

void ApplyLanguageToModel(ReleaseModel& model, const LanguageFile& language) {
  for (const Message message : kMessages) {
    const QByteArray key = QByteArray::number(static_cast<int>(message));
    model.Messages.Set(message, language.Text("TEXTS", key.constData()));
  }
  QStringList note = TextFile::SplitLines(model.Info.NoteText);
  const QString firstLine = language.Text("LABELS", "6028");
  if (note.isEmpty()) {
    note.append(firstLine);
  } else {
    note[0] = firstLine;
  }
  model.Info.NoteText = note.join(QLatin1Char('\n'));
  model.StatusText = model.Messages.Text(Message::StatusNotSaved);
}

void ApplyLanguage(ReleaseModel& model, const QString& name) {
  LanguageFile language;
  language.Load(LanguageFile::PathFor(model.Run.ProgramDir, name));
  ApplyLanguageToModel(model, language);
}
