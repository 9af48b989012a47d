#include "app/JsonExport.h"

#include <cmath>

#include "app/JsonWriter.h"
#include "model/ModelFields.h"

namespace {

void WriteText(JsonWriter& json, QLatin1StringView key, const QString& text) {
  json.Key(key);
  json.String(text);
}

void WriteStringList(JsonWriter& json, const QStringList& list) {
  json.BeginArray();
  for (const QString& text : list)
    json.String(text);
  json.EndArray();
}

QString ReasonKey(LeftOutFile::Reason reason) {
  switch (reason) {
    case LeftOutFile::Reason::Format:
      return QStringLiteral("format");
    case LeftOutFile::Reason::Name:
      return QStringLiteral("name");
    case LeftOutFile::Reason::NotAFile:
      return QStringLiteral("not-a-file");
  }
  return {};
}

void WriteLeftOut(JsonWriter& json, const std::vector<LeftOutFile>& files) {
  json.BeginArray();
  for (const LeftOutFile& file : files) {
    json.BeginObject();
    WriteText(json, QLatin1StringView("Name"), file.Name);
    WriteText(json, QLatin1StringView("Reason"), ReasonKey(file.Why));
    json.EndObject();
  }
  json.EndArray();
}

void WriteTextOrNull(JsonWriter& json, QLatin1StringView key, const QString& text) {
  json.Key(key);
  if (text.isEmpty())
    json.Null();
  else
    json.String(text);
}

void WriteExtras(JsonWriter& json, const ReleaseExtras& extras) {
  json.BeginObject();
  for (const auto& [key, names] : {std::pair{QLatin1StringView("Logs"), &extras.Logs},
                                   std::pair{QLatin1StringView("Cues"), &extras.Cues},
                                   std::pair{QLatin1StringView("Par2"), &extras.Par2},
                                   std::pair{QLatin1StringView("Lists"), &extras.Lists},
                                   std::pair{QLatin1StringView("Nfos"), &extras.Nfos}}) {
    json.Key(key);
    WriteStringList(json, *names);
  }
  json.Key(QLatin1StringView("Covers"));
  json.BeginObject();
  WriteTextOrNull(json, QLatin1StringView("Front"), extras.Covers.Front);
  WriteTextOrNull(json, QLatin1StringView("Back"), extras.Covers.Back);
  WriteTextOrNull(json, QLatin1StringView("Cd"), extras.Covers.Cd);
  json.EndObject();
  json.EndObject();
}

void WriteLogTrack(JsonWriter& json, const RipLogTrack& track, const LogTrackMatch* match) {
  json.BeginObject();
  json.Key(QLatin1StringView("Number"));
  json.Integer(track.Number);
  WriteTextOrNull(json, QLatin1StringView("CopyCrc"), track.CopyCrc);
  WriteTextOrNull(json, QLatin1StringView("TestCrc"), track.TestCrc);
  WriteText(json, QLatin1StringView("AccurateRip"), track.AccurateRip);
  WriteTextOrNull(json, QLatin1StringView("AudioCrc"), match ? match->AudioCrc : QString());
  json.Key(QLatin1StringView("CrcMatch"));
  if (match && match->CrcMatch)
    json.Bool(*match->CrcMatch);
  else
    json.Null();
  WriteTextOrNull(json, QLatin1StringView("ArV1"), match ? match->ArV1 : QString());
  WriteTextOrNull(json, QLatin1StringView("ArV2"), match ? match->ArV2 : QString());
  json.EndObject();
}

void WriteLogs(JsonWriter& json, const ReportExtras& extras) {
  json.BeginArray();
  for (size_t i = 0; i < extras.Logs.size(); ++i) {
    const FolderLog& folderLog = extras.Logs[i];
    const RipLog& log = folderLog.Log;
    const LogMatch* match = i < extras.CheckedLogs.size() ? &extras.CheckedLogs[i].Match : nullptr;
    json.BeginObject();
    WriteText(json, QLatin1StringView("File"), folderLog.File);
    WriteText(json, QLatin1StringView("Program"), log.Program);
    WriteText(json, QLatin1StringView("Version"), log.Version);
    WriteText(json, QLatin1StringView("Drive"), log.Drive);
    WriteText(json, QLatin1StringView("ReadMode"), log.ReadMode);
    json.Key(QLatin1StringView("Tracks"));
    json.BeginArray();
    for (size_t t = 0; t < log.Tracks.size(); ++t) {
      const LogTrackMatch* trackMatch =
          match && t < match->Tracks.size() ? &match->Tracks[t] : nullptr;
      WriteLogTrack(json, log.Tracks[t], trackMatch);
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
}

void WriteScan(JsonWriter& json, const ScanState& scan) {
  json.BeginObject();
  WriteText(json, QLatin1StringView("FolderPath"), scan.FolderPath);
  json.Key(QLatin1StringView("FormatCounts"));
  json.BeginObject();
  for (const FormatInfo& format : AudioFormats()) {
    json.Key(FormatKey(format.Id));
    json.Integer(scan.FormatCounts[FormatIndex(format.Id)]);
  }
  json.EndObject();
  WriteText(json, QLatin1StringView("DominantExtension"), scan.DominantExtension);
  json.Key(QLatin1StringView("TrackList"));
  WriteStringList(json, scan.TrackList);
  json.Key(QLatin1StringView("Discs"));
  WriteStringList(json, scan.Discs);
  json.Key(QLatin1StringView("LeftOut"));
  WriteLeftOut(json, scan.LeftOut);
  json.Key(QLatin1StringView("Extras"));
  WriteExtras(json, scan.Extras);
  json.EndObject();
}

void WriteOptionalNumber(JsonWriter& json, QLatin1StringView key, const auto& value) {
  json.Key(key);
  if (value.has_value())
    json.Number(static_cast<double>(*value));
  else
    json.Null();
}

void WriteStream(JsonWriter& json, const StreamValues& stream) {
  json.BeginObject();
  json.Key(QLatin1StringView("Valid"));
  json.Bool(stream.Valid);
  json.Key(QLatin1StringView("Duration"));
  json.Number(stream.Duration);
  json.Key(QLatin1StringView("SampleRate"));
  json.Integer(stream.SampleRate);
  json.Key(QLatin1StringView("FileSize"));
  json.Integer(stream.FileSize);
  WriteOptionalNumber(json, QLatin1StringView("BitRate"), stream.BitRate);
  WriteOptionalNumber(json, QLatin1StringView("Ratio"), stream.Ratio);
  WriteText(json, QLatin1StringView("Codec"), stream.Codec);
  json.Key(QLatin1StringView("Channels"));
  json.Integer(stream.Channels);
  WriteOptionalNumber(json, QLatin1StringView("BitsPerSample"), stream.BitsPerSample);
  json.Key(QLatin1StringView("Lossless"));
  json.Bool(stream.Lossless);
  json.EndObject();
}

void WriteTrack(JsonWriter& json, const TrackRecord& row) {
  json.BeginObject();
  WriteText(json, QLatin1StringView("FilePath"), row.FilePath);
  WriteText(json, QLatin1StringView("FileName"), row.FileName);
  WriteText(json, QLatin1StringView("Disc"), row.Disc);
  WriteText(json, QLatin1StringView("Artist"), row.Artist);
  WriteText(json, QLatin1StringView("Title"), row.Title);
  WriteText(json, QLatin1StringView("Album"), row.Album);
  WriteText(json, QLatin1StringView("SizeText"), row.SizeText);
  WriteText(json, QLatin1StringView("DurationText"), row.DurationText);
  WriteText(json, QLatin1StringView("DurationSecondsText"), row.DurationSecondsText);
  WriteText(json, QLatin1StringView("BitrateText"), row.BitrateText);
  WriteText(json, QLatin1StringView("ChecksumText"), row.ChecksumText);
  json.Key(QLatin1StringView("Stream"));
  WriteStream(json, row.Stream);
  json.EndObject();
}

void WriteFields(JsonWriter& json, const QList<NamedField>& fields) {
  json.BeginObject();
  for (const NamedField& field : fields) {
    json.Key(field.Name);
    std::visit(Overloaded{
                   [&](QString* text) { json.String(*text); },
                   [&](bool* flag) { json.Bool(*flag); },
                   [&](QDate* date) { json.String(date->toString(Qt::ISODate)); },
                   [&](QStringList* list) { WriteStringList(json, *list); },
               },
               field.Ref);
  }
  json.EndObject();
}

void WriteRun(JsonWriter& json, const Release& model, const ReportExtras& extras) {
  json.BeginObject();
  WriteText(json, QLatin1StringView("ProgramDir"), model.Run.ProgramDir);
  WriteText(json, QLatin1StringView("StartTimeText"), model.Run.StartTimeText);
  WriteText(json, QLatin1StringView("OutputBaseName"), model.Run.OutputBaseName);
  WriteText(json, QLatin1StringView("OutputFolder"), extras.OutputFolder);
  json.Key(QLatin1StringView("TrackCount"));
  json.Integer(model.Scan.TrackCount);
  json.EndObject();
}

// dB, LU and LUFS to two decimals, as the report promises.
void WriteRounded(JsonWriter& json, QLatin1StringView key, double value) {
  json.Key(key);
  json.Number(std::round(value * 100.0) / 100.0);
}

void WriteTrackAudio(JsonWriter& json, const std::optional<AudioFigures>& figures) {
  if (!figures) {
    json.Null();
    return;
  }
  json.BeginObject();
  json.Key(QLatin1StringView("DR"));
  json.Integer(figures->Dr);
  WriteRounded(json, QLatin1StringView("Peak"), figures->Peak);
  WriteRounded(json, QLatin1StringView("Rms"), figures->Rms);
  WriteRounded(json, QLatin1StringView("Loudness"), figures->Loudness);
  WriteRounded(json, QLatin1StringView("LoudnessRange"), figures->LoudnessRange);
  WriteRounded(json, QLatin1StringView("TruePeak"), figures->TruePeak);
  WriteRounded(json, QLatin1StringView("TrackGain"), figures->TrackGain);
  json.Key(QLatin1StringView("TrackPeak"));
  json.Number(figures->TrackPeak);
  json.Key(QLatin1StringView("Cutoff"));
  json.Integer(std::llround(figures->Cutoff));
  json.Key(QLatin1StringView("LossySource"));
  json.Bool(figures->LossySource);
  json.Key(QLatin1StringView("Upsampled"));
  json.Bool(figures->Upsampled);
  json.EndObject();
}

void WriteAudio(JsonWriter& json, const ReleaseAudio& audio) {
  json.BeginObject();
  json.Key(QLatin1StringView("tracks"));
  json.BeginArray();
  for (const std::optional<AudioFigures>& figures : audio.Tracks)
    WriteTrackAudio(json, figures);
  json.EndArray();
  json.Key(QLatin1StringView("album"));
  json.BeginObject();
  json.Key(QLatin1StringView("DR"));
  json.Integer(audio.Album.Dr);
  WriteRounded(json, QLatin1StringView("Loudness"), audio.Album.Loudness);
  WriteRounded(json, QLatin1StringView("AlbumGain"), audio.Album.AlbumGain);
  json.Key(QLatin1StringView("AlbumPeak"));
  json.Number(audio.Album.AlbumPeak);
  json.EndObject();
  json.EndObject();
}

}  // namespace

QByteArray ReleaseToJson(const ReleaseSession& session) {
  return ReleaseToJson(session.State(), {session.OutputFolder(), session.Warnings(), session.Logs(),
                                         session.CheckedLogs()});
}

QByteArray ReleaseToJson(const Release& release, const ReportExtras& extras) {
  // The field tables hand out references for setting too; the report works on a copy.
  Release model = release;
  JsonWriter json;
  json.BeginObject();
  json.Key(QLatin1StringView("scan"));
  WriteScan(json, model.Scan);
  json.Key(QLatin1StringView("tracks"));
  json.BeginArray();
  for (const TrackRecord& row : model.Tracks)
    WriteTrack(json, row);
  json.EndArray();
  json.Key(QLatin1StringView("summary"));
  WriteFields(json, SummaryFields(model.Summary));
  json.Key(QLatin1StringView("info"));
  WriteFields(json, InfoFields(model.Info));
  json.Key(QLatin1StringView("run"));
  WriteRun(json, model, extras);
  json.Key(QLatin1StringView("warnings"));
  WriteStringList(json, extras.Warnings);
  // Only a run with the audio pass reports its figures.
  if (model.Audio.Done) {
    json.Key(QLatin1StringView("audio"));
    WriteAudio(json, model.Audio);
  }
  if (!extras.Logs.empty()) {
    json.Key(QLatin1StringView("logs"));
    WriteLogs(json, extras);
  }
  json.EndObject();
  return json.Finish();
}
