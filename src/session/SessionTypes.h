#pragma once

#include "audio/Spectrum.h"
#include "model/Release.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <array>
#include <exception>
#include <optional>
#include <vector>

// What the mixed-format warning shows after a scan of a folder that holds several formats: one
// row per format present, the dominant one in bold.
struct MixedFormatWarning {
  struct Row {
    QString Key;    // "mp3"
    QString Label;  // "MPEG Layer 3 (mp3):"
    int Count = 0;
    bool Dominant = false;
  };
  QString Caption;    // TEXTS 9006
  QString FirstLine;  // TEXTS 9007
  std::vector<Row> Rows;
  QString LastLine;  // TEXTS 9008, a blank and the dominant extension
};

// What a scan found besides the tracks, for the front end to show.
struct ScanReport {
  std::optional<MixedFormatWarning> Mixed;
  std::vector<LeftOutFile> LeftOut;
  // The folder is not the one last analysed: the release started anew.
  bool NewRelease = false;
};

// The progress of a pass on page 1: two status labels and a bar from 0 to 100.
struct ProgressState {
  QString FileLabel;
  QString ChecksumLabel;
  int Percent = 0;
};

enum class AnalysisOutcome { Finished, Stopped, Failed };

enum class SaveOutcome { Saved, NothingToSave };

// What the window or velmora-cli reports after a save: the message box it is due (TEXTS 9003 and
// 9004 after saving, 9005 and 9006 with the error icon when there was nothing to save) and the
// files that were written.
struct SaveResult {
  SaveOutcome Outcome = SaveOutcome::NothingToSave;
  QString MessageText;
  QString MessageCaption;
  QStringList WrittenFiles;
  // Boxes of page 3 ticked for files the folder does not hold: told, not blocking.
  QStringList Notes;
};

// What checking a folder's checksum lists found: one line per listed file and a summary line
// (extras/ListVerification.h), and whether every file matched.
struct VerificationResult {
  int Lists = 0;  // the lists found
  QStringList Lines;
  bool AllOk = false;
  bool Stopped = false;
  QString Failure;  // why the check could not go on (no crypto library for MD5, …)
};

// One spectrogram picture to write: the levels, the title drawn above them and the file's path.
struct SpectrogramFile {
  PackedSpectrogram Levels;
  QString Title;
  QString Path;
};

// The one text a failure is shown with, in the window's error box and on velmora-cli's standard
// error: the file layer's message and the system's reason, or what else went wrong.
QString FailureText(const std::exception& failure);
QString FailureText(const std::exception_ptr& failure);

Q_DECLARE_METATYPE(ScanReport)
Q_DECLARE_METATYPE(ProgressState)
Q_DECLARE_METATYPE(AnalysisOutcome)
Q_DECLARE_METATYPE(VerificationResult)
