#pragma once

#include "audio/Spectrum.h"
#include "model/ChoiceLists.h"
#include "model/Messages.h"
#include "model/Options.h"
#include "model/Release.h"
#include "session/LogCheck.h"
#include "session/SessionTypes.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsStore.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

// A front end's own values for one run, put into the options and fields after the settings file
// has been read and before the language is applied (velmora-cli's options, for instance).
using SettingsOverride = std::function<void(Options&, ReleaseInfo&)>;

// The one door to the core for every front end: it owns the release, the options, the language's
// texts and every pass, offers the job as commands, hands out its state read-only, takes the
// user's edits through setters and tells what changed through signals. The window only observes
// and asks; velmora-cli drives the same object and waits for its passes, so both write the same
// files for the same inputs.
//
// Commands that start work return at once: the passes over the tracks run on worker threads and
// their results are applied on the session's own thread, in track order, as they come. The
// session never shows anything; failures come back as signals or exceptions with their text.
class ReleaseSession : public QObject {
  Q_OBJECT

 public:
  explicit ReleaseSession(QObject* parent = nullptr);
  // Stops a running pass; returns once its workers have finished the file they are on.
  ~ReleaseSession() override;

  // --- start-up and settings

  // The main window's start-up, in its order: ProgramDir, the start time, the cleared flags and
  // summary, the start-up values of the settings file (DefaultPath, checkupdate and the window
  // size), the five list files and the note. A missing list file or note is skipped.
  const StartupSettings& Open(const QString& programDir,
                              const QDateTime& now = QDateTime::currentDateTime());
  const StartupSettings& Startup() const;
  // Every key of the settings file, then `adjust`, then the language file the settings name
  // (unless applyLanguage is off), then IncludeChecksums from autocrc.
  void LoadSettings(const SettingsOverride& adjust = {}, bool applyLanguage = true);
  // Applies lang/<name>: the messages, the status text, the note's first line; the file is kept
  // for the windows' captions.
  void ApplyLanguage(const QString& name);
  const LanguageFile& Language() const;
  // A caption of the language applied last; empty when the file lacks it.
  QString LanguageText(const char* section, const char* key) const;

  // --- the folder

  // The folder browser starts at DefaultPath, which also becomes the folder that a drop of several
  // items scans again, whether or not a folder is chosen.
  QString BeginFolderChoice();
  // Scans a folder chosen or dropped. A folder other than the one last analysed starts a new
  // release. Emits Scanned.
  ScanReport Scan(const QString& folder);
  ScanReport Rescan();

  // --- the analysis

  // "Dalej >" on page 1: starts the track pass (after it the checksum pass, and the audio pass
  // when the audiopass option is on) and returns at once; false when a pass is running already
  // or there is nothing to analyse.
  bool Analyse(const QDate& today = QDate::currentDate());
  // Asks a running analysis to end; AnalysisFinished(Stopped) follows.
  void Stop();
  // Waits, running an event loop, until the analysis has ended.
  AnalysisOutcome WaitForAnalysis();
  bool Busy() const;

  // --- the checksum lists

  // "Sprawdź sumy kontrolne": checks every SFV and MD5 list of the folder and of its disc folders
  // against the files, on a worker, with progress; VerificationFinished follows. False when a
  // pass is running already.
  bool Verify(const QString& folder);
  // Waits, running an event loop, until the check has ended.
  VerificationResult WaitForVerification();

  // --- the NFO and the files

  // Page 4 shown: the NFO text composed anew.
  void Compose();
  // The bytes the NFO file holds for the preview text as it stands.
  QByteArray NfoBytes() const;
  // The folder the files are saved into, with its trailing "/".
  QString OutputFolder() const;
  // "Zapisz NFO": saves the preview text and the selected files. Throws FileError.
  SaveResult Save();
  // The menu command "Zapisz": composes anew after an analysis, then saves; before any there is
  // nothing to save.
  SaveResult SaveCommand();
  // Writes the settings file (the options dialog's OK).
  void SaveSettings();
  // The exit command and the closing of the window: a running pass stops, the settings and the
  // note are written. Both are tried; the first failure is thrown afterwards.
  void Close();

  // --- state, read-only

  const Release& State() const;
  const Options& Opts() const;
  const ChoiceLists& Lists() const;
  QString MessageText(Message message) const;
  const QString& StatusText() const;
  const ProgressState& CurrentProgress() const;
  // What the scan and the analysis left out or could not read, one line each.
  QStringList Warnings() const;
  // Tracks whose stream could not be read in the last analysis.
  int UnreadableTracks() const;
  // Page 1's lines on the rip logs, cue sheets, pictures and lists beside the audio, and on the
  // logs' check once it ran.
  QStringList ExtrasSummary() const;
  // The rip logs of the release, and each one's check against the audio once it ran.
  const std::vector<FolderLog>& Logs() const;
  const std::vector<CheckedLog>& CheckedLogs() const;
  // The spectrogram of a row's track after the audio pass; nothing when it was not decoded.
  std::optional<Spectrogram> TrackSpectrogram(int row) const;
  // The title its picture carries: the file name, rate and bits.
  QString SpectrogramTitle(int row) const;
  // Every decoded track's picture as it goes into a folder the user picks: "01 - Name.flac.png",
  // inside the disc's folder for a release of several discs. A copy: the pictures may be drawn
  // on another thread.
  std::vector<SpectrogramFile> SpectrogramFiles(const QString& folder) const;

  // --- what the user edits

  template <class Value>
  void SetSummary(Value ReleaseSummary::*field, const Value& value) {
    Edit().Summary.*field = value;
  }
  template <class Value>
  void SetInfo(Value ReleaseInfo::*field, const Value& value) {
    Edit().Info.*field = value;
  }
  template <class Value>
  void SetOption(Value Options::*field, const Value& value) {
    Options& options = EditOptions();
    options.*field = value;
    options.Checksum = ParseChecksumKind(options.ChecksumKindText);
  }
  void SetChecksumKindText(const QString& text);
  void SetNfoText(const QString& text);
  // A field of ReleaseSummary or ReleaseInfo by its model name, from its text form (velmora-cli's
  // --set); false for an unknown name or a malformed value.
  bool SetFieldFromText(const QString& name, const QString& value);

 signals:
  void Scanned(const ScanReport& report);
  void AnalysisStarted();
  // A track's row and the summary after it are filled.
  void TrackRead(int row);
  void ChecksumTaken(int row);
  void VerificationFinished(const VerificationResult& result);
  // The rip logs' check started, and ended with its verdicts (page 1 shows them anew).
  void LogCheckStarted();
  void LogCheckFinished();
  // The audio pass started after the checksum pass: the audio figures were cleared.
  void AudioPassStarted();
  // The audio pass measured a row's track (or found it could not be decoded).
  void AudioMeasured(int row);
  void Progress(const ProgressState& progress);
  void AnalysisFinished(AnalysisOutcome outcome);
  void StatusChanged(const QString& text);
  void Failed(const QString& errorText);
  // Fields the user sees changed by something other than an edit (a new release, the language's
  // note line, the end of an analysis): front ends show them anew.
  void ReleaseChanged();

 private:
  Release& Edit();
  Options& EditOptions();
  void PostPump();
  void Pump();
  void PumpAnalysis();
  void StartNextPass(int finishedPass);
  void StartLogCheck();
  void PumpLogCheck();
  void StartAudioPass(bool takeLogSums);
  void PumpAudio();
  void TakeLogMatch(const std::vector<TrackPcm>& audio);
  void PumpVerification();
  void FinishAnalysis(AnalysisOutcome outcome, const std::exception_ptr& failure);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};
