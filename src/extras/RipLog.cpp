#include "extras/RipLog.h"

#include "extras/ExtraText.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Real logs are a few KiB (a 99-track EAC log stays under 100 KiB); the caps only keep a hostile
// file from costing memory or time.
constexpr int64_t kMaxLogFileBytes = 4 * 1024 * 1024;
constexpr int64_t kSniffBytes = 4096;
constexpr int kSniffLines = 40;
constexpr int kMaxLines = 200000;
constexpr int kMaxLineLength = 2048;
constexpr int kMaxLogs = 16;
constexpr int kMaxTracks = 99;
constexpr int kMaxErrors = 100;

struct Wording {
  std::u16string_view text;
  const char* language;
};

// EAC writes the line under its version line in the language of its user interface; it is the
// one line of every EAC log that names the language.
constexpr std::array<Wording, 14> kEacHeaderLines = {{
    {u"EAC extraction logfile from", "English"},
    {u"EAC Auslese-Logdatei vom", "German"},
    {u"EAC extraheringsloggfil från", "Swedish"},
    {u"EAC uitlezen log bestand van", "Dutch"},
    {u"EAC log súbor extrakcie z", "Slovak"},
    {u"EAC 抓取日志文件从", "Chinese"},
    {u"EAC 展開 ログファイル", "Japanese"},
    {u"File di log EAC per l'estrazione del", "Italian"},
    {u"Archivo Log de extracciones desde", "Spanish"},
    {u"Отчёт EAC об извлечении, выполненном", "Russian"},
    {u"Отчет на EAC за извличане, извършено на", "Bulgarian"},
    {u"Protokol extrakce EAC z", "Czech"},
    {u"Sprawozdanie ze zgrywania programem EAC z", "Polish"},
    {u"EAC-ov fajl dnevnika ekstrakcije iz", "Serbian"},
}};

// The copy CRC line in the translations where its wording is known; the English one first.
constexpr std::array<std::u16string_view, 14> kCopyCrcLabels = {
    u"Copy CRC",    u"Kopie CRC", u"Copia CRC",    u"Kopiera CRC", u"Copiar CRC",
    u"Копиран CRC", u"复制 CRC",  u"CRC копии",    u"CRC kopii",   u"CRC kopije",
    u"CRC kopie",   u"CRC kópie", u"CRC de Cópia", u"コピーCRC",
};

QStringView View(std::u16string_view text) {
  return QStringView(text.data(), static_cast<qsizetype>(text.size()));
}

QStringView Trimmed(QStringView line) {
  line = line.trimmed();
  while (line.startsWith(QChar(0xFEFF)))  // the BOM of a log appended to another
    line = line.sliced(1).trimmed();
  return line;
}

// The first whitespace-separated word of the text.
QString FirstWord(QStringView text) {
  text = text.trimmed();
  qsizetype end = 0;
  while (end < text.size() && !text.at(end).isSpace())
    ++end;
  return text.first(end).toString();
}

// The line that starts a log, or EAC's and XLD's header line under it.
struct Signature {
  Ripper Kind = Ripper::Eac;
  bool HeaderLine = false;
  QString Program;
  QString Version;
  QString Language;
};

