#include "platform/IniFile.h"

#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include "platform/FileStream.h"
#include "platform/TextFile.h"

#include <string>

namespace {
constexpr int64_t kMaxIniBytes = 16 * 1024 * 1024;
}

struct IniFile::Impl {
  CSimpleIniA ini{/*isUtf8=*/false, /*multiKey=*/false, /*multiLine=*/false};
};

IniFile::IniFile(const CodePage& codePage) : codePage_(codePage), impl_(std::make_unique<Impl>()) {
  impl_->ini.SetSpaces(false);
}

IniFile::~IniFile() = default;

bool IniFile::Load(const QString& path) {
  impl_->ini.Reset();
  FileHandle file(path);
  if (!file.IsValid())
    return false;
  const int64_t size = std::min(file.Size(), kMaxIniBytes);
  if (size < 0)
    return false;
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  bytes.resize(static_cast<qsizetype>(file.Read(bytes.data(), size)));
  LoadBytes(bytes);
  return true;
}

void IniFile::LoadBytes(const QByteArray& bytes) {
  impl_->ini.Reset();
  impl_->ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool IniFile::Has(const QString& section, const QString& key) const {
  return impl_->ini.GetValue(codePage_.FromUnicode(section).constData(),
                             codePage_.FromUnicode(key).constData(), nullptr) != nullptr;
}

QString IniFile::Read(const QString& section, const QString& key, const QString& fallback) const {
  const char* value = impl_->ini.GetValue(codePage_.FromUnicode(section).constData(),
                                          codePage_.FromUnicode(key).constData(), nullptr);
  return value == nullptr ? fallback : codePage_.ToUnicode(QByteArray(value));
}

void IniFile::Write(const QString& section, const QString& key, const QString& value) {
  // Line breaks inside a value would start new lines of their own in the file.
  QString flat = value;
  flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  impl_->ini.SetValue(codePage_.FromUnicode(section).constData(),
                      codePage_.FromUnicode(key).constData(),
                      codePage_.FromUnicode(flat).constData());
}

QByteArray IniFile::SaveBytes() const {
  std::string out;
  impl_->ini.Save(out, /*addSignature=*/false);
  // Windows-style files: CR LF after every line.
  QByteArray bytes = QByteArray::fromStdString(out);
  bytes.replace("\r\n", "\n");
  bytes.replace("\n", "\r\n");
  return bytes;
}

void IniFile::Save(const QString& path) const {
  TextFile::WriteBytes(path, SaveBytes());
}
