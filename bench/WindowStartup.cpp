#include "WindowStartup.h"

#include "BenchDesktop.h"
#include "session/ReleaseSession.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QEvent>
#include <QProcess>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int kChildTimeoutMs = 60 * 1000;

// The platform window of the main window; the splash window has one of its own.
bool IsMainWindow(QObject* platformWindow) {
  const QWidgetList windows = QApplication::topLevelWidgets();
  return std::any_of(windows.begin(), windows.end(), [platformWindow](QWidget* widget) {
    return widget->windowHandle() == platformWindow && qobject_cast<MainWindow*>(widget);
  });
}

// Watches the whole application from before the main window exists, since a platform may
// deliver its first expose while it is being shown. The expose is painted while it is delivered,
// so the queued call that this posts runs once the picture is done.
class FirstExpose : public QObject {
 public:
  explicit FirstExpose(std::function<void()> shown) : shown_(std::move(shown)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto* window = qobject_cast<QWindow*>(watched);
    if (!seen_ && event->type() == QEvent::Expose && window && window->isExposed() &&
        IsMainWindow(watched)) {
      seen_ = true;
      QTimer::singleShot(0, this, shown_);
    }
    return false;
  }

 private:
  std::function<void()> shown_;
  bool seen_ = false;
};

// One start in a fresh process: its figure in milliseconds, nothing when it failed.
std::optional<double> StartOnce(const QString& programDir) {
  QProcess child;
  child.setWorkingDirectory(programDir);
  child.setProcessChannelMode(QProcess::SeparateChannels);
  child.setStandardErrorFile(QProcess::nullDevice());
  const int64_t spawnedAt = SteadyNowNs();
  child.start(QCoreApplication::applicationFilePath(),
              {QString::fromLatin1(kStartupChildMode), programDir, QString::number(spawnedAt)});
  if (!child.waitForFinished(kChildTimeoutMs) || child.exitStatus() != QProcess::NormalExit ||
      child.exitCode() != 0)
    return std::nullopt;
  bool ok = false;
  const double ms = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toDouble(&ok);
  return ok ? std::optional<double>(ms) : std::nullopt;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int64_t SteadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

int RunStartups(const QString& programDir, int runs) {
  std::vector<double> figures;
  for (int run = 0; run <= runs; ++run) {
    const std::optional<double> ms = StartOnce(programDir);
    if (!ms) {
      std::fprintf(stderr, "velmora_window_bench: a start in %s failed\n", qPrintable(programDir));
      return 1;
    }
    if (run > 0)
      figures.push_back(*ms);
  }
  const auto [least, most] = std::minmax_element(figures.begin(), figures.end());
  std::printf("window-startup runs=%d median_ms=%.3f min_ms=%.3f max_ms=%.3f\n", runs,
              Median(figures), *least, *most);
  return 0;
}

int RunStartupChild(const QString& programDir, int64_t spawnedAtNs) {
  BenchPrompts prompts;
  ReleaseSession session;
  double shownMs = -1;
  FirstExpose firstExpose([&] {
    shownMs = static_cast<double>(SteadyNowNs() - spawnedAtNs) / 1e6;
    QCoreApplication::quit();
  });
  const std::unique_ptr<MainWindow> window =
      StartProgram(session, prompts, programDir, {}, NowhereToCheck());
  QTimer::singleShot(kChildTimeoutMs, &QCoreApplication::quit);
  QCoreApplication::exec();
  // The tabs have no captions but the language file's: without them the start was not complete.
  if (shownMs < 0 || window->Pages()->tabText(0).isEmpty())
    return 1;
  std::printf("%.3f\n", shownMs);
  return 0;
}