std::optional<Signature> SignatureOf(QStringView t) {
  const auto startsWith = [&](QLatin1String prefix) { return t.startsWith(prefix); };
  if (startsWith(QLatin1String("Exact Audio Copy V"))) {
    QStringView version = t.sliced(18);
    const qsizetype from = version.indexOf(QLatin1String(" from "));
    if (from >= 0)
      version = version.first(from);
    return Signature{
        Ripper::Eac, false, QStringLiteral("Exact Audio Copy"), version.trimmed().toString(), {}};
  }
  for (const Wording& header : kEacHeaderLines) {
    if (t.startsWith(View(header.text)))
      return Signature{Ripper::Eac,
                       true,
                       QStringLiteral("Exact Audio Copy"),
                       {},
                       QString::fromLatin1(header.language)};
  }
  if (startsWith(QLatin1String("X Lossless Decoder version ")))
    return Signature{Ripper::Xld,
                     false,
                     QStringLiteral("X Lossless Decoder"),
                     t.sliced(27).trimmed().toString(),
                     {}};
  if (startsWith(QLatin1String("XLD extraction logfile from")))
    return Signature{Ripper::Xld, true, QStringLiteral("X Lossless Decoder"), {}, {}};
  if (startsWith(QLatin1String("Log created by: whipper ")))
    return Signature{
        Ripper::Whipper, false, QStringLiteral("whipper"), FirstWord(t.sliced(24)), {}};
  if (startsWith(QLatin1String("CUERipper v")))
    return Signature{
        Ripper::CueRipper, false, QStringLiteral("CUERipper"), FirstWord(t.sliced(11)), {}};
  if (startsWith(QLatin1String("cyanrip ")) && t.size() > 8 && t.at(8).isDigit())
    return Signature{Ripper::Cyanrip, false, QStringLiteral("cyanrip"), FirstWord(t.sliced(8)), {}};
  if (startsWith(QLatin1String("dBpoweramp "))) {
    const qsizetype end = t.indexOf(QLatin1String(" Digital Audio Extraction Log"));
    if (end >= 0) {
      QStringView version = t.first(end).sliced(11).trimmed();
      if (version.startsWith(QLatin1String("Release ")))
        version = version.sliced(8).trimmed();
      return Signature{
          Ripper::DbPoweramp, false, QStringLiteral("dBpoweramp"), version.toString(), {}};
    }
  }
  return std::nullopt;
}

// "Key : value", "Key: value" or "Key value": the value after the key, or nothing when the line
// does not start with the key as a whole word. The value is a part of the line.
template <typename Key>
std::optional<QStringView> Field(QStringView t, Key key) {
  if (!t.startsWith(key))
    return std::nullopt;
  QStringView rest = t.sliced(key.size());
  if (!rest.isEmpty() && !rest.front().isSpace() && rest.front() != QLatin1Char(':'))
    return std::nullopt;
  rest = rest.trimmed();
  if (rest.startsWith(QLatin1Char(':')))
    rest = rest.sliced(1).trimmed();
  return rest;
}

std::optional<QStringView> Field(QStringView t, const char* key) {
  return Field(t, QLatin1String(key));
}

