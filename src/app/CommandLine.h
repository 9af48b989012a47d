#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

// What one run of velmora-cli was asked to do.
struct CliRequest {
  enum class Output { Save, Print, Json };
  Output Mode = Output::Save;
  QString Folder;
  std::optional<QDateTime> Now;
  std::optional<QString> ChecksumKind;  // "SFV", "MD5", or empty for none
  std::optional<bool> SaveUnicode;
  std::optional<bool> Ads;
  std::optional<bool> Utf8Text;
  // Exit with 4 before saving anything when a warning was given.
  bool Strict = false;
  std::optional<bool> AudioPass;
  std::optional<bool> AudioNfo;
  QString SpectrogramFolder;  // empty: no pictures
  // Check the folder's checksum lists instead of making an NFO.
  bool Verify = false;
  std::optional<QString> Template;
  QList<QPair<QString, QString>> FieldValues;  // --set, in order
  QList<QPair<QString, QString>> FieldFiles;   // --set-file, in order
  QString Language;
};

struct ParseOutcome {
  enum class Kind { Run, Help, Version, UsageError };
  Kind Result = Kind::Run;
  CliRequest Request;
  QString Text;  // help text, version text or the usage error
};

ParseOutcome ParseCommandLine(const QStringList& arguments);

// Whether the raw arguments ask for spectrogram pictures: the program then needs a graphical
// application object (an offscreen one), which must exist before the arguments are parsed.
bool AsksForPictures(int argc, const char* const* argv);
