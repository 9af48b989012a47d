#include "audio/AudioEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <dlfcn.h>
#include <mutex>

namespace {

constexpr char kModuleName[] = "libvelmora-audio.so";

QStringList ModuleCandidates() {
  QStringList candidates;
  const QString fromEnvironment = qEnvironmentVariable("VELMORA_AUDIO_MODULE");
  if (!fromEnvironment.isEmpty())
    candidates << fromEnvironment;
  const QString programFolder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  if (!programFolder.isEmpty()) {
    const QDir folder(programFolder);
    candidates << folder.filePath(QLatin1String(kModuleName))
               << QDir::cleanPath(folder.filePath(QStringLiteral(VELMORA_MODULE_FROM_BIN)) +
                                  QLatin1Char('/') + QLatin1String(kModuleName));
  }
  return candidates;
}

struct Loaded {
  const AudioEngine* Engine = nullptr;
  QString Error;
};

Loaded Load() {
  QStringList reasons;
  for (const QString& path : ModuleCandidates()) {
    if (!QFileInfo::exists(path))
      continue;
    // Kept loaded for good: the tracks' loudness states carry the module's code.
    void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      reasons << QString::fromLocal8Bit(dlerror());
      continue;
    }
    using Entry = const AudioEngine* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(module, kAudioEngineSymbol));
    if (entry != nullptr)
      return {entry(), {}};
    reasons << path + QStringLiteral(": no entry point");
  }
  if (reasons.isEmpty())
    reasons << QLatin1String(kModuleName) + QStringLiteral(" not found");
  return {nullptr, QStringLiteral("The audio analysis cannot be loaded: ") +
                       reasons.join(QStringLiteral("; "))};
}

}  // namespace

const AudioEngine* LoadAudioEngine(QString* error) {
  static std::once_flag once;
  static Loaded loaded;
  std::call_once(once, [] { loaded = Load(); });
  if (error != nullptr)
    *error = loaded.Error;
  return loaded.Engine;
}
