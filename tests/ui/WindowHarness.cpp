#include "WindowHarness.h"

#include "ui/FolderPage.h"
#include "ui/NfoPage.h"
#include "ui/ProgramStart.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

WindowHarness::WindowHarness(const QString& programDir, MainWindow::Clock clock,
                             const UpdateCheckPlaces& updatePlaces)
    : window_(StartProgram(session, prompts, programDir, std::move(clock), updatePlaces)) {}

UpdateCheckPlaces WindowHarness::NowhereToCheck() {
  return {QStringLiteral("http://127.0.0.1:9/music/version.ini"), QDir::tempPath(),
          QDir::tempPath()};
}

WindowHarness::~WindowHarness() = default;

void WindowHarness::ChooseFolder(const QString& folder) {
  prompts.FolderToChoose = folder;
  QTest::mouseClick(&Control<QPushButton>(*window_, "Browse"), Qt::LeftButton);
}

bool WindowHarness::Analyse() {
  QSignalSpy ended(window_.get(), &MainWindow::AnalysisEnded);
  QTest::mouseClick(&Control<QPushButton>(*window_, "NextFromFolder"), Qt::LeftButton);
  return !ended.isEmpty() || ended.wait(120000);
}

QString WindowHarness::ShowNfoPage() {
  window_->Pages()->setCurrentWidget(window_->Nfo());
  return Control<QPlainTextEdit>(*window_, "NfoText").toPlainText();
}

void CopyShippedLanguages(const QString& programDir) {
  const QDir shipped(QStringLiteral(VELMORA_PROGRAM_DATA "/lang"));
  QDir(programDir).mkpath(QStringLiteral("lang"));
  for (const QString& name : shipped.entryList({QStringLiteral("*.lng")}, QDir::Files)) {
    QFile::copy(shipped.filePath(name), programDir + QStringLiteral("/lang/") + name);
  }
}
