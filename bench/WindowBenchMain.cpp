// velmora_window_bench: the real window, driven as a user drives it and measured from outside.
// It prints figures in "name key=value ..." lines and judges none of them; bench/compare.sh sets
// them beside velmora-cli's and against their targets.

#include "WindowAnalysis.h"
#include "WindowStartup.h"
#include "platform/ProductInfo.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>

namespace {

constexpr char kUsage[] =
    "Usage: velmora_window_bench analyse --checksum sfv|md5|none [--gaps-over MS] FOLDER\n"
    "       velmora_window_bench startup [--runs N] PROGRAM_FOLDER\n"
    "       velmora_window_bench slowshare --delay-ms MS --watch-ms MS FOLDER\n"
    "Runs offscreen unless QT_QPA_PLATFORM names another platform.\n";

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

// "analyse --checksum KIND [--gaps-over MS] FOLDER"
int Analyse(const QStringList& args) {
  const QStringList kinds = {QStringLiteral("sfv"), QStringLiteral("md5"), QStringLiteral("none")};
  if ((args.size() != 4 && args.size() != 6) || args[1] != QLatin1String("--checksum") ||
      !kinds.contains(args[2]))
    return Usage();
  double gapsOverMs = -1;
  if (args.size() == 6) {
    bool ok = false;
    gapsOverMs = args[4].toDouble(&ok);
    if (args[3] != QLatin1String("--gaps-over") || !ok || gapsOverMs < 0)
      return Usage();
  }
  const QString kind = args[2] == QLatin1String("none") ? QString() : args[2].toUpper();
  return RunWindowAnalysis(kind, args.last(), gapsOverMs);
}

// "startup [--runs N] PROGRAM_FOLDER"
int Startup(const QStringList& args) {
  int runs = 10;
  bool ok = true;
  if (args.size() == 4 && args[1] == QLatin1String("--runs"))
    runs = args[2].toInt(&ok);
  else if (args.size() != 2)
    return Usage();
  if (!ok || runs < 1)
    return Usage();
  return RunStartups(args.last(), runs);
}

// "slowshare --delay-ms MS --watch-ms MS FOLDER"
int SlowShare(const QStringList& args) {
  bool delayOk = false;
  bool watchOk = false;
  if (args.size() != 6 || args[1] != QLatin1String("--delay-ms") ||
      args[3] != QLatin1String("--watch-ms"))
    return Usage();
  const int delayMs = args[2].toInt(&delayOk);
  const int watchMs = args[4].toInt(&watchOk);
  if (!delayOk || !watchOk || delayMs < 0 || watchMs < 1)
    return Usage();
  return RunSlowShare(args.last(), delayMs, watchMs);
}

int StartupChild(const QStringList& args) {
  bool ok = false;
  const int64_t spawnedAt = args.size() == 3 ? args[2].toLongLong(&ok) : 0;
  return ok ? RunStartupChild(args[1], spawnedAt) : Usage();
}

}  // namespace

int main(int argc, char** argv) {
  // Headless by default, so that it runs over ssh and beside other work on the same display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // As velmora itself starts: the child mode's figure includes this.
  QApplication app(argc, argv);
  QApplication::setApplicationName(ProgramName());
  const QStringList args = QCoreApplication::arguments().mid(1);
  const QString mode = args.value(0);
  if (mode == QLatin1String("analyse"))
    return Analyse(args);
  if (mode == QLatin1String("startup"))
    return Startup(args);
  if (mode == QLatin1String("slowshare"))
    return SlowShare(args);
  if (mode == QLatin1String(kStartupChildMode))
    return StartupChild(args);
  return Usage();
}
