#include "WindowAnalysis.h"

#include "BenchDesktop.h"
#include "ResponsivenessProbe.h"
#include "platform/FileAccessHook.h"
#include "session/ReleaseSession.h"
#include "ui/ProgramStart.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

// The probe ticks for a while before the click, so that the first gap measured is the click's.
constexpr int kIdleBeforeClickMs = 20;
constexpr int kTimeoutMs = 10 * 60 * 1000;

// The checksum pass as asked, no language file (the built-in captions stay) and no update check,
// whose download would only share the machine with the pass.
bool WriteSettings(const QString& programDir, const QString& checksumKind) {
  const QByteArray autoCrc = checksumKind.isEmpty() ? "0" : "1";
  const QByteArray kind = checksumKind.isEmpty() ? QByteArray("SFV") : checksumKind.toLatin1();
  const QByteArray text =
      "[Velmora]\nautocrc=" + autoCrc + "\ncrc=" + kind + "\nlanguage=\ncheckupdate=0\n";
  QFile file(programDir + QStringLiteral("/nfo.ini"));
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

double MsBetween(int64_t fromNs, int64_t toNs) {
  return static_cast<double>(toNs - fromNs) / 1e6;
}

// "...": the folder is scanned within the click.
double ChooseFolder(MainWindow& window, BenchPrompts& prompts, const QString& folder,
                    const ResponsivenessProbe& probe) {
  prompts.FolderToChoose = folder;
  const int64_t start = probe.Now();
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Browse")), Qt::LeftButton);
  return MsBetween(start, probe.Now());
}

// The click on "Dalej >" and AnalysisEnded, on the probe's clock; Ended stays negative when the
// analysis did not end in time.
struct AnalysisSpan {
  int64_t Clicked = 0;
  int64_t Ended = -1;
};

// "Dalej >", clicked from the event loop as a user's click arrives. The probe records from its
// last tick before the click until AnalysisEnded.
AnalysisSpan Analyse(MainWindow& window, ResponsivenessProbe& probe) {
  QEventLoop loop;
  AnalysisSpan span;
  QObject::connect(&window, &MainWindow::AnalysisEnded, &loop, [&] {
    span.Ended = probe.Now();
    probe.StopRecording();
    loop.quit();
  });
  QTimer::singleShot(kIdleBeforeClickMs, &loop, [&] {
    probe.StartRecording();
    span.Clicked = probe.Now();
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("NextFromFolder")),
                      Qt::LeftButton);
  });
  QTimer::singleShot(kTimeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  return span;
}

// Where the long gaps fell, counted from the click, for finding what held the window up.
void PrintGapsOver(double thresholdMs, const std::vector<Gap>& gaps, int64_t clicked) {
  for (const Gap& gap : gaps) {
    if (MsBetween(0, gap.Length) > thresholdMs)
      std::printf("window-gap from_ms=%.3f length_ms=%.3f\n", MsBetween(clicked, gap.Start),
                  MsBetween(0, gap.Length));
  }
}

const char* KindName(const QString& checksumKind) {
  return checksumKind.isEmpty() ? "none" : (checksumKind == QLatin1String("MD5") ? "MD5" : "SFV");
}

int Fail(const QString& why) {
  std::fprintf(stderr, "velmora_window_bench: %s\n", qPrintable(why));
  return 1;
}

}  // namespace

int RunWindowAnalysis(const QString& checksumKind, const QString& folder, double gapsOverMs) {
  QTemporaryDir programDir;
  if (!programDir.isValid() || !WriteSettings(programDir.path(), checksumKind))
    return Fail(QStringLiteral("cannot write the program folder's nfo.ini"));
  BenchPrompts prompts;
  ReleaseSession session;
  const std::unique_ptr<MainWindow> window =
      StartProgram(session, prompts, programDir.path(), {}, NowhereToCheck());
  if (!QTest::qWaitForWindowExposed(window.get()))
    return Fail(QStringLiteral("the window was never shown"));
  ResponsivenessProbe probe;
  const double scanMs = ChooseFolder(*window, prompts, folder, probe);
  if (!session.State().Scan.AnalysisEnabled())
    return Fail(QStringLiteral("no audio files in %1").arg(folder));
  const AnalysisSpan span = Analyse(*window, probe);
  if (span.Ended < 0 || !session.State().Run.AnalysisDone || !prompts.Shown.isEmpty())
    return Fail(QStringLiteral("the analysis did not finish: %1")
                    .arg(prompts.Shown.join(QStringLiteral(" / "))));
  if (gapsOverMs >= 0)
    PrintGapsOver(gapsOverMs, probe.Gaps(), span.Clicked);
  const GapFigures gaps = SummariseGaps(probe.Gaps());
  std::printf(
      "window-analysis checksum=%s tracks=%d scan_ms=%.3f wall_ms=%.3f max_gap_ms=%.3f "
      "p99_gap_ms=%.3f ticks=%zu\n",
      KindName(checksumKind), session.State().Scan.TrackCount, scanMs,
      MsBetween(span.Clicked, span.Ended), gaps.MaxMs, gaps.P99Ms, probe.Gaps().size());
  return 0;
}

int RunSlowShare(const QString& folder, int delayMs, int watchMs) {
  QTemporaryDir programDir;
  if (!programDir.isValid() || !WriteSettings(programDir.path(), QString()))
    return Fail(QStringLiteral("cannot write the program folder's nfo.ini"));
  // Every open and every read of the album's files takes delayMs, as on a share that answers
  // slowly; the program's own files answer at once.
  const QString prefix = QDir::cleanPath(folder) + QLatin1Char('/');
  SetFileAccessHook([prefix, delayMs](const QString& path, FileAccess) {
    if (path.startsWith(prefix))
      std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
  });
  BenchPrompts prompts;
  ReleaseSession session;
  std::unique_ptr<MainWindow> window =
      StartProgram(session, prompts, programDir.path(), {}, NowhereToCheck());
  if (!QTest::qWaitForWindowExposed(window.get()))
    return Fail(QStringLiteral("the window was never shown"));
  ResponsivenessProbe probe;
  ChooseFolder(*window, prompts, folder, probe);
  if (!session.State().Scan.AnalysisEnabled())
    return Fail(QStringLiteral("no audio files in %1").arg(folder));

  // "Dalej >", then the window is watched while the tracks come in, then it is closed.
  QEventLoop loop;
  probe.StartRecording();
  QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("NextFromFolder")),
                    Qt::LeftButton);
  QTimer::singleShot(watchMs, &loop, &QEventLoop::quit);
  loop.exec();
  probe.StopRecording();
  const int tracksRead = session.State().Scan.TrackCount;
  QElapsedTimer closing;
  closing.start();
  window->close();
  const double closeMs = static_cast<double>(closing.nsecsElapsed()) / 1e6;
  window.reset();
  SetFileAccessHook({});
  const GapFigures gaps = SummariseGaps(probe.Gaps());
  std::printf(
      "window-slowshare delay_ms=%d watched_ms=%d tracks_read=%d max_gap_ms=%.3f p99_gap_ms=%.3f "
      "close_ms=%.3f\n",
      delayMs, watchMs, tracksRead, gaps.MaxMs, gaps.P99Ms, closeMs);
  return 0;
}
