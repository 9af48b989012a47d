#pragma once

#include "analysis/AnalysisRun.h"
#include "analysis/ReaderSet.h"
#include "analysis/ReleaseModel.h"
#include "nfo/OutputSaving.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsStore.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

// What the mixed-format warning shows after a scan of a folder that holds several formats.
struct MixedFormatWarning {
  QString Caption;                          // TEXTS 9006
  QString FirstLine;                        // TEXTS 9007
  std::array<int, kFormatCount> Counts{};   // by FormatIndex
  AudioFormat Dominant = AudioFormat::Mp3;  // its row is shown in bold
  QString LastLine;                         // TEXTS 9008, a blank and the dominant extension
};

// A front end's own values for one run, put into the model after the settings file has been read
// and before the language is applied (velmora-cli's options, for instance).
using SettingsOverride = std::function<void(ReleaseModel&)>;

// One release session for a program run: it owns the release model and the seven reader objects
// and offers the job in the order the window runs it. The window and velmora-cli both drive it,
// so that for the same inputs they write the same files; neither assembles the job itself.
//
// Everything runs on the thread that drives the session, except the checksum pass's workers
// (see AnalysisRun). The session never shows anything: results come back as values, failures as
// the file layer's FileError (or ChecksumUnavailable), for the front end to show.
class ReleaseSession {
 public:
  ReleaseSession();
  ~ReleaseSession();
  ReleaseSession(const ReleaseSession&) = delete;
  ReleaseSession& operator=(const ReleaseSession&) = delete;

  ReleaseModel& Model() { return *model_; }
  const ReleaseModel& Model() const { return *model_; }

  // The main window's start-up, in its order: ProgramDir, the start time, the cleared flags and
  // summary, the start-up values of the settings file (DefaultPath, checkupdate and the window
  // size), the five list files and the note. A missing list file or note is skipped.
  const StartupSettings& Open(const QString& programDir,
                              const QDateTime& now = QDateTime::currentDateTime());
  const StartupSettings& Startup() const { return startup_; }

  // Once every window exists: every key of the settings file into the model, then `adjust`, then
  // the language file the settings name (unless applyLanguage is off), then IncludeChecksums from
  // autocrc.
  void LoadSettings(const SettingsOverride& adjust = {}, bool applyLanguage = true);
  // Applies lang/<name> to the model (messages, status text, the note's first line) and keeps the
  // file, whose captions the windows take from Language().
  void ApplyLanguage(const QString& name);
  const LanguageFile& Language() const { return *language_; }

  // The folder browser starts at DefaultPath, which also becomes the folder that a drop of several
  // items scans again, whether or not a folder is chosen.
  QString BeginFolderChoice();
  // Scans a folder chosen or dropped; for a folder of several formats, what the warning shows.
  std::optional<MixedFormatWarning> Scan(const QString& folder);
  // A drop of several items scans the current folder again.
  std::optional<MixedFormatWarning> Rescan() { return Scan(model_->Scan.FolderPath); }

  // "Dalej >" on page 1: the analysis of the scanned tracks, driven by the caller (see
  // AnalysisRun). The run uses the session's readers and must end before the session does.
  std::unique_ptr<AnalysisRun> StartAnalysis(const QDate& today = QDate::currentDate(),
                                             ChecksumJob::Notify notify = {});
  // The same run on the calling thread; false when the stop token ended it early.
  bool Analyse(const AnalysisOptions& options = {});

  // Page 4 shown: the NFO text composed anew from the model.
  void Compose();
  // "Zapisz NFO": saves the preview text and the selected files.
  SaveResult Save();
  // The menu command "Zapisz": composes anew after an analysis, then saves; before any there is
  // nothing to save.
  SaveResult SaveCommand();

  // Writes the settings file (the options dialog's OK).
  void SaveSettings();
  // The exit command and the closing of the window: the settings and the note are written. Both
  // are tried; the first failure is thrown afterwards.
  void Close();

 private:
  std::unique_ptr<ReleaseModel> model_;
  std::unique_ptr<ReaderSet> readers_;
  std::unique_ptr<LanguageFile> language_;
  StartupSettings startup_;
};
