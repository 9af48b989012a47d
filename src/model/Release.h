#pragma once

#include "model/AudioFigures.h"
#include "model/Extras.h"
#include "readers/Formats.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The data of one release: what the scan and the analysis fill and the user completes. The window
// and velmora-cli see it only through the session; the core's operations are functions over it.

// The stream reader's own values for one track, kept for reports (velmora-cli --json). Read is
// false, and the numbers 0, when the reader could not read the file.
struct StreamValues {
  bool Read = false;
  bool Valid = false;
  double Duration = 0;
  int SampleRate = 0;
  int64_t FileSize = 0;
  std::optional<int> BitRate;   // lossy formats
  std::optional<double> Ratio;  // lossless formats
  QString Codec;
  int Channels = 0;
  std::optional<int> BitsPerSample;
  bool Lossless = false;
};

// One analysed audio file and one row of the track list.
struct TrackRecord {
  QString FilePath;
  QString FileName;  // the name inside its folder (the disc folder of a release of several discs)
  QString Disc;      // the disc folder's name; empty in a one-folder release
  QString Artist;
  QString Title;
  QString Album;
  QString SizeText;
  QString DurationText;
  QString DurationSecondsText;
  QString BitrateText;
  QString ChecksumText;
  StreamValues Stream;
  // Not columns: the album artist of the last tag that carries one, and whether the file carries
  // any tag at all (a track without tags has no say in the release's album artist).
  QString AlbumArtist;
  bool HasTags = false;

  // The stream could be read and described: the row has its stream columns.
  bool StreamUsable() const { return Stream.Read && Stream.Valid; }

  // A row as the analysis first adds it: the file name, a single blank in the seven column
  // texts and an empty seconds text.
  static TrackRecord NewRow(const QString& filePath);
};

// What the tag-version fields show for a tag type the track does not carry.
inline constexpr QLatin1StringView kNoTagMark{"-"};

// An entry of the folder that is not part of the release, and why.
struct LeftOutFile {
  enum class Reason {
    Format,    // audio of a format the program does not read
    Name,      // a name that is not valid UTF-8 or holds control characters
    NotAFile,  // a FIFO, device or socket, or a broken or looping link
  };
  QString Name;  // invalid bytes shown as "\xNN"
  Reason Why = Reason::Format;
};

// The result of one folder scan.
struct ScanState {
  QString FolderPath;
  std::array<QStringList, kFormatCount> FileLists;  // by FormatIndex
  std::array<int, kFormatCount> FormatCounts{};
  int FormatsPresent = 0;
  AudioFormat DominantFormat = AudioFormat::Flac;
  QString DominantExtension;
  QStringList TrackList;
  int TrackCount = 0;
  // What the folder holds that the release leaves out, in the order the folder lists it.
  std::vector<LeftOutFile> LeftOut;
  // The folder could not be listed: the system's reason.
  QString Failure;

  // A release of several discs: the names of its disc folders (sub-folders of FolderPath) in disc
  // order; TrackList then holds the discs' tracks one disc after the other. Empty when the folder
  // holds audio of its own.
  QStringList Discs;
  // The rip logs, cue sheets, pictures and other files beside the audio.
  ReleaseExtras Extras;

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
  // The album artist every tagged track agrees on; empty when they differ or carry none.
  QString AlbumArtist;
  bool VariousArtists = false;
  QString VariousAlbumTitle;
  bool Nmr = false;
  QString Source = QStringLiteral("CD");
  QString RipperProgram;
  QString Drive;
  // The average is a compression ratio (lossless streams) rather than a bit rate. Set with the
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
  // The folder whose tracks the rows hold: scanning another one starts a new release.
  QString AnalysedFolder;
};

// One release and the run values around it.
struct Release {
  ScanState Scan;
  std::vector<TrackRecord> Tracks;  // grows as needed; the track order of every output
  ReleaseSummary Summary;
  ReleaseInfo Info;
  RunValues Run;
  ReleaseAudio Audio;  // the audio pass, when it has run
  // The rip log's line of the NFO ("Exact Audio Copy 1.6, Secure, AccurateRip 10/10, CRCs
  // match"); empty without a log or before the audio was matched against it.
  QString RipLogText;
  QString NfoText;  // the NFO preview: composed text, possibly edited by the user
};

// The disc folder a scanned track lies in; empty in a one-folder release.
QString DiscOfTrack(const ScanState& scan, const QString& trackPath);
// How page 1 names a scanned track: its full path, or "CD1/01 - Name.flac" when it lies in a disc
// folder.
QString ShownTrackPath(const ScanState& scan, const QString& trackPath);

// The rows of one disc, or every row of a one-folder release (Name empty then). The rows of a
// disc follow each other in the track order.
struct DiscRows {
  QString Name;
  std::span<const TrackRecord> Rows;
};
std::vector<DiscRows> RowsByDisc(const Release& release);
// The rows are the tracks of several discs.
bool RowsOfDiscs(const Release& release);

// The artist the release goes by: the album artist when the tracks agree on one, else row 0's
// artist.
QString ReleaseArtist(const Release& release);
