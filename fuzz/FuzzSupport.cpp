#include "FuzzSupport.h"

#include "platform/UserLocale.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzzing {

void InitialiseProcess() {
  static int argc = 1;
  static char name[] = "velmora-fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));
}

const QString& ScratchFolder() {
  static const auto folder = [] {
    auto dir =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX"));
    Require(dir->isValid(), "cannot create the scratch folder");
    return dir;
  }();
  static const QString path = folder->path();
  return path;
}

QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size) {
  const QString path = QDir(ScratchFolder()).filePath(name);
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the scratch file");
  Require(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
              static_cast<qint64>(size),
          "short write of the scratch file");
  return path;
}

QByteArray BytesOf(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "fuzz property violated: %s\n", what);
  std::abort();
}

}  // namespace fuzzing