bool IsHex(QChar ch) {
  return (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
         (ch >= QLatin1Char('a') && ch <= QLatin1Char('f')) ||
         (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'));
}

// Exactly 8 hexadecimal digits at the start of the value ("0x" allowed), in upper case.
QString Crc8(QStringView value) {
  if (value.startsWith(QLatin1String("0x")) || value.startsWith(QLatin1String("0X")))
    value = value.sliced(2);
  if (value.size() < 8)
    return {};
  for (int i = 0; i < 8; ++i) {
    if (!IsHex(value.at(i)))
      return {};
  }
  if (value.size() > 8 && IsHex(value.at(8)))
    return {};
  return value.first(8).toString().toUpper();
}

// A signed whole number at the start of the value ("+6", "-1164", "667 samples").
std::optional<int> LeadingNumber(QStringView value) {
  qsizetype at = 0;
  bool negative = false;
  if (at < value.size() && (value.at(at) == QLatin1Char('+') || value.at(at) == QLatin1Char('-')))
    negative = value.at(at++) == QLatin1Char('-');
  int number = 0;
  int digits = 0;
  for (; at < value.size() && value.at(at).isDigit() && digits < 7; ++at, ++digits)
    number = number * 10 + value.at(at).digitValue();
  if (digits == 0)
    return std::nullopt;
  return negative ? -number : number;
}

bool IsCount(QStringView value) {
  return !value.isEmpty() && value.size() <= 9 &&
         std::all_of(value.begin(), value.end(), [](QChar ch) { return ch.isDigit(); });
}

// The first "[XXXXXXXX]" of the line.
QString BracketedCrc(QStringView t) {
  for (qsizetype at = t.indexOf(QLatin1Char('[')); at >= 0 && at + 9 < t.size();
       at = t.indexOf(QLatin1Char('['), at + 1)) {
    if (t.at(at + 9) == QLatin1Char(']')) {
      const QString crc = Crc8(t.sliced(at + 1));
      if (!crc.isEmpty())
        return crc;
    }
  }
  return {};
}

const QRegularExpression& TrackHeaderPattern() {
  static const QRegularExpression pattern(QStringLiteral(
      "^(?:Track|Трек|音轨|Traccia|Spår|Pista|Трак|Utwór|Stopa)\\s+(\\d{1,3})(?:\\s+(.*))?$"));
  return pattern;
}

const QRegularExpression& CueArRowPattern() {
  static const QRegularExpression pattern(QStringLiteral(
      "^(\\d{1,3})\\s+(?:\\[([0-9A-Fa-f]{8})(?:\\|([0-9A-Fa-f]{8}))?\\]\\s+)?(\\(.*)$"));
  return pattern;
}

const QRegularExpression& CueCrcRowPattern() {
  static const QRegularExpression pattern(QStringLiteral(
      "^(\\d{1,3}|--)\\s+[0-9.,]+\\s+\\[([0-9A-Fa-f]{8})\\]\\s+\\[([0-9A-Fa-f]{8})\\]"));
  return pattern;
}

const QRegularExpression& PositionRowPattern() {
  static const QRegularExpression pattern(QStringLiteral("^\\(\\d{1,6}\\)\\s+(\\S+)$"));
  return pattern;
}

// Reads one log line by line. Every ripper's lines are told apart by their wording, so one
// reader serves them all; the few places where a ripper's layout matters ask for its kind.
class LogReader {
 public:
  void Start(const Signature& signature) {
    ResetData();
    data_.Kind = signature.Kind;
    data_.Program = signature.Program;
    data_.Version = signature.Version;
    data_.Language = signature.Language;
    headerSeen_ = signature.HeaderLine;
  }

  // EAC's language line under its version line, or XLD's date line: part of this log.
  bool TakeHeaderLine(const Signature& signature) {
    if (!signature.HeaderLine || headerSeen_)
      return false;
    const bool eacHeader = signature.Kind == Ripper::Eac &&
                           (data_.Kind == Ripper::Eac || data_.Kind == Ripper::CueRipper);
    const bool xldHeader = signature.Kind == Ripper::Xld && data_.Kind == Ripper::Xld;
    if (!eacHeader && !xldHeader)
      return false;
    headerSeen_ = true;
    if (!signature.Language.isEmpty())
      data_.Language = signature.Language;
    return true;
  }

  void Feed(QStringView line);

  RipLog Finish() {
    CloseTrack();
    if (data_.Kind == Ripper::Whipper && data_.ReadMode.isEmpty())
      data_.ReadMode = QStringLiteral("cdparanoia");
    return std::move(data_);
  }

 private:
  enum class Section { None, WhipperTracks, WhipperOther, CueArTable, CueCrcTable, Skipped };

  void ResetData() {
    data_ = RipLog();
    current_ = -1;
    inRange_ = false;
    headerSeen_ = false;
    section_ = Section::None;
    whipperAr_ = 0;
    whipperResults_ = {};
  }

  RipLogTrack* Current() { return current_ >= 0 ? &data_.Tracks[current_] : nullptr; }

  RipLogTrack* TrackNumbered(int number) {
    if (number < 1 || number > kMaxTracks)
      return nullptr;
    for (RipLogTrack& track : data_.Tracks) {
      if (track.Number == number)
        return &track;
    }
    if (static_cast<int>(data_.Tracks.size()) >= kMaxTracks)
      return nullptr;
    data_.Tracks.push_back(RipLogTrack());
    data_.Tracks.back().Number = number;
    return &data_.Tracks.back();
  }

  void OpenTrack(int number) {
    CloseTrack();
    inRange_ = false;
    RipLogTrack* track = TrackNumbered(number);
    current_ = track ? static_cast<int>(track - data_.Tracks.data()) : -1;
  }

  void CloseTrack();

  static void AddError(QStringList& errors, const QString& text) {
    if (errors.size() < kMaxErrors)
      errors.append(text);
  }
  void AddTrackError(const QString& text) {
    if (RipLogTrack* track = Current())
      AddError(track->Errors, text);
    else
      AddError(data_.Errors, text);
  }

  static void AppendAccurateRip(RipLogTrack& track, const QString& text) {
    if (text.isEmpty() || track.AccurateRip.contains(text))
      return;
    track.AccurateRip =
        track.AccurateRip.isEmpty() ? text : track.AccurateRip + QStringLiteral("; ") + text;
  }

  bool FeedSection(QStringView t, qsizetype indent);
  bool FeedTrackHeader(QStringView t);
  bool FeedHeaderField(QStringView t);
  bool FeedChecksum(QStringView t);
  bool FeedAccurateRip(QStringView t);
  void FeedError(QStringView t);

  RipLog data_;
  int current_ = -1;
  bool inRange_ = false;  // inside EAC's "Selected range" or XLD's "All Tracks" block
  bool headerSeen_ = false;
  Section section_ = Section::None;
  int whipperAr_ = 0;  // 1 or 2 inside whipper's "AccurateRip v1:" / "v2:" block
  struct WhipperResult {
    QString Result;
    QString Confidence;
  };
  std::array<WhipperResult, 2> whipperResults_;
};

void LogReader::CloseTrack() {
  if (RipLogTrack* track = Current()) {
    for (int v = 0; v < 2; ++v) {
      const WhipperResult& result = whipperResults_[v];
      if (result.Result.isEmpty())
        continue;
      QString text = QStringLiteral("v%1: ").arg(v + 1) + result.Result;
      if (!result.Confidence.isEmpty())
        text += QStringLiteral(" (confidence ") + result.Confidence + QLatin1Char(')');
      AppendAccurateRip(*track, text);
    }
  }
  whipperResults_ = {};
  whipperAr_ = 0;
  current_ = -1;
}

void LogReader::Feed(QStringView line) {
  qsizetype indent = 0;
  while (indent < line.size() && line.at(indent) == QLatin1Char(' '))
    ++indent;
  const QStringView t = Trimmed(line);
  if (FeedSection(t, indent) || t.isEmpty())
    return;
  if (FeedTrackHeader(t) || FeedHeaderField(t) || FeedChecksum(t) || FeedAccurateRip(t))
    return;
  FeedError(t);
}

// Whipper's indented sections and CUERipper's tables, whose rows only make sense inside them.
bool LogReader::FeedSection(QStringView t, qsizetype indent) {
  if (data_.Kind == Ripper::Whipper) {
    if (indent == 0 && t.endsWith(QLatin1Char(':'))) {
      CloseTrack();
      section_ = t == QLatin1String("Tracks:") ? Section::WhipperTracks : Section::WhipperOther;
      return true;
    }
    if (section_ == Section::WhipperTracks && indent == 2 && t.endsWith(QLatin1Char(':'))) {
      bool ok = false;
      const int number = t.chopped(1).toInt(&ok);
      if (ok && number >= 1) {
        OpenTrack(number);
        return true;
      }
      CloseTrack();  // "00:", the hidden track before the first, has nothing we read
      return true;
    }
    if (section_ == Section::WhipperTracks && t.startsWith(QLatin1String("AccurateRip v")) &&
        t.endsWith(QLatin1Char(':'))) {
      whipperAr_ = t.contains(QLatin1String("v2")) ? 2 : 1;
      return true;
    }
    return false;
  }

  if (t.isEmpty() || t.startsWith(QLatin1String("Offsetted by"))) {
    // CUERipper repeats its table for other offsets; those rows are not this rip's.
    section_ = t.isEmpty() ? Section::None : Section::Skipped;
    return !t.isEmpty();
  }
  if (t.startsWith(QLatin1String("Track")) && !t.contains(QLatin1String("CTDB"))) {
    if (t.contains(QLatin1String("[ CRC32")) && t.contains(QLatin1String("W/O NULL"))) {
      CloseTrack();
      section_ = Section::CueCrcTable;
      return true;
    }
    if (t.contains(QLatin1String("[ CRC")) || t.endsWith(QLatin1String("Status"))) {
      CloseTrack();
      section_ = Section::CueArTable;
      return true;
    }
  }
  if (section_ == Section::Skipped)
    return true;
  if (section_ == Section::CueArTable) {
    const QRegularExpressionMatch row = CueArRowPattern().match(t);
    if (row.hasMatch()) {
      if (RipLogTrack* track = TrackNumbered(row.capturedView(1).toInt())) {
        if (row.hasCaptured(2) && track->ArV1.isEmpty())
          track->ArV1 = row.captured(2).toUpper();
        if (row.hasCaptured(3) && track->ArV2.isEmpty())
          track->ArV2 = row.captured(3).toUpper();
        AppendAccurateRip(*track, row.captured(4).trimmed());
      }
      return true;
    }
    section_ = Section::None;
  } else if (section_ == Section::CueCrcTable) {
    const QRegularExpressionMatch row = CueCrcRowPattern().match(t);
    if (row.hasMatch()) {
      if (row.capturedView(1) != QLatin1String("--")) {
        if (RipLogTrack* track = TrackNumbered(row.capturedView(1).toInt())) {
          if (track->CopyCrc.isEmpty())
            track->CopyCrc = row.captured(2).toUpper();
          if (track->CopyCrcSkipZero.isEmpty())
            track->CopyCrcSkipZero = row.captured(3).toUpper();
        }
      }
      return true;
    }
    section_ = Section::None;
  }
  return false;
}

bool LogReader::FeedTrackHeader(QStringView t) {
  const QRegularExpressionMatch match = TrackHeaderPattern().match(t);
  if (!match.hasMatch())
    return false;
  const int number = match.capturedView(1).toInt();
  const QStringView rest = match.capturedView(2);
  if (rest.isEmpty() || rest.startsWith(QLatin1String("ripped and encoded")) ||
      rest.startsWith(QLatin1String("completed successfully"))) {
    OpenTrack(number);  // a track's block, EAC's "Track  1", XLD's "Track 01", cyanrip's
    if (rest.contains(QLatin1String("with errors")))
      AddTrackError(rest.toString());
    return true;
  }
  // One line per track in a summary: EAC's range rips, CUERipper's error list.
  RipLogTrack* track = nullptr;
  if (rest.startsWith(QLatin1String("accurately ripped"), Qt::CaseInsensitive) ||
      rest.startsWith(QLatin1String("cannot be verified"), Qt::CaseInsensitive) ||
      rest.startsWith(QLatin1String("not present"), Qt::CaseInsensitive)) {
    if ((track = TrackNumbered(number))) {
      const qsizetype bracket = rest.indexOf(QLatin1Char('['));
      QString text = (bracket >= 0 ? rest.first(bracket) : rest).trimmed().toString();
      if (text.endsWith(QLatin1Char(',')))
        text.chop(1);
      if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
      AppendAccurateRip(*track, text);
      const QString crc = BracketedCrc(rest);
      QString& target = rest.contains(QLatin1String("(AR v2)")) ? track->ArV2 : track->ArV1;
      if (!crc.isEmpty() && target.isEmpty())
        target = crc;
    }
    return true;
  }
  if (rest.startsWith(QLatin1String("contains "))) {
    if ((track = TrackNumbered(number)))
      AddError(track->Errors, QStringLiteral("Read errors: ") + rest.sliced(9).toString());
    return true;
  }
  return false;
}

bool LogReader::FeedHeaderField(QStringView t) {
  if (auto value = Field(t, "Used drive")) {
    const qsizetype adapter = value->indexOf(QLatin1String("Adapter:"));
    data_.Drive = (adapter >= 0 ? value->first(adapter) : *value).toString().simplified();
    return true;
  }
  if (data_.Kind == Ripper::Whipper) {
    if (auto value = Field(t, "Drive")) {
      data_.Drive = value->toString().simplified();
      return true;
    }
    if (auto value = Field(t, "Extraction engine")) {
      data_.ReadMode = value->toString().simplified();
      return true;
    }
    if (auto value = Field(t, "Health status")) {
      if (!value->startsWith(QLatin1String("No errors")))
        AddError(data_.Errors, value->toString());
      return true;
    }
  }
  if (data_.Kind == Ripper::Cyanrip) {
    for (const char* key : {"Device model", "Drive used"}) {
      if (auto value = Field(t, key)) {
        data_.Drive = value->toString().simplified();
        return true;
      }
    }
    if (auto value = Field(t, "Offset")) {
      data_.ReadOffset = LeadingNumber(*value);
      return true;
    }
    for (const char* key : {"Paranoia level", "Paranoia"}) {
      if (auto value = Field(t, key)) {
        data_.ReadMode = QStringLiteral("Paranoia ") + value->toString().simplified();
        return true;
      }
    }
    if (auto value = Field(t, "Ripping errors")) {
      if (LeadingNumber(*value).value_or(0) > 0)
        AddError(data_.Errors, t.toString());
      return true;
    }
  }
  if (data_.Kind == Ripper::DbPoweramp && t.startsWith(QLatin1String("Ripping with drive"))) {
    const qsizetype open = t.indexOf(QLatin1Char('\''));
    const qsizetype close = open >= 0 ? t.indexOf(QLatin1Char('\''), open + 1) : -1;
    if (close > open)
      data_.Drive = t.sliced(open + 1, close - open - 1).toString().simplified();
    const qsizetype offset = t.indexOf(QLatin1String("Drive offset:"));
    if (offset >= 0)
      data_.ReadOffset = LeadingNumber(t.sliced(offset + 13).trimmed());
    return true;
  }
  for (const char* key : {"Read offset correction", "Combined read/write offset correction"}) {
    if (auto value = Field(t, key)) {
      data_.ReadOffset = LeadingNumber(*value);
      return true;
    }
  }
  for (const char* key : {"Read mode", "Ripper mode"}) {
    if (auto value = Field(t, key)) {
      data_.ReadMode = value->toString().simplified();
      return true;
    }
  }
  if (auto value = Field(t, "Secure mode")) {  // CUERipper's own log: its correction quality
    static const std::array<const char*, 3> kModes = {"Burst", "Secure", "Paranoid"};
    const int quality = LeadingNumber(*value).value_or(-1);
    data_.ReadMode = quality >= 0 && quality < 3 ? QString::fromLatin1(kModes[quality])
                                                 : value->toString().simplified();
    return true;
  }
  if (auto value = Field(t, "Null samples used in CRC calculations")) {
    data_.NullSamplesInCrc = !value->startsWith(QLatin1String("No"));
    return true;
  }
  if (t == QLatin1String("Range status and errors") || t == QLatin1String("Selected range")) {
    CloseTrack();
    data_.RangeRip = true;
    inRange_ = true;
    return true;
  }
  if (t == QLatin1String("All Tracks")) {
    // XLD's block for the whole disc: a range rip only when it holds the disc's CRC.
    CloseTrack();
    inRange_ = true;
    return true;
  }
  if (t == QLatin1String("End of status report") || t == QLatin1String("No errors occurred")) {
    CloseTrack();
    inRange_ = false;
    return true;
  }
  if (t == QLatin1String("There were errors") || t == QLatin1String("Some errors occurred") ||
      t == QLatin1String("Some inconsistencies found")) {
    AddError(data_.Errors, t.toString());
    return true;
  }
  return false;
}

bool LogReader::FeedChecksum(QStringView t) {
  RipLogTrack* track = Current();
  if (!track && !inRange_)
    return false;
  const auto store = [&](QString RipLogTrack::*field, QStringView value) {
    const QString crc = Crc8(value);
    if (crc.isEmpty())
      return;
    if (track) {
      track->*field = crc;
    } else if (field == &RipLogTrack::CopyCrc) {
      data_.RangeCopyCrc = crc;
      data_.RangeRip = true;
    }
  };
  if (auto value = Field(t, "Test CRC"); value || (value = Field(t, "CRC32 hash (test run)"))) {
    store(&RipLogTrack::TestCrc, *value);
    return true;
  }
  if (auto value = Field(t, "CRC32 hash (skip zero)")) {
    store(&RipLogTrack::CopyCrcSkipZero, *value);
    return true;
  }
  if (auto value = Field(t, "CRC32 hash"); value || (value = Field(t, "EAC CRC32"))) {
    store(&RipLogTrack::CopyCrc, *value);
    return true;
  }
  for (const std::u16string_view label : kCopyCrcLabels) {
    if (auto value = Field(t, View(label))) {
      store(&RipLogTrack::CopyCrc, *value);
      return true;
    }
  }
  return false;
}

bool LogReader::FeedAccurateRip(QStringView t) {
  RipLogTrack* track = Current();
  if (!track)
    return false;
  // XLD: the checksums, then its verdict on a line of its own after "->".
  for (const auto& [key, field] : {std::pair{"AccurateRip v1 signature", &RipLogTrack::ArV1},
                                   std::pair{"AccurateRip v2 signature", &RipLogTrack::ArV2},
                                   std::pair{"AccurateRip signature", &RipLogTrack::ArV1}}) {
    if (auto value = Field(t, key)) {
      track->*field = Crc8(*value);
      return true;
    }
  }
  if (t.startsWith(QLatin1String("->"))) {
    QStringView verdict = t.sliced(2).trimmed();
    if (verdict.endsWith(QLatin1Char('.')))
      verdict.chop(1);
    if (verdict == QLatin1String("Rip may not be accurate"))
      AddError(track->Errors, verdict.toString());  // test and copy differ
    else
      AppendAccurateRip(*track, verdict.toString());
    return true;
  }
  // EAC and CUERipper: one line with the verdict and the checksum in brackets.
  for (const char* start :
       {"Accurately ripped", "Cannot be verified as accurate",
        "Track not present in AccurateRip database", "Not present in AccurateRip database"}) {
    if (!t.startsWith(QLatin1String(start)))
      continue;
    const qsizetype bracket = t.indexOf(QLatin1Char('['));
    QString text = (bracket >= 0 ? t.first(bracket) : t).trimmed().toString();
    if (text.endsWith(QLatin1Char(',')))
      text.chop(1);
    AppendAccurateRip(*track, text);
    const QString crc = BracketedCrc(t);
    if (!crc.isEmpty())
      (t.contains(QLatin1String("(AR v2)")) ? track->ArV2 : track->ArV1) = crc;
    return true;
  }
  // whipper: a block per AccurateRip version.
  if (whipperAr_ > 0) {
    WhipperResult& result = whipperResults_[whipperAr_ - 1];
    if (auto value = Field(t, "Result")) {
      result.Result = value->toString();
      return true;
    }
    if (auto value = Field(t, "Confidence")) {
      result.Confidence = value->toString();
      return true;
    }
    if (auto value = Field(t, "Local CRC")) {
      (whipperAr_ == 1 ? track->ArV1 : track->ArV2) = Crc8(*value);
      return true;
    }
    if (Field(t, "Remote CRC"))
      return true;
  }
  // cyanrip: "Accurip v1: 0x… (accurately ripped)", "Accurip: found (confidence: 5)".
  for (const auto& [key, field] :
       {std::pair{"Accurip v1", &RipLogTrack::ArV1}, std::pair{"Accurip v2", &RipLogTrack::ArV2}}) {
    if (auto value = Field(t, key)) {
      track->*field = Crc8(*value);
      const qsizetype open = value->indexOf(QLatin1Char('('));
      if (open >= 0 && value->endsWith(QLatin1Char(')')))
        AppendAccurateRip(*track, QString::fromLatin1(key).sliced(8) + QLatin1Char(' ') +
                                      value->sliced(open + 1).chopped(1).toString());
      return true;
    }
  }
  if (auto value = Field(t, "Accurip")) {
    AppendAccurateRip(*track, value->toString());
    return true;
  }
  return false;
}

void LogReader::FeedError(QStringView t) {
  for (const char* start : {"Suspicious position", "Missing samples", "Timing problem",
                            "Copy aborted", "Read error", "Sync error"}) {
    if (!t.startsWith(QLatin1String(start)))
      continue;
    // XLD's statistics count errors ("Read error : 0"); only a count above zero is one.
    if (auto count = Field(t, start); count && IsCount(*count)) {
      if (LeadingNumber(*count).value_or(0) > 0)
        AddTrackError(QString::fromLatin1(start) + QStringLiteral(": ") + count->toString());
      return;
    }
    AddTrackError(t.toString());
    return;
  }
  for (const char* counted :
       {"Skipped (treated as error)", "Damaged sector count", "Inconsistency in error sectors"}) {
    if (auto count = Field(t, counted)) {
      if (LeadingNumber(*count).value_or(0) > 0)
        AddTrackError(QString::fromLatin1(counted) + QStringLiteral(": ") + count->toString());
      return;
    }
  }
  if (Current()) {
    // XLD lists the positions of inconsistent or damaged sectors as "(1) 00:01:23".
    const QRegularExpressionMatch row = PositionRowPattern().match(t);
    if (row.hasMatch()) {
      AddTrackError(QStringLiteral("Suspicious position ") + row.captured(1));
      return;
    }
    if (auto status = Field(t, "Status"); status && data_.Kind == Ripper::Whipper) {
      if (!status->startsWith(QLatin1String("Copy OK")))
        AddTrackError(status->toString());
    }
  }
}

// The logs in the lines, each started by its ripper's first line.
std::vector<RipLog> ReadLogsFromLines(const QStringList& lines) {
  std::vector<RipLog> logs;
  LogReader reader;
  bool open = false;
  for (const QString& line : lines) {
    const QStringView t = Trimmed(line);
    if (const auto signature = SignatureOf(t)) {
      if (open && reader.TakeHeaderLine(*signature))
        continue;
      if (open)
        logs.push_back(reader.Finish());
      open = static_cast<int>(logs.size()) < kMaxLogs;
      if (!open)
        break;
      reader.Start(*signature);
      continue;
    }
    if (open)
      reader.Feed(line);
  }
  if (open)
    logs.push_back(reader.Finish());
  return logs;
}

}  // namespace

std::optional<Ripper> RipperOfLogStart(const QByteArray& head, bool cut) {
  const QByteArray start = head.left(kSniffBytes);
  const ExtraText::Decoded text =
      ExtraText::Decode(start, CodePage::System(), cut || start.size() < head.size());
  for (const QString& line : ExtraText::SplitLines(text.Text, kSniffLines, kMaxLineLength)) {
    if (const auto signature = SignatureOf(Trimmed(line)))
      return signature->Kind;
  }
  return std::nullopt;
}

std::vector<RipLog> ParseRipLogs(const QByteArray& bytes, bool cut) {
  const ExtraText::Decoded text = ExtraText::Decode(bytes, CodePage::System(), cut);
  return ReadLogsFromLines(ExtraText::SplitLines(text.Text, kMaxLines, kMaxLineLength));
}

std::vector<RipLog> ReadRipLogs(const QString& path) {
  QByteArray bytes;
  bool cut = false;
  if (!ExtraText::ReadHead(path, kMaxLogFileBytes, bytes, cut))
    return {};
  return ParseRipLogs(bytes, cut);
}

bool IsRipLogFile(const QString& path) {
  QByteArray head;
  bool cut = false;
  return ExtraText::ReadHead(path, kSniffBytes, head, cut) &&
         RipperOfLogStart(head, cut).has_value();
}
