#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The data the whole program works on. The window binds its controls to these objects;
// velmora-cli and the tests drive the same objects without a window.

// The stream reader's own values for one track, kept for reports (velmora-cli --json). Read is
// false, and the numbers 0, when the reader could not read the file.
struct StreamValues {
  bool Read = false;
  bool Valid = false;
  double Duration = 0;
  int SampleRate = 0;
  int64_t FileSize = 0;
  std::optional<int> BitRate;   // MPEG audio and Musepack
  std::optional<double> Ratio;  // Monkey's Audio and FLAC
};

// One analysed audio file and one row of the track list.
struct TrackRecord {
  QString FilePath;
  QString FileName;
  QString Artist;
  QString Title;
  QString Album;
  QString SizeText;
  QString DurationText;
  QString DurationSecondsText;
  QString BitrateText;
  QString ChecksumText;
  StreamValues Stream;

  // A row as the analysis first adds it: the file name, a single blank in the seven column
  // texts and an empty seconds text.
  static TrackRecord NewRow(const QString& filePath);
};

// The four formats, numbered in the order the scan walks them.
enum class AudioFormat { Mp3 = 1, Mpc = 2, Ape = 3, Flac = 4 };
inline constexpr int kFormatCount = 4;
inline constexpr std::array<AudioFormat, kFormatCount> kAudioFormats = {
    AudioFormat::Mp3, AudioFormat::Mpc, AudioFormat::Ape, AudioFormat::Flac};
// "mp3", "mpc", "ape", "flac".
QString FormatExtension(AudioFormat format);
// 0 to 3: the format's place in the per-format tables.
inline int FormatIndex(AudioFormat format) {
  return static_cast<int>(format) - 1;
}

// What the tag-version fields show for a tag type the track does not carry.
inline constexpr QLatin1StringView kNoTagMark{"-"};

// The result of one folder scan.
struct ScanState {
  QString FolderPath;
  std::array<QStringList, kFormatCount> FileLists;  // by FormatIndex
  std::array<int, kFormatCount> FormatCounts{};
  int FormatsPresent = 0;
  AudioFormat DominantFormat = AudioFormat::Mp3;
  QString DominantExtension;
  QStringList TrackList;
  int TrackCount = 0;

  // The window shows the mixed-format warning for this scan.
  bool MixedFormats() const { return FormatsPresent > 1; }
  // The page-1 "Dalej >" button, which starts the analysis.
  bool AnalysisEnabled() const { return !TrackList.isEmpty(); }
};

// Page 2: filled by the analysis, editable by the user.
struct ReleaseSummary {
  QString Year;
  QString TotalTimeText;
  QString TotalSizeText;
  QString SampleRateText;
  QString ChannelsText;
  QString VersionText;
  QString EncoderText;
  QString AverageText;
  QString QualityText;
  QString Id3v1Text;
  QString Id3v2Text;
  QString ApeTagText;
  QString VorbisTagText;
  QString Genre;
  bool VariousArtists = false;
  QString VariousAlbumTitle;
  bool Nmr = false;
  QString Source = QStringLiteral("CD");
  QString RipperProgram;
  QString Drive;
  // The average is a compression ratio (Monkey's Audio, FLAC) rather than a bit rate. Set with the
  // stream fields; not a field of the page.
  bool Lossless = false;
};

// Page 3: entered by the user.
struct ReleaseInfo {
  QString RippedBy = QStringLiteral("Korvix");
  QDate RipDate = QDate::currentDate();
  QString PostedBy = QStringLiteral("Korvix");
  QDate PostDate = QDate::currentDate();
  QString DiscInfo;
  QString NewsServer;
  QString Group = QStringLiteral("alt.binaries.pl.mp3");
  QStringList SelectedGroups;
  bool IncludeChecksums = false;
  bool IncludePls = false;
  bool IncludeM3u = false;
  bool IncludeEacLog = false;
  bool IncludePar = false;
  bool IncludePar2 = false;
  bool IncludeCue = false;
  bool CoverFront = false;
  bool CoverBack = false;
  bool CoverCd = false;
  bool IncludeNote = true;
  QString NoteText = QStringLiteral("Write anything you want....");
  QString FileNameTemplate = QStringLiteral("00. %author% - %album%");
};

// Values kept for the whole program run.
struct RunValues {
  QString ProgramDir;
  QString DefaultPath;
  QString StartTimeText;
  QString OutputBaseName;
  QString OutputFolder;
  bool AnalysisDone = false;
  bool NfoComposed = false;
};

// The main window's size when the settings hold none.
inline constexpr int kDefaultWindowWidth = 695;
inline constexpr int kDefaultWindowHeight = 540;

// The state of the option controls (options dialog and the settings-only values).
struct Options {
  bool AutoCrc = true;     // "Generuj sumy kontrolne"
  bool AddBitrate = true;  // hidden check box, stored only
  QString DefaultPath;
  QString Language;         // language file name, without folder
  bool SaveUnicode = true;  // Unicode form of lists and playlists
  QString ChecksumKind;     // "SFV" or "MD5"; any other text selects none
  bool CheckUpdate = true;
  int Width = kDefaultWindowWidth;
  int Height = kDefaultWindowHeight;
  bool Ads = true;  // advert footer of the NFO
};

// The checksum pass's progress on page 1: two status labels and a bar from 0 to 100.
struct ProgressState {
  QString FileLabel;
  QString ChecksumLabel;
  int Percent = 0;
};

// The item lists of the five editable drop-downs, filled from the list files.
struct ChoiceLists {
  QStringList RipperPrograms;  // enc.ini
  QStringList Drives;          // cd_dvd.ini
  QStringList NewsServers;     // servers.ini
  QStringList Groups;          // groups.ini
  QStringList Genres;          // genre.ini
};

// The messages that exist only in language files: section TEXTS, by key.
enum class Message {
  StatusNotSaved = 9001,  // the status bar once a language is applied
  StatusSaved = 9002,     // the status bar after a save
  SavedText = 9003,
  SavedCaption = 9004,
  NothingToSaveText = 9005,
  NothingToSaveCaption = 9006,  // also the caption of the mixed-format warning
  MixedFormatsFirstLine = 9007,
  MixedFormatsLastLine = 9008,  // followed by a blank and the dominant extension
};
inline constexpr std::array<Message, 8> kMessages = {
    Message::StatusNotSaved,        Message::StatusSaved,         Message::SavedText,
    Message::SavedCaption,          Message::NothingToSaveText,   Message::NothingToSaveCaption,
    Message::MixedFormatsFirstLine, Message::MixedFormatsLastLine};

// The process-wide message table: empty until a language file has been applied.
class MessageTable {
 public:
  static constexpr int kSlots = 50;

  QString Text(Message message) const { return slots_[SlotOf(message)]; }
  void Set(Message message, const QString& text) { slots_[SlotOf(message)] = text; }
  void Clear() { slots_.fill(QString()); }

 private:
  static size_t SlotOf(Message message) { return static_cast<size_t>(message) - 9001; }
  std::array<QString, kSlots> slots_;
};

// Everything the window or velmora-cli holds for one program run.
struct ReleaseModel {
  ScanState Scan;
  std::vector<TrackRecord> Tracks;  // grows as needed; the track order of every output
  ReleaseSummary Summary;
  ReleaseInfo Info;
  RunValues Run;
  Options Opts;
  ProgressState Progress;
  ChoiceLists Lists;
  MessageTable Messages;
  QString NfoText;  // the NFO preview: composed text, possibly edited by the user
  QString StatusText = QStringLiteral("NFO not saved!");
};
