#pragma once

#include "session/ReleaseSession.h"
#include "ui/CaptionTable.h"
#include "ui/FieldBinding.h"
#include "ui/WindowPrompts.h"
#include "update/UpdateCheck.h"

#include <QDateTime>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <thread>

class AboutBox;
class DiffFilesDialog;
class FieldBinder;
class FolderPage;
class LeftOutDialog;
class NfoPage;
class OptionsDialog;
class QualityPage;
class QualityTableModel;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class ReleasePage;
class SecondaryWindow;
class SpectrogramWindow;
class TrackTableModel;
class TracksPage;
class VerificationWindow;

// The product's donation page, which the picture on page 1 opens in the web browser.
QString DonationAddress();

// TMain: the four pages of the job around the session. The window observes the session's signals
// and asks it for its state; every edit of a bound control goes to the session at once, and every
// command is the session's. It decides how a result is shown (a warning window, an error box,
// the progress bar).
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

  // Program start, step 4: the options dialog, the about box and the warning windows.
  void CreateDialogs();
  // Program start, steps 5 and 6: every setting into the controls, the language applied, the
  // "Sumy kontrolne" box following the checksum option.
  void LoadSettings();
  void ShowCentred();

  // Applies lang/<name> to the session's messages and to the captions of every window.
  void ApplyLanguage(const QString& name);
  // What each window does with its captions, by window.
  std::map<CaptionWindow, CaptionSetters> CaptionWindows();
  // The bound controls of every window.
  QList<FieldBinding> Bindings() const;

  // An analysis is running: other commands wait for it.
  bool Busy() const { return session_.Busy(); }

  QTabWidget* Pages() const { return pages_; }
  FolderPage* Folder() const { return folder_; }
  TracksPage* Tracks() const { return tracks_; }
  ReleasePage* Release() const { return release_; }
  NfoPage* Nfo() const { return nfo_; }
  QualityPage* Quality() const { return quality_; }
  SpectrogramWindow* SpectrogramView() const { return spectrogram_.get(); }
  OptionsDialog* Options() const { return options_.get(); }
  AboutBox* About() const { return about_.get(); }
  DiffFilesDialog* MixedFormats() const { return mixedFormats_.get(); }
  LeftOutDialog* LeftOut() const { return leftOut_.get(); }
  QLabel* Status() const { return status_; }
  QAction* SaveAction() const { return save_; }
  QAction* VerifyAction() const { return verify_; }
  VerificationWindow* Verification() const { return verification_.get(); }
  QAction* ExitAction() const { return exit_; }
  QAction* SettingsAction() const { return settings_; }
  QAction* AboutAction() const { return aboutAction_; }

 signals:
  // The analysis started by "Dalej >" has ended, however it ended.
  void AnalysisEnded();
  // The pictures "Save spectrograms" wrote are all written, or writing them failed.
  void SpectrogramsSaved();
  // "Sprawdź sumy kontrolne" has ended, however it ended.
  void VerificationEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenu();
  void StartUpdateCheck(const UpdateCheckPlaces& places, bool checkUpdate);
  void ConnectPages();
  void ConnectSession();
  void BrowseForFolder();
  void ShowScan(const ScanReport& report);
  void StartAnalysis();
  void ShowAnalysisStart();
  void ShowAnalysisEnd(AnalysisOutcome outcome);
  void ShowRelease();
  void ShowUnreadable();
  void ShowQuality();
  void ShowSelectedSpectrogram(int row);
  void SaveSpectrograms();
  void VerifyLists();
  void ShowVerification(const VerificationResult& result);
  void ReportSpectrograms(int written, const QString& failure);
  void HoldCommands(bool hold);
  void ComposePreview();
  void SaveFromPage();
  void SaveFromMenu();
  void ReportSave(const std::function<SaveResult()>& save);
  void ConfirmOptions();
  void ShowSecondary(SecondaryWindow* window);
  void ApplyCaptionsToWindows();
  CaptionSetters MainCaptions();
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
  QualityPage* quality_;
  TrackTableModel* trackModel_;
  QualityTableModel* qualityModel_;
  FieldBinder* binder_;
  QLabel* status_;
  QLabel* unreadable_;
  QString unreadableText_;
  QMenu* fileMenu_;
  QMenu* optionsMenu_;
  QMenu* helpMenu_;
  QAction* save_;
  QAction* verify_;
  QAction* exit_;
  QAction* settings_;
  QAction* aboutAction_;
  QTimer* summaryRefresh_;
  std::unique_ptr<OptionsDialog> options_;
  std::unique_ptr<AboutBox> about_;
  std::unique_ptr<DiffFilesDialog> mixedFormats_;
  std::unique_ptr<LeftOutDialog> leftOut_;
  std::unique_ptr<SpectrogramWindow> spectrogram_;
  std::unique_ptr<VerificationWindow> verification_;
  QString noListsText_;
  QString spectrogramsSavedText_;
  // Draws and writes the spectrogram pictures off the window's thread.
  std::jthread pictureWriter_;
  std::unique_ptr<UpdateCheck> updateCheck_;
  bool acceptDrops_ = false;
};
