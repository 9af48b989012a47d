#pragma once

#include "session/ReleaseSession.h"
#include "ui/MainWindow.h"
#include "ui/WindowPrompts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>
#include <string>

// Stands in for the desktop: records every box a command shows and answers the folder browser
// with a folder set beforehand.
class RecordingPrompts : public WindowPrompts {
 public:
  struct Box {
    QString Text;
    QString Caption;
    Icon Shown = Icon::None;
  };

  void ShowError(QWidget*, const QString& text) override { Errors << text; }
  void ShowMessage(QWidget*, const QString& text, const QString& caption, Icon icon) override {
    Messages.append({text, caption, icon});
  }
  QString ChooseFolder(QWidget*, const QString& start) override {
    StartFolders << start;
    return FolderToChoose;
  }
  void OpenAddress(const QString& address) override { Opened << address; }

  QStringList Errors;
  QList<Box> Messages;
  QString FolderToChoose;
  QStringList StartFolders;
  QStringList Opened;
};

// The window as the program starts it, in a program folder of the test's: main-window start-up,
// the dialogs, the settings and language, shown.
class WindowHarness {
 public:
  // The update check asks a local port where nothing listens unless a test says otherwise: the
  // tests never reach out to the network.
  explicit WindowHarness(const QString& programDir, MainWindow::Clock clock = {},
                         const UpdateCheckPlaces& updatePlaces = NowhereToCheck());
  static UpdateCheckPlaces NowhereToCheck();
  ~WindowHarness();

  MainWindow& Window() { return *window_; }
  const Release& Model() const { return session.State(); }

  // "..." on page 1, with the folder browser answering `folder`.
  void ChooseFolder(const QString& folder);
  // Presses "Dalej >" on page 1 and waits until the analysis has ended; false on a time-out.
  bool Analyse();
  // Shows page 4, which composes the NFO into the preview, and returns the preview's text.
  QString ShowNfoPage();

  RecordingPrompts prompts;
  ReleaseSession session;

 private:
  std::unique_ptr<MainWindow> window_;
};

// Copies the shipped language files into programDir/lang.
void CopyShippedLanguages(const QString& programDir);

// A control by its object name, as screen readers and the tests find it; a missing one fails the
// test that asks for it.
template <class Widget = QWidget>
Widget& Control(const QObject& root, const char* name) {
  auto* found = root.findChild<Widget*>(QString::fromLatin1(name));
  if (!found)
    throw std::runtime_error(std::string("no control named ") + name);
  return *found;
}
