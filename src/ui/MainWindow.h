#pragma once

#include "session/ReleaseSession.h"
#include "ui/Captions.h"
#include "ui/WindowPrompts.h"
#include "update/UpdateCheck.h"

#include <QDateTime>
#include <QMainWindow>
#include <functional>
#include <memory>

class AboutBox;
class DiffFilesDialog;
class FolderPage;
class NfoPage;
class OptionsDialog;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class ReleasePage;
class SecondaryWindow;
class TracksPage;

// The product's donation page, which the picture on page 1 opens in the web browser.
QString DonationAddress();

// TMain: the four pages of the job around the session's release model. The controls hold what
// the user sees and edits; before a command they are copied into the model, after one the model
// is copied back, and every command itself is the session's.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The local date and time: the program's start time and the post date of every analysis.
  using Clock = std::function<QDateTime()>;

  // The main window's start-up: the session opens in programDir (settings' start-up values, the
  // list files, the note), the caption, the hidden fourth tab, the window size, the rules between
  // controls, the update check when the settings ask for it, and drops are accepted.
  MainWindow(ReleaseSession& session, WindowPrompts& prompts, const QString& programDir,
             Clock clock = {}, const UpdateCheckPlaces& updatePlaces = DefaultUpdateCheckPlaces());
  ~MainWindow() override;

  // Program start, step 4: the options dialog, the about box and the mixed-format warning.
  void CreateDialogs();
  // Program start, steps 5 and 6: every setting into the controls, the language applied, the
  // "Sumy kontrolne" box following the checksum option.
  void LoadSettings();
  void ShowCentred();

  // Applies lang/<name> to the session's messages and to the captions of every window.
  void ApplyLanguage(const QString& name);
  // Every caption of every window that a language file sets.
  QList<CaptionKey> CaptionKeys();

  // An analysis (and its checksum pass) is running: other commands wait for it.
  bool Busy() const { return run_ != nullptr; }

  QTabWidget* Pages() const { return pages_; }
  FolderPage* Folder() const { return folder_; }
  TracksPage* Tracks() const { return tracks_; }
  ReleasePage* Release() const { return release_; }
  NfoPage* Nfo() const { return nfo_; }
  OptionsDialog* Options() const { return options_.get(); }
  AboutBox* About() const { return about_.get(); }
  DiffFilesDialog* MixedFormats() const { return mixedFormats_.get(); }
  QLabel* Status() const { return status_; }
  QAction* SaveAction() const { return save_; }
  QAction* ExitAction() const { return exit_; }
  QAction* SettingsAction() const { return settings_; }
  QAction* AboutAction() const { return aboutAction_; }

 signals:
  // The analysis started by "Dalej >" has ended, however it ended.
  void AnalysisEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenu();
  void StartUpdateCheck(const UpdateCheckPlaces& places, bool checkUpdate);
  void ConnectCommands();
  void ScanFolder(const QString& folder);
  void ShowScanResult(const std::optional<MixedFormatWarning>& warning);
  void BrowseForFolder();
  void StartAnalysis();
  void AdvanceAnalysis();
  void EndAnalysis();
  void ShowAnalysisEnd(AnalysisRun::Phase phase);
  void HoldCommands(bool hold);
  void ComposePreview();
  void SaveFromPage();
  void SaveFromMenu();
  void ReportSave(const std::function<SaveResult()>& save);
  void ConfirmOptions();
  void ShowSecondary(SecondaryWindow* window);
  void ShowModel();
  void StoreControls();
  void FollowRules();
  void ApplyCaptionsToWindows();
  QList<SecondaryWindow*> SecondaryWindows() const;

  ReleaseSession& session_;
  WindowPrompts& prompts_;
  QString programDir_;
  Clock clock_;
  QTabWidget* pages_;
  FolderPage* folder_;
  TracksPage* tracks_;
  ReleasePage* release_;
  NfoPage* nfo_;
  QLabel* status_;
  QMenu* fileMenu_;
  QMenu* optionsMenu_;
  QMenu* helpMenu_;
  QAction* save_;
  QAction* exit_;
  QAction* settings_;
  QAction* aboutAction_;
  std::unique_ptr<OptionsDialog> options_;
  std::unique_ptr<AboutBox> about_;
  std::unique_ptr<DiffFilesDialog> mixedFormats_;
  std::unique_ptr<AnalysisRun> run_;
  std::unique_ptr<UpdateCheck> updateCheck_;
  QTimer* nextSlice_;
  bool acceptDrops_ = false;
};
